// The registry: keys and values kept in one text file in Windows' .reg
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
// joined by "\"; one trailing "\" is allowed, an empty name is not. The
// roots served are HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE and HKEY_USERS,
// which always exist. Access rights are kept with each handle and checked
// by each call, as Windows does.
//
// Changes are written at once, the whole file each time: under an
// exclusive lock (flock) on the file, to a temporary file beside it that is
// renamed over it, so that readers see the old file or the new one, never
// half of one, and writers in several processes lose none of each other's
// changes. The new file is UTF-16LE with a byte-order mark and CRLF, as
// regedit writes it. A file that is not sound, or cannot be read, is left
// as it is: changes to it fail with ERROR_REGISTRY_CORRUPT. Names that hold
// a line break cannot be written (ERROR_INVALID_PARAMETER).
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
constexpr DWORD ERROR_BAD_PATHNAME = 161;
constexpr DWORD ERROR_MORE_DATA = 234;
constexpr DWORD ERROR_NO_MORE_ITEMS = 259;
constexpr DWORD ERROR_REGISTRY_CORRUPT = 1015;
constexpr DWORD ERROR_KEY_DELETED = 1018;
constexpr DWORD ERROR_NO_SYSTEM_RESOURCES = 1450;

constexpr DWORD REG_OPTION_NON_VOLATILE = 0;
constexpr DWORD REG_CREATED_NEW_KEY = 1;
constexpr DWORD REG_OPENED_EXISTING_KEY = 2;

// Opens subKey (null or "" for a new handle to key itself) below key, an
// open or predefined key. Answers ERROR_FILE_NOT_FOUND for a missing key
// (or a path with an empty name), ERROR_INVALID_HANDLE for a key that is
// neither, ERROR_INVALID_PARAMETER for a null result; on failure *result is
// set to null. options are not used.
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
LSTATUS RegQueryValueExA(HKEY key, LPCSTR valueName, LPDWORD reserved, LPDWORD type, LPBYTE data,
                         LPDWORD size);

// Closes a key handle; closing a predefined key does nothing. Answers
// ERROR_INVALID_HANDLE for a handle that is not open.
LSTATUS RegCloseKey(HKEY key);

// Opens subKey below key (which needs KEY_CREATE_SUB_KEY), creating it and
// its missing parents first. subKey "" opens key itself; a null subKey is
// ERROR_INVALID_PARAMETER, an empty name in it ERROR_BAD_PATHNAME.
// disposition, when given, receives REG_CREATED_NEW_KEY or
// REG_OPENED_EXISTING_KEY. Keys have no class, options and security are
// not used. Failures of the write, each leaving the registry as it was:
// ERROR_ACCESS_DENIED, ERROR_DISK_FULL, ERROR_WRITE_FAULT,
// ERROR_REGISTRY_CORRUPT, ERROR_PATH_NOT_FOUND (no home to keep the file
// in), ERROR_NO_SYSTEM_RESOURCES (the file would outgrow the 16 MiB that
// are read, as a Windows registry answers when it cannot grow), and for a
// cause the file services know the code they answer it with (a name too
// long: ERROR_FILENAME_EXCED_RANGE).
LSTATUS RegCreateKeyExA(HKEY key, LPCSTR subKey, DWORD reserved, LPSTR keyClass, DWORD options,
                        REGSAM access, const LPSECURITY_ATTRIBUTES security, PHKEY result,
                        LPDWORD disposition);

// Sets value valueName (null or "" for the default value) of key, which
// needs KEY_SET_VALUE, to size bytes of data. String data (REG_SZ,
// REG_EXPAND_SZ, REG_MULTI_SZ) is code page 1252 and is kept with exactly
// the terminators within size. Fails like RegCreateKeyExA, and with
// ERROR_KEY_DELETED when the key has left the file.
LSTATUS RegSetValueExA(HKEY key, LPCSTR valueName, DWORD reserved, DWORD type, const BYTE* data,
                       DWORD size);

// Counts and longest lengths of a key opened with KEY_QUERY_VALUE: its
// direct subkeys and their longest name, its values, their longest name (in
// characters, without the terminator) and their longest data (in bytes, as
// RegQueryValueExA hands it out). Any pointer may be null. Keys have no
// class (length 0), no security descriptor (size 0) and an unknown last
// write time (0).
LSTATUS RegQueryInfoKeyA(HKEY key, LPSTR keyClass, LPDWORD classLength, LPDWORD reserved,
                         LPDWORD subKeys, LPDWORD longestSubKey, LPDWORD longestClass,
                         LPDWORD values, LPDWORD longestValueName, LPDWORD longestValue,
                         LPDWORD securityDescriptorSize, PFILETIME lastWriteTime);

// The value at index (in the order the values were first set) of a key
// opened with KEY_QUERY_VALUE: its name into name, whose room in
// characters *nameLength gives (ERROR_MORE_DATA when name and terminator do
// not fit; else *nameLength receives the name's length), its type and data
// as RegQueryValueExA hands them out. ERROR_NO_MORE_ITEMS past the last.
LSTATUS RegEnumValueA(HKEY key, DWORD index, LPSTR name, LPDWORD nameLength, LPDWORD reserved,
                      LPDWORD type, LPBYTE data, LPDWORD size);
