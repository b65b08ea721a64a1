// ShellExecuteA for a program file of this machine.
//
// The program (file, a Windows path, made absolute against the caller's
// current directory) is started detached: in a session of its own, as a
// process the caller does not own, so that it outlives the caller and
// leaves no zombie behind. It runs in directory (a Windows path; null or ""
// for the caller's current directory) with the caller's environment, no
// open files beyond standard input, output and error, and the default
// handling of every signal.
//
// parameters are split into arguments by Windows' rules (see
// commandline.h). An argument that holds a "\" and whose host form (each
// "\" a "/", relative to directory) names an existing file or directory is
// handed over in host form; every other argument as it is. All text goes
// from code page 1252 to the host's UTF-8.
//
// operation must be null, "" or "open"; window and showCommand are not
// used. The result is above 32 when the program runs (its exec has
// succeeded), else one of the codes below, which also becomes the last
// error (as the matching ERROR_* code). A failure without a code of its own
// answers the nearest, SE_ERR_FNF for a name too long and
// SE_ERR_ACCESSDENIED for too many open files, and the last error tells it
// (ERROR_FILENAME_EXCED_RANGE, ERROR_TOO_MANY_OPEN_FILES).
#pragma once

#include "platform/core/types.h"

using INT_PTR = std::intptr_t;

constexpr INT_PTR SE_ERR_FNF = 2;           // no such program file
constexpr INT_PTR SE_ERR_PNF = 3;           // no such folder on the way, or working directory
constexpr INT_PTR SE_ERR_ACCESSDENIED = 5;  // the file may not be run, or the folder entered
constexpr INT_PTR SE_ERR_OOM = 8;           // no memory or processes left
constexpr INT_PTR ERROR_BAD_FORMAT = 11;    // not a program this machine runs
constexpr INT_PTR SE_ERR_SHARE = 26;        // the file is being written
constexpr INT_PTR SE_ERR_ASSOCINCOMPLETE = 27;
constexpr INT_PTR SE_ERR_DDETIMEOUT = 28;
constexpr INT_PTR SE_ERR_DDEFAIL = 29;
constexpr INT_PTR SE_ERR_DDEBUSY = 30;
constexpr INT_PTR SE_ERR_NOASSOC = 31;      // another operation
constexpr INT_PTR SE_ERR_DLLNOTFOUND = 32;  // the program's interpreter or loader is missing

HINSTANCE ShellExecuteA(HWND window, LPCSTR operation, LPCSTR file, LPCSTR parameters,
                        LPCSTR directory, INT showCommand);
