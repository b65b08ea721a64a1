// Modules and their resources.
//
// A library is a Windows PE file (PE32 or PE32+) read into memory as a data
// module: its resources can be read, its code never runs. Paths are in
// Windows form (code page 1252, "\" or "/"); a relative path is relative to
// the current directory, and no search path is tried. Loading the file that
// is already loaded answers the same handle and counts one more reference;
// FreeLibrary drops one and frees the copy with the last. A file replaced
// or rewritten since it was loaded (another inode, size or modification
// time) loads as a new module, checked afresh; the old handle stays valid for
// its holders. A module holds its own copy of the file's bytes, read at load
// time, so a file changed, cut short or removed while loaded never reaches
// it, as Windows' refusal to write a loaded library guarantees there.
//
// The program's own module (GetModuleHandleA(NULL), or a null module handle
// in the resource functions) holds the resources embedded into the program
// at build time with quill_embed_resources (cmake/Quill.cmake); without
// them it has none and lookups fail with ERROR_RESOURCE_DATA_NOT_FOUND.
//
// Failures answer NULL, FALSE or 0 and set the last error:
//   LoadLibraryA     ERROR_MOD_NOT_FOUND (no such file), ERROR_ACCESS_DENIED
//                    (not readable, or a directory), ERROR_BAD_EXE_FORMAT (not
//                    a PE image, or its headers are damaged),
//                    ERROR_NOT_ENOUGH_MEMORY (the copy failed for lack of
//                    memory), ERROR_TOO_MANY_OPEN_FILES,
//                    ERROR_FILENAME_EXCED_RANGE (a name too long),
//                    ERROR_SHARING_VIOLATION (another holds a lease on the
//                    file, as a file share's oplock)
//   FindResourceA    ERROR_RESOURCE_DATA_NOT_FOUND, ERROR_RESOURCE_TYPE_NOT_FOUND,
//                    ERROR_RESOURCE_NAME_NOT_FOUND; damaged parts of the resource
//                    tree count as missing
//   unknown handles  ERROR_INVALID_HANDLE
// All functions may be called from any thread; freeing a module while
// another thread still reads its resources is the caller's error, as on
// Windows.
#pragma once

#include "platform/core/types.h"

// An integer resource id in the place of a name: the low 16 bits of id.
inline LPSTR MAKEINTRESOURCEA(ULONG_PTR id) { return reinterpret_cast<LPSTR>(id & 0xFFFF); }
inline bool IS_INTRESOURCE(LPCSTR name) { return (reinterpret_cast<ULONG_PTR>(name) >> 16) == 0; }

#define RT_CURSOR MAKEINTRESOURCEA(1)
#define RT_BITMAP MAKEINTRESOURCEA(2)
#define RT_ICON MAKEINTRESOURCEA(3)
#define RT_MENU MAKEINTRESOURCEA(4)
#define RT_DIALOG MAKEINTRESOURCEA(5)
#define RT_STRING MAKEINTRESOURCEA(6)
#define RT_RCDATA MAKEINTRESOURCEA(10)
#define RT_VERSION MAKEINTRESOURCEA(16)

HMODULE LoadLibraryA(LPCSTR fileName);
BOOL FreeLibrary(HMODULE module);
// Only the program's own module is served: a name answers NULL with
// ERROR_MOD_NOT_FOUND.
HMODULE GetModuleHandleA(LPCSTR moduleName);

// name and type are integer ids (MAKEINTRESOURCEA, RT_*), "#123" for id 123,
// or names compared without regard to case. Of several languages the first
// one in the file is taken.
HRSRC FindResourceA(HMODULE module, LPCSTR name, LPCSTR type);
// Answers a pointer to the resource's bytes inside the module (read-only,
// valid while the module stays loaded); LockResource answers it unchanged.
HGLOBAL LoadResource(HMODULE module, HRSRC resource);
LPVOID LockResource(HGLOBAL resourceData);
DWORD SizeofResource(HMODULE module, HRSRC resource);

// Copies string id of the module's string tables, in code page 1252, into
// buffer: at most bufferMax - 1 characters and a terminator. Answers the
// number of characters copied; 0 when the string is missing or empty.
int LoadStringA(HINSTANCE instance, UINT id, LPSTR buffer, int bufferMax);
