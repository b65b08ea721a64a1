// Processes and anonymous pipes.
//
// A started program is a program of this machine: the command line is split
// by Windows' rules (the program name first, as Windows reads it: quoted, or
// up to the first blank), the program is the host form of its name (found on
// PATH when the name has no folder in it), and an argument that is a Windows
// path of an existing file or directory is handed over in host form.
//
// With STARTF_USESTDHANDLES the child's standard output and error go to the
// given pipe ends (standard input to a given pipe's read end, else nowhere);
// otherwise it shares the caller's. The window flags mean nothing here.
//
// Handles of processes, threads and pipe ends are kernel handles, closed with
// CloseHandle; closing a process's handles does not end it. A process still
// running when its last handle goes is reaped when it ends, never left as a
// zombie.
#pragma once

#include "platform/core/handle.h"
#include "platform/core/types.h"

using PHANDLE = HANDLE*;

constexpr DWORD STARTF_USESHOWWINDOW = 0x00000001;
constexpr DWORD STARTF_USESTDHANDLES = 0x00000100;

struct STARTUPINFOA {
    DWORD cb;
    LPSTR lpReserved;
    LPSTR lpDesktop;
    LPSTR lpTitle;
    DWORD dwX;
    DWORD dwY;
    DWORD dwXSize;
    DWORD dwYSize;
    DWORD dwXCountChars;
    DWORD dwYCountChars;
    DWORD dwFillAttribute;
    DWORD dwFlags;
    WORD wShowWindow;
    WORD cbReserved2;
    LPBYTE lpReserved2;
    HANDLE hStdInput;
    HANDLE hStdOutput;
    HANDLE hStdError;
};
using LPSTARTUPINFOA = STARTUPINFOA*;

struct PROCESS_INFORMATION {
    HANDLE hProcess;
    HANDLE hThread;
    DWORD dwProcessId;
    DWORD dwThreadId;
};
using LPPROCESS_INFORMATION = PROCESS_INFORMATION*;

constexpr DWORD WAIT_OBJECT_0 = 0x00000000;
constexpr DWORD WAIT_ABANDONED = 0x00000080;
constexpr DWORD WAIT_TIMEOUT = 0x00000102;
constexpr DWORD WAIT_FAILED = 0xFFFFFFFF;
constexpr DWORD STILL_ACTIVE = 259;

constexpr DWORD ERROR_BROKEN_PIPE = 109;
constexpr DWORD ERROR_DIRECTORY = 267;

// The size is a hint, as on Windows. ReadFile on the read end blocks until
// data comes, and fails with ERROR_BROKEN_PIPE once every write end is
// closed and the pipe is empty.
BOOL CreatePipe(PHANDLE readEnd, PHANDLE writeEnd, LPSECURITY_ATTRIBUTES attributes, DWORD size);

// How many bytes wait in a pipe, without taking them. Only the counts are
// served: a buffer to copy into is ERROR_INVALID_PARAMETER. An empty pipe
// whose write ends are all closed fails with ERROR_BROKEN_PIPE.
BOOL PeekNamedPipe(HANDLE pipe, LPVOID buffer, DWORD size, LPDWORD read, LPDWORD available,
                   LPDWORD leftOfMessage);

// Failures: ERROR_FILE_NOT_FOUND (no such program, and no such folder on
// its way either: unlike ShellExecuteA's, the missing folder is not told
// apart), ERROR_PATH_NOT_FOUND (a file on the way, a loop of links),
// ERROR_FILENAME_EXCED_RANGE, ERROR_ACCESS_DENIED, ERROR_BAD_EXE_FORMAT,
// ERROR_SHARING_VIOLATION (the program is being written),
// ERROR_TOO_MANY_OPEN_FILES, ERROR_DIRECTORY (the working directory is
// missing), ERROR_NOT_ENOUGH_MEMORY, ERROR_INVALID_PARAMETER.
BOOL CreateProcessA(LPCSTR applicationName, LPSTR commandLine,
                    LPSECURITY_ATTRIBUTES processAttributes,
                    LPSECURITY_ATTRIBUTES threadAttributes, BOOL inheritHandles, DWORD flags,
                    LPVOID environment, LPCSTR currentDirectory, LPSTARTUPINFOA startupInfo,
                    LPPROCESS_INFORMATION processInformation);

// Waits for a process (or its thread) to end: WAIT_OBJECT_0 once it has,
// WAIT_TIMEOUT, or WAIT_FAILED with the last error for a handle that is no
// process.
DWORD WaitForSingleObject(HANDLE object, DWORD milliseconds);
// STILL_ACTIVE while it runs; a program ended by a signal gives 128 + the
// signal's number.
BOOL GetExitCodeProcess(HANDLE process, LPDWORD exitCode);
