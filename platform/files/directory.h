// The current directory.
//
// GetCurrentDirectoryA answers the host's current directory in host form
// ("/home/anna/quillory", separated by "/"), converted to code page 1252.
// Paths built from it with "\" ("/home/anna/quillory\bin\English") name the
// same files, since the layer maps every "\" to "/" at the file system, and
// the programs started through the shell receive host paths, which need no
// mapping at all.
//
// Windows' sizes: when the text and its terminator fit length characters of
// buffer, it is copied and its length without the terminator is answered;
// otherwise (buffer null included) nothing is copied and the size needed,
// terminator included, is answered. 0 with the last error when the
// directory cannot be had (ERROR_FILE_NOT_FOUND: it has been removed;
// ERROR_ACCESS_DENIED: a folder on its way may not be read).
#pragma once

#include "platform/core/types.h"

DWORD GetCurrentDirectoryA(DWORD length, LPSTR buffer);
