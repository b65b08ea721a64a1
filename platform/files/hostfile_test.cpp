#include "platform/files/hostfile.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <functional>
#include <string>

#include <gtest/gtest.h>

#include "testsupport/ansipath.h"
#include "testsupport/scratchfolder.h"
#include "testsupport/wholefile.h"
#include "platform/win32.h"

namespace {

// A write lease on a file, as a file share's oplock stands on it: while it
// is held, every other open of the file, even for reading, is held up until
// the lease is let go, or fails at once with EAGAIN when it may not wait.
// The holder is told with SIGIO, which would end this program, so the
// signal is ignored meanwhile.
class Lease {
public:
    explicit Lease(const std::string& path) {
        struct sigaction ignore {};
        ignore.sa_handler = SIG_IGN;
        sigaction(SIGIO, &ignore, &m_previous);
        m_descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        if (m_descriptor < 0 || ::fcntl(m_descriptor, F_SETLEASE, F_WRLCK) != 0) {
            m_failure = std::strerror(errno);
        }
    }
    Lease(const Lease&) = delete;
    Lease& operator=(const Lease&) = delete;
    ~Lease() {
        if (m_descriptor >= 0) ::close(m_descriptor);
        sigaction(SIGIO, &m_previous, nullptr);
    }

    // Empty when the lease is held, else why not.
    const std::string& failure() const { return m_failure; }

private:
    struct sigaction m_previous {};
    int m_descriptor = -1;
    std::string m_failure;
};

// Opens the file by its Windows name as a service does: ERROR_SUCCESS (and
// lets the file go again) when it opened, else the last error.
using OpenByName = std::function<DWORD(const std::string& name)>;

DWORD createFile(const std::string& name) {
    HANDLE file = CreateFileA(name.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return GetLastError();
    CloseHandle(file);
    return ERROR_SUCCESS;
}

DWORD loadLibrary(const std::string& name) {
    HMODULE module = LoadLibraryA(name.c_str());
    if (module == nullptr) return GetLastError();
    FreeLibrary(module);
    return ERROR_SUCCESS;
}

// A file another holds is a sharing violation for every service that opens
// files by name, as on Windows; never a lack of memory, on which the word
// model frees a language's other libraries and tries again.
TEST(HostFile, AnOpenOfAFileAnotherHoldsIsASharingViolation) {
    testsupport::ScratchFolder folder{"hostfile-"};
    const std::string path = folder.path("aud_de_de_mc_02.dll");
    testsupport::writeFile(path, "no library");
    const std::string name = testsupport::ansiPath(path);
    const struct {
        const char* service;
        OpenByName open;
        DWORD unheld;  // once the lease is let go: the file opens
    } services[] = {
        {"CreateFileA", createFile, ERROR_SUCCESS},
        {"LoadLibraryA", loadLibrary, ERROR_BAD_EXE_FORMAT},
    };
    for (const auto& s : services) {
        {
            Lease lease(path);
            ASSERT_EQ(lease.failure(), "") << "no lease on a file of the scratch folder";
            struct stat status;
            EXPECT_EQ(platform::openHostFile(path, O_RDONLY | O_CLOEXEC, status), -1);
            EXPECT_EQ(errno, EAGAIN) << "the open waited or went through";
            EXPECT_EQ(s.open(name), ERROR_SHARING_VIOLATION) << s.service;
        }
        EXPECT_EQ(s.open(name), s.unheld) << s.service;
    }
}

}  // namespace
