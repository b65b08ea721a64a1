// The registry's text as ANSI callers see it: names and string data in
// code page 1252 outside, UTF-16 inside. A character the page lacks comes
// out as its best-fit letter or "?"; an odd last byte of string data is
// dropped, as half a character.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "platform/registry/registrytree.h"

namespace platform::registry {

std::u16string fromAnsi(LPCSTR text);  // null is ""
std::string toAnsi(std::u16string_view text);

inline bool isStringType(DWORD type) {
    return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ;
}

// The bytes of a value as an ANSI caller reads them, and as it stores them
// (size bytes of data, terminators as given).
std::string ansiData(const Value& value);
std::vector<BYTE> storedData(DWORD type, const BYTE* data, std::size_t size);

// A Win32 code as registry functions answer it.
inline LSTATUS status(DWORD code) { return static_cast<LSTATUS>(code); }

// Hands bytes out by Windows' rules: with size null nothing; with data
// null *size receives the size needed; else *size is the room in data and
// receives the size, ERROR_MORE_DATA when it exceeds the room.
LSTATUS copyOut(const std::string& bytes, LPBYTE data, LPDWORD size);

}  // namespace platform::registry
