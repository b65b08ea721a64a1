// C runtime file opening with Windows paths.
//
// Names keep their Windows form above the layer ("logs\log.txt"); the layer
// turns them into host paths before it opens anything.
#pragma once

#include <cstdio>

constexpr int _SH_DENYNO = 0x40;

// Opens like fopen; other processes may read and write the file meanwhile
// (the only share mode served). Opening never waits, and a folder, a named
// pipe or a socket is refused with EACCES, as Windows refuses a folder. The
// layer remembers whether the mode asked for binary ("b") or text, which
// fgetws reads differently, until the stream is closed.
std::FILE* _fsopen(const char* fileName, const char* mode, int shareFlag);

namespace platform {
// Whether the stream was opened by _fsopen in binary mode and is not closed
// yet; false for any other stream, which is text.
bool isBinaryStream(std::FILE* stream);
}  // namespace platform
