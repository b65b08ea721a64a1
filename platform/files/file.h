// Opening files by handle, as far as the system reads whole files: an
// existing file opened for reading, its size, its bytes and what identifies
// it. The file's handle is a kernel handle, closed with CloseHandle.
//
// Opening for writing and the other ways of creation are not served: they
// answer INVALID_HANDLE_VALUE with ERROR_INVALID_PARAMETER.
#pragma once

#include "platform/core/handle.h"
#include "platform/core/types.h"

// Access rights.
constexpr DWORD GENERIC_READ = 0x80000000;
constexpr DWORD GENERIC_WRITE = 0x40000000;
// Share modes. Other programs may always read and write the file meanwhile.
constexpr DWORD FILE_SHARE_READ = 0x00000001;
constexpr DWORD FILE_SHARE_WRITE = 0x00000002;
constexpr DWORD FILE_SHARE_DELETE = 0x00000004;
// Creation dispositions.
constexpr DWORD CREATE_NEW = 1;
constexpr DWORD CREATE_ALWAYS = 2;
constexpr DWORD OPEN_EXISTING = 3;
constexpr DWORD OPEN_ALWAYS = 4;
constexpr DWORD TRUNCATE_EXISTING = 5;
// Attributes and flags; attributes mean nothing when a file is opened.
constexpr DWORD FILE_ATTRIBUTE_READONLY = 0x00000001;
constexpr DWORD FILE_ATTRIBUTE_DIRECTORY = 0x00000010;
constexpr DWORD FILE_ATTRIBUTE_NORMAL = 0x00000080;
constexpr DWORD FILE_FLAG_BACKUP_SEMANTICS = 0x02000000;
constexpr DWORD FILE_FLAG_SEQUENTIAL_SCAN = 0x08000000;

constexpr DWORD INVALID_FILE_SIZE = 0xFFFFFFFF;

constexpr DWORD ERROR_READ_FAULT = 30;

// Overlapped reads are not served; the record is only named.
struct OVERLAPPED;
using LPOVERLAPPED = OVERLAPPED*;

// The name is a Windows path in code page 1252. A missing file answers
// ERROR_FILE_NOT_FOUND, a missing folder on the way ERROR_PATH_NOT_FOUND,
// an unreadable file, a named pipe, a socket or a folder (unless flags hold
// FILE_FLAG_BACKUP_SEMANTICS) ERROR_ACCESS_DENIED, a file another holds a
// lease on (as a file share's oplock) ERROR_SHARING_VIOLATION; opening never
// waits. The security attributes and the template are ignored.
HANDLE CreateFileA(LPCSTR fileName, DWORD access, DWORD shareMode,
                   LPSECURITY_ATTRIBUTES security, DWORD creation, DWORD flags,
                   HANDLE templateFile);

// The size's low 32 bits; the high ones in *high when high is not null.
// INVALID_FILE_SIZE with the last error on failure (and, as on Windows,
// also for a size whose low half is 0xFFFFFFFF, with ERROR_SUCCESS).
DWORD GetFileSize(HANDLE file, LPDWORD high);

struct BY_HANDLE_FILE_INFORMATION {
    DWORD dwFileAttributes;
    FILETIME ftCreationTime;
    FILETIME ftLastAccessTime;
    FILETIME ftLastWriteTime;
    DWORD dwVolumeSerialNumber;
    DWORD nFileSizeHigh;
    DWORD nFileSizeLow;
    DWORD nNumberOfLinks;
    DWORD nFileIndexHigh;
    DWORD nFileIndexLow;
};
using LPBY_HANDLE_FILE_INFORMATION = BY_HANDLE_FILE_INFORMATION*;

// The file's attributes, times, size and links; its volume serial number
// and index (the host's device and inode) together tell it from every other
// file, however it was named. The time of creation is that of the last
// change of its status, which the host keeps instead.
BOOL GetFileInformationByHandle(HANDLE file, LPBY_HANDLE_FILE_INFORMATION information);

// Reads from a file (or any readable kernel object) at its position: a
// file gives the whole count unless its end comes first. *done is set to 0
// before anything else; done must not be null, overlapped must be.
BOOL ReadFile(HANDLE file, LPVOID buffer, DWORD size, LPDWORD done, LPOVERLAPPED overlapped);
