// The registry: keys and values read from one text file in Windows' .reg
// export format.
//
// The file is named by the environment variable QUILLORY_REGISTRY (a host
// path), else $XDG_CONFIG_HOME/quillory/registry.reg, else
// ~/.config/quillory/registry.reg. It is read afresh by every call, so a
// change by another program shows at once. It may be UTF-16LE with a
// byte-order mark, as regedit writes it, or 8-bit text in code page 1252;
// lines end in CRLF or LF. A missing file is an empty registry. A file that
// is not sound is reported once on standard error, naming the file and the
// first line that is not sound, and is read without the lines that are not.
//
// Key and value names compare without regard to case. Key paths are names
// joined by "\"; one trailing "\" is allowed, an empty name is not (such a
// path is not found). The roots served are HKEY_CURRENT_USER,
// HKEY_LOCAL_MACHINE and HKEY_USERS, which always exist. Access rights are
// kept with each handle and checked by each call, as Windows does.
//
// Results are Win32 error codes (ERROR_SUCCESS = 0); the last error is left
// alone, as Windows leaves it.
#pragma once

#include "platform/core/types.h"

QUILL_DECLARE_HANDLE(HKEY);
using PHKEY = HKEY*;
using REGSAM = DWORD;
using LSTATUS = LONG;

// The predefined keys: fixed handle values that never need opening or
// closing.
#define QUILL_PREDEFINED_KEY(value) \
    (reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(static_cast<LONG>(value))))
#define HKEY_CURRENT_USER QUILL_PREDEFINED_KEY(0x80000001u)
#define HKEY_LOCAL_MACHINE QUILL_PREDEFINED_KEY(0x80000002u)
#define HKEY_USERS QUILL_PREDEFINED_KEY(0x80000003u)

// Value types.
constexpr DWORD REG_NONE = 0;
constexpr DWORD REG_SZ = 1;
constexpr DWORD REG_EXPAND_SZ = 2;
constexpr DWORD REG_BINARY = 3;
constexpr DWORD REG_DWORD = 4;
constexpr DWORD REG_MULTI_SZ = 7;
constexpr DWORD REG_QWORD = 11;

// Access rights of a key handle; GENERIC_READ and GENERIC_WRITE (files/
// file.h) stand for KEY_READ and KEY_WRITE.
constexpr REGSAM KEY_QUERY_VALUE = 0x0001;
constexpr REGSAM KEY_SET_VALUE = 0x0002;
constexpr REGSAM KEY_CREATE_SUB_KEY = 0x0004;
constexpr REGSAM KEY_ENUMERATE_SUB_KEYS = 0x0008;
constexpr REGSAM KEY_NOTIFY = 0x0010;
constexpr REGSAM KEY_CREATE_LINK = 0x0020;
constexpr REGSAM KEY_WOW64_64KEY = 0x0100;
constexpr REGSAM KEY_WOW64_32KEY = 0x0200;
constexpr REGSAM KEY_READ = 0x20019;
constexpr REGSAM KEY_WRITE = 0x20006;
constexpr REGSAM KEY_EXECUTE = KEY_READ;
constexpr REGSAM KEY_ALL_ACCESS = 0xF003F;

// Results beside those of core/types.h.
constexpr DWORD ERROR_MORE_DATA = 234;
constexpr DWORD ERROR_KEY_DELETED = 1018;

// Opens subKey (null or "" for a new handle to key itself) below key, an
// open or predefined key. Answers ERROR_FILE_NOT_FOUND for a missing key,
// ERROR_INVALID_HANDLE for a key that is neither, ERROR_INVALID_PARAMETER
// for a null result; on failure *result is set to null. options are not
// used.
LSTATUS RegOpenKeyExA(HKEY key, LPCSTR subKey, DWORD options, REGSAM access, PHKEY result);

// Reads value valueName (null or "" for the key's default value) of key,
// which must have been opened with KEY_QUERY_VALUE. String values (REG_SZ,
// REG_EXPAND_SZ, REG_MULTI_SZ) come in code page 1252, with exactly the
// terminators they were stored with: a string stored without its zero comes
// without it. type, when given, receives the value's type. With data null,
// *size receives the number of bytes the value needs; with data, *size is
// the room in data and receives the number of bytes the value holds. Answers
// ERROR_MORE_DATA when they do not fit (data then holds nothing useful),
// ERROR_FILE_NOT_FOUND for a missing value, ERROR_KEY_DELETED when the key
// has left the file since it was opened, ERROR_ACCESS_DENIED,
// ERROR_INVALID_HANDLE, and ERROR_INVALID_PARAMETER for a reserved pointer
// that is not null or data without size.
LSTATUS RegQueryValueExA(HKEY key, LPCSTR valueName, LPDWORD reserved, LPDWORD type,
                         LPBYTE data, LPDWORD size);

// Closes a key handle; closing a predefined key does nothing. Answers
// ERROR_INVALID_HANDLE for a handle that is not open.
LSTATUS RegCloseKey(HKEY key);
