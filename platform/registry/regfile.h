// The registry file: Windows' .reg export format, read and written.
//
// The text is UTF-16LE when it begins with the byte-order mark FF FE, else
// 8-bit text in code page 1252; lines end in LF or CRLF, and blanks at
// either end of a line do not count. The first line that is not blank is
// "Windows Registry Editor Version 5.00" or "REGEDIT4". Then come, among
// blank lines and comments (";" first):
//
//   [path]            the key that the values below it belong to
//   [-path]           removes that key and every key below it
//   "name"=data       a value of the current key; @=data is its default value
//
// A path is a root key's full name and names, joined by "\". data is one of
//
//   "text"            REG_SZ; \\ and \" stand for \ and ", as in names
//   dword:00c0ffee    REG_DWORD: one to eight hex digits
//   hex:01,ff,...     REG_BINARY: bytes as hex; a line ending in "\" goes on
//                     in the next one
//   hex(t):01,...     the same, of type t (hex)
//   -                 removes the value
//
// In a REGEDIT4 file the bytes of string types (hex(1), hex(2), hex(7)) are
// 8-bit text, as that version writes them; like every string they are kept
// as UTF-16LE.
//
// Reading never fails. What is not sound is skipped and counted: a line
// that is neither blank, comment, key nor value; a value whose name or data
// is not as above (with the lines it goes on into); a value outside a key
// (before the first key, or after a key line that is not sound). A missing
// first line is counted too, but the line in its place is read. Values
// after a removed key are skipped silently, as regedit skips them.
#pragma once

#include <cstddef>
#include <string>

#include "platform/core/types.h"
#include "platform/registry/registrytree.h"

namespace platform::registry {

struct ReadResult {
    Tree tree;
    std::size_t unsoundLines = 0;
    std::size_t firstUnsoundLine = 0;  // counted from 1; 0 when all is sound
    std::string firstProblem;          // what is wrong with it, in English
};

ReadResult readRegFile(const BYTE* bytes, std::size_t size);

// The tree as regedit writes it: UTF-16LE with a byte-order mark, CRLF, a
// blank line before each key; every key but roots without values, a key
// before those below it. A string that reads back as it is (one terminator,
// at its end, and no line break) is written as text, any other data as hex,
// wrapped as regedit wraps it. readRegFile reads the result back into an
// equal tree, as long as no name holds a line break.
std::string writeRegFile(const Tree& tree);

}  // namespace platform::registry
