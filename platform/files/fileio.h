// C runtime file opening with Windows paths.
//
// Names keep their Windows form above the layer ("logs\log.txt"); the layer
// turns them into host paths before it opens anything.
#pragma once

#include <cstdio>

constexpr int _SH_DENYNO = 0x40;

// Opens like fopen; other processes may read and write the file meanwhile
// (the only share mode served). The layer remembers whether the mode asked
// for binary ("b") or text, which fgetws reads differently.
std::FILE* _fsopen(const char* fileName, const char* mode, int shareFlag);

namespace platform {
// Whether the stream was opened by _fsopen in binary mode; false for any
// other stream.
bool isBinaryStream(std::FILE* stream);
}  // namespace platform
