// The build's paths as the narrow Windows functions read them.
#pragma once

#include <string>

#include "platform/win32.h"

namespace testsupport {

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
