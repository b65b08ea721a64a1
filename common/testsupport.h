// What test programs need of the operating system beyond the C++ library,
// for Linux and for Windows alike: environment variables, fresh temporary
// directories and files, the process id, the line end a text-mode stream
// writes, and the build's paths as the narrow Windows functions read them.
// Only test programs include it.
#pragma once

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/win32.h"

#ifdef _WIN32
#include <process.h>
#else
#include <unistd.h>
#endif

namespace testsupport {

inline void setEnv(const char* name, const char* value) {
#ifdef _WIN32
    _putenv_s(name, value);
#else
    setenv(name, value, 1);
#endif
}

inline void unsetEnv(const char* name) {
#ifdef _WIN32
    _putenv_s(name, "");  // an empty value removes the variable
#else
    unsetenv(name);
#endif
}

inline int processId() {
#ifdef _WIN32
    return _getpid();
#else
    return static_cast<int>(getpid());
#endif
}

// A name in the temporary directory that begins with prefix and is not
// taken. One way for both systems: the Windows runtime has no mkdtemp, and
// the process id keeps test programs that run side by side apart.
inline std::filesystem::path freshTempName(const std::string& prefix) {
    namespace fs = std::filesystem;
    static std::atomic<unsigned> counter = 0;
    fs::path candidate;
    do {
        candidate = fs::temp_directory_path() /
                    (prefix + std::to_string(processId()) + "-" + std::to_string(++counter));
    } while (fs::exists(candidate));
    return candidate;
}

// A new, empty directory in the temporary directory whose name begins with
// prefix; empty when none could be made.
inline std::filesystem::path makeTempDirectory(const std::string& prefix) {
    std::error_code error;
    const std::filesystem::path path = freshTempName(prefix);
    return std::filesystem::create_directory(path, error) ? path : std::filesystem::path();
}

// A new, empty file in the temporary directory whose name begins with
// prefix; empty when none could be made.
inline std::string makeTempFile(const std::string& prefix) {
    const std::string path = freshTempName(prefix).string();
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) return {};
    std::fclose(file);
    return path;
}

// The text as a stream opened in text mode writes it: on Windows the C
// runtime writes "\r\n" for each "\n".
inline std::string textModeBytes(std::string text) {
#ifdef _WIN32
    for (std::size_t at = text.find('\n'); at != std::string::npos; at = text.find('\n', at + 2)) {
        text.insert(at, 1, '\r');
    }
#endif
    return text;
}

// The path in the ANSI code page, as a Java string or a registry value
// reaches LoadLibraryA, CreateFileA and the other narrow functions. The build
// names its files in UTF-8; handed on as they are, the bytes of a letter
// outside ASCII would be read as other letters and name another file. Host
// file access (std::ifstream, std::filesystem) keeps the UTF-8 path.
inline std::string ansiPath(const std::string& utf8) {
    const int wideSize = MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(wideSize), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, wide.data(), wideSize);
    const int size = WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string ansi(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, ansi.data(), size, nullptr, nullptr);
    return ansi.c_str();  // the sizes above count the NUL
}

}  // namespace testsupport
