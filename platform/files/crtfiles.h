// C runtime file services with their Windows meaning: file search, access
// tests, path splitting, file status, removal and wide line reading.
//
// Paths are in Windows form, as everywhere above the layer. remove and
// fgetws keep their standard names and declarations; within our programs and
// libraries they are ours (hidden, so the C library's own stay what they are
// for the rest of the process).
#pragma once

#include <cstdint>
#include <cstdio>
#include <cwchar>

#include "platform/core/types.h"

// File attributes of a search entry.
constexpr unsigned _A_NORMAL = 0x00;
constexpr unsigned _A_RDONLY = 0x01;
constexpr unsigned _A_HIDDEN = 0x02;
constexpr unsigned _A_SUBDIR = 0x10;

struct _finddata_t {
    unsigned attrib;
    std::int64_t time_create;
    std::int64_t time_access;
    std::int64_t time_write;
    std::uint32_t size;
    char name[260];
};

// Entries of one directory whose names match the pattern's last part, "*"
// and "?" as Windows matches them, without regard to case ("*.*" is every
// name, a final "." a name without extension). Entries come in name order,
// "." and ".." first, as NTFS gives them. A name the ANSI code page cannot
// hold is given with '?' in its place. _findfirst answers -1 with errno
// ENOENT when nothing matches, _findnext -1 at the end.
std::intptr_t _findfirst(const char* pattern, _finddata_t* entry);
int _findnext(std::intptr_t handle, _finddata_t* entry);
int _findclose(std::intptr_t handle);

// Mode 0 existence, 2 writing, 4 reading, 6 both; 0 when allowed, else -1
// with errno.
int _access(const char* path, int mode);

// Splits "D:\x\y.txt" into "D:", "\x\", "y", ".txt". Each part that is not
// null receives at most as many characters as the path holds, plus a NUL.
void _splitpath(const char* path, char* drive, char* directory, char* name, char* extension);

constexpr unsigned short _S_IFMT = 0xF000;
constexpr unsigned short _S_IFDIR = 0x4000;
constexpr unsigned short _S_IFREG = 0x8000;

struct _stat {
    unsigned short st_mode;
    std::int32_t st_size;
};
// 0 and the file's status, or -1 with errno (EOVERFLOW for a file of 2 GB and
// more, whose size does not fit). The function shares its name with the
// record, as in C.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wshadow"
int _stat(const char* path, struct _stat* status);
#pragma GCC diagnostic pop

extern "C" {
// Removes a file (not a directory); 0 or -1 with errno.
int remove(const char* path) noexcept;
// Reads up to and including the next line feed, at most count - 1
// characters; null when nothing was read. From a stream in text mode it
// reads text in the ANSI code page and drops a carriage return right before
// the line feed; from one _fsopen opened in binary mode it reads UTF-16LE
// units as they are (a last odd byte is not a character).
wchar_t* fgetws(wchar_t* buffer, int count, std::FILE* stream);
}

// CSIDL_DESKTOPDIRECTORY: the user's desktop directory, as the XDG user
// directories name it ($HOME/Desktop otherwise).
constexpr int CSIDL_DESKTOPDIRECTORY = 0x0010;

// Fills path (MAX_PATH characters) with a special folder of the user; only
// CSIDL_DESKTOPDIRECTORY is served. Nothing is created. FALSE when the folder
// is not known or its name does not fit.
BOOL SHGetSpecialFolderPathA(HWND owner, LPSTR path, int folder, BOOL create);
