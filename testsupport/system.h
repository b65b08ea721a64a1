// What test programs need of the operating system beyond the C++ library,
// for Linux and for Windows alike: environment variables, the process id,
// and the line end a text-mode stream writes.
#pragma once

#include <cstdlib>
#include <string>

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

}  // namespace testsupport
