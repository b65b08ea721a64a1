// A file read whole into memory, for the file loaders of CDirectSound.
#pragma once

#include "platform/win32.h"

// Opens a file for reading (others may read it meanwhile); INVALID_HANDLE_VALUE
// when it does not open.
HANDLE openForReading(const char* fileName);

// The bytes of a module's resource (null module: the program's own) and
// their count; null when it is missing or does not load.
const BYTE* lockResourceImage(HMODULE module, LPCSTR name, LPCSTR type, DWORD* size);

// Reads the whole open file into a new block from malloc and closes it.
// Null, with the file closed, when its size cannot be had, the block cannot
// be allocated or the file does not read whole.
BYTE* readFileImage(HANDLE file, DWORD* size);
