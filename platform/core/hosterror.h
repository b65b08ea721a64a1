// The Win32 error code of a failed host call, by its errno. Internal to the
// layer.
//
// Every service answers the same code for the same errno of the same kind
// of call (an open, a spawn), so that a name too long or a loop of links
// fails alike whichever Windows function met it. A service answers
// otherwise only where its Windows function does (LoadLibraryA's
// ERROR_MOD_NOT_FOUND, ShellExecuteA's codes of its own), and says so where
// it does. One spawn differs: CreateProcessA maps its ENOENT without the
// path, so a missing folder is ERROR_FILE_NOT_FOUND there, where
// ShellExecuteA's last error is ERROR_PATH_NOT_FOUND (process.h).
#pragma once

#include <string>

#include "platform/core/types.h"

namespace platform {

//   ENOENT                    ERROR_FILE_NOT_FOUND
//   ENOTDIR, ELOOP            ERROR_PATH_NOT_FOUND
//   ENAMETOOLONG              ERROR_FILENAME_EXCED_RANGE
//   EMFILE, ENFILE            ERROR_TOO_MANY_OPEN_FILES
//   ENOMEM, EAGAIN, E2BIG     ERROR_NOT_ENOUGH_MEMORY (EAGAIN of an open:
//                             errorOfOpen)
//   ENOEXEC                   ERROR_BAD_EXE_FORMAT
//   ETXTBSY                   ERROR_SHARING_VIOLATION
//   ENOSPC, EDQUOT            ERROR_DISK_FULL
//   EACCES, EPERM, EROFS      ERROR_ACCESS_DENIED
//   any other                 ERROR_ACCESS_DENIED (of a write: errorOfWrite)
DWORD errorOfErrno(int error);

// The same for a call that named the host path path, where ENOENT answers
// ERROR_PATH_NOT_FOUND when the folder that would hold path is missing too:
// Windows tells a missing folder on the way from a missing file.
DWORD errorOfErrno(int error, const std::string& path);

// The same for an open of the host path path. An open that cannot go on
// because another holds the file (a lease, as a file share's oplock is
// served here) fails with EAGAIN, which a fork or an allocation answers for
// lack of memory; for an open it is ERROR_SHARING_VIOLATION, as Windows
// answers a file another holds.
DWORD errorOfOpen(int error, const std::string& path);

// The same for the writing of a file's bytes (the new file made for them,
// the writes, their flush, the rename that puts them in place), where an
// error the map has no code for is ERROR_WRITE_FAULT instead: what failed
// then (the device, the file system) refused no access.
DWORD errorOfWrite(int error);

}  // namespace platform
