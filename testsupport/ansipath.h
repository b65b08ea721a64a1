// Paths as the narrow Windows functions read them.
#pragma once

#include <string>

#include "platform/win32.h"

namespace testsupport {

// The text of the code page as wide characters, and wide characters in the
// code page, as MultiByteToWideChar and WideCharToMultiByte convert them.
inline std::wstring widened(UINT codePage, const std::string& text) {
    const int size = MultiByteToWideChar(codePage, 0, text.c_str(), -1, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(codePage, 0, text.c_str(), -1, wide.data(), size);
    return wide.c_str();  // the sizes count the NUL
}

inline std::string narrowed(UINT codePage, const std::wstring& wide) {
    const int size =
        WideCharToMultiByte(codePage, 0, wide.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(codePage, 0, wide.c_str(), -1, text.data(), size, nullptr, nullptr);
    return text.c_str();
}

// The path in the ANSI code page, as a Java string or a registry value
// reaches LoadLibraryA, CreateFileA and the other narrow functions. The build
// and the scratch folders name their files in UTF-8; handed on as they are,
// the bytes of a letter outside ASCII would be read as other letters and
// name another file. Host file access (std::ifstream, std::filesystem) keeps
// the UTF-8 path.
inline std::string ansiPath(const std::string& utf8) {
    return narrowed(CP_ACP, widened(CP_UTF8, utf8));
}

// The first character of the UTF-8 text that the ANSI code page lacks (a
// byte that is no UTF-8 on its own), as the text has it; empty when ansiPath
// keeps every character. A path with such a character cannot be named to
// the narrow functions at all: its ANSI form names another file.
inline std::string firstCharacterAnsiLacks(const std::string& utf8) {
    for (std::size_t start = 0; start < utf8.size();) {
        std::size_t end = start + 1;
        while (end < utf8.size() && (static_cast<unsigned char>(utf8[end]) & 0xC0) == 0x80) ++end;
        const std::string character = utf8.substr(start, end - start);
        if (widened(CP_ACP, ansiPath(character)) != widened(CP_UTF8, character)) return character;
        start = end;
    }
    return {};
}

}  // namespace testsupport
