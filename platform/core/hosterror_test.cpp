#include "platform/core/hosterror.h"

#include <gtest/gtest.h>

#include <cerrno>

#include "platform/win32.h"

TEST(HostError, EveryServiceAnswersTheSameCodeForAnErrno) {
    const struct {
        int error;
        DWORD expected;
    } cases[] = {
        {ENOENT, ERROR_FILE_NOT_FOUND},
        {ENOTDIR, ERROR_PATH_NOT_FOUND},
        {ELOOP, ERROR_PATH_NOT_FOUND},
        {ENAMETOOLONG, ERROR_FILENAME_EXCED_RANGE},
        {EMFILE, ERROR_TOO_MANY_OPEN_FILES},
        {ENFILE, ERROR_TOO_MANY_OPEN_FILES},
        {ENOMEM, ERROR_NOT_ENOUGH_MEMORY},
        {EAGAIN, ERROR_NOT_ENOUGH_MEMORY},
        {E2BIG, ERROR_NOT_ENOUGH_MEMORY},
        {ENOEXEC, ERROR_BAD_EXE_FORMAT},
        {ETXTBSY, ERROR_SHARING_VIOLATION},
        {EACCES, ERROR_ACCESS_DENIED},
        {EPERM, ERROR_ACCESS_DENIED},
        {EISDIR, ERROR_ACCESS_DENIED},
        {EIO, ERROR_ACCESS_DENIED},
    };
    for (const auto& c : cases) EXPECT_EQ(platform::errorOfErrno(c.error), c.expected) << c.error;
}
