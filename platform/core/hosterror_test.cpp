#include "platform/core/hosterror.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/capability.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>

#include "testsupport/ansipath.h"
#include "testsupport/scratchfolder.h"
#include "testsupport/wholefile.h"
#include "platform/files/hostfile.h"
#include "platform/win32.h"

namespace {

namespace fs = std::filesystem;

DWORD createFileAnswer(const std::string& path) {
    HANDLE file = CreateFileA(testsupport::ansiPath(path).c_str(), GENERIC_READ, FILE_SHARE_READ,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return GetLastError();
    CloseHandle(file);
    return ERROR_SUCCESS;
}

DWORD loadLibraryAnswer(const std::string& path) {
    HMODULE module = LoadLibraryA(testsupport::ansiPath(path).c_str());
    if (module == nullptr) return GetLastError();
    FreeLibrary(module);
    return ERROR_SUCCESS;
}

DWORD createProcessAnswer(const std::string& path) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(testsupport::ansiPath(path).c_str(), nullptr, nullptr, nullptr, FALSE, 0,
                        nullptr, nullptr, &startup, &process)) {
        return GetLastError();
    }
    WaitForSingleObject(process.hProcess, INFINITE);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return ERROR_SUCCESS;
}

// ShellExecuteA answers codes of its own; its last error is the service's.
DWORD shellExecuteAnswer(const std::string& path) {
    HINSTANCE code = ShellExecuteA(nullptr, "open", testsupport::ansiPath(path).c_str(), nullptr,
                                   nullptr, SW_SHOWNORMAL);
    return reinterpret_cast<INT_PTR>(code) > 32 ? ERROR_SUCCESS : GetLastError();
}

// The C runtime answers errno.
int fsopenAnswer(const std::string& path) {
    std::FILE* stream = _fsopen(testsupport::ansiPath(path).c_str(), "rb", _SH_DENYNO);
    if (stream == nullptr) return errno;
    std::fclose(stream);
    return 0;
}

// A change of the registry kept in this file: its open and its writing.
DWORD registryAnswer(const std::string& path) {
    setenv("QUILLORY_REGISTRY", path.c_str(), 1);
    HKEY key = nullptr;
    LSTATUS result = RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Quillory", 0, nullptr,
                                     REG_OPTION_NON_VOLATILE, KEY_WRITE, nullptr, &key, nullptr);
    if (key != nullptr) RegCloseKey(key);
    unsetenv("QUILLORY_REGISTRY");
    return static_cast<DWORD>(result);
}

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

// Runs work on a thread of its own that no capability lets past a file's
// permissions (CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH), so that a file no
// one may read is refused even to a test run as root. False where the
// thread could not give them up.
bool withoutPassingPermissions(const std::function<void()>& work) {
    bool bound = false;
    std::thread thread([&] {
        __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
        __user_cap_data_struct data[_LINUX_CAPABILITY_U32S_3]{};
        if (syscall(SYS_capget, &header, data) != 0) return;
        for (unsigned capability : {CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH}) {
            data[CAP_TO_INDEX(capability)].effective &= ~static_cast<__u32>(CAP_TO_MASK(capability));
        }
        if (syscall(SYS_capset, &header, data) != 0) return;
        bound = true;
        work();
    });
    thread.join();
    return bound;
}

// One cause on the host, met by every service that names a file: each tells
// it by the code every other tells it by, but where its Windows function
// answers otherwise (LoadLibraryA's ERROR_MOD_NOT_FOUND for whatever is
// missing), CreateProcessA does not tell a missing folder (hosterror.h), the
// service is no Windows function (_fsopen answers errno), and the registry
// makes its file and folder when they are missing.
TEST(HostError, ServicesTellACauseAlikeButWhereTheirOwnRulesDiffer) {
    const testsupport::ScratchFolder folder("quill-host-error-");
    testsupport::writeFile(folder.path("file.dll"), "not a library");
    testsupport::writeFile(folder.path("locked.dll"), "not a library");
    fs::permissions(folder.path("locked.dll"), fs::perms::none);
    fs::create_directory(folder.path("folder"));
    fs::create_symlink("loop", folder.path("loop"));
    const struct {
        const char* cause;
        std::string name;
        DWORD createFile;
        DWORD loadLibrary;
        DWORD createProcess;
        DWORD shellExecute;
        DWORD registry;
        int fsopen;
    } causes[] = {
        {"no such file", "missing.dll", ERROR_FILE_NOT_FOUND, ERROR_MOD_NOT_FOUND,
         ERROR_FILE_NOT_FOUND, ERROR_FILE_NOT_FOUND, ERROR_SUCCESS, ENOENT},
        // CreateProcessA does not look for the folder, as ShellExecuteA
        // does: it answers the file.
        {"no such folder", "none/missing.dll", ERROR_PATH_NOT_FOUND, ERROR_MOD_NOT_FOUND,
         ERROR_FILE_NOT_FOUND, ERROR_PATH_NOT_FOUND, ERROR_SUCCESS, ENOENT},
        {"a file on the way", "file.dll/x.dll", ERROR_PATH_NOT_FOUND, ERROR_MOD_NOT_FOUND,
         ERROR_PATH_NOT_FOUND, ERROR_PATH_NOT_FOUND, ERROR_PATH_NOT_FOUND, ENOTDIR},
        {"a name too long", std::string(300, 'n'), ERROR_FILENAME_EXCED_RANGE,
         ERROR_FILENAME_EXCED_RANGE, ERROR_FILENAME_EXCED_RANGE, ERROR_FILENAME_EXCED_RANGE,
         ERROR_FILENAME_EXCED_RANGE, ENAMETOOLONG},
        {"a loop of links", "loop", ERROR_PATH_NOT_FOUND, ERROR_MOD_NOT_FOUND,
         ERROR_PATH_NOT_FOUND, ERROR_PATH_NOT_FOUND, ERROR_PATH_NOT_FOUND, ELOOP},
        {"a folder", "folder", ERROR_ACCESS_DENIED, ERROR_ACCESS_DENIED, ERROR_ACCESS_DENIED,
         ERROR_ACCESS_DENIED, ERROR_ACCESS_DENIED, EACCES},
        {"a file no one may read", "locked.dll", ERROR_ACCESS_DENIED, ERROR_ACCESS_DENIED,
         ERROR_ACCESS_DENIED, ERROR_ACCESS_DENIED, ERROR_ACCESS_DENIED, EACCES},
    };
    ASSERT_TRUE(withoutPassingPermissions([&] {
        for (const auto& c : causes) {
            SCOPED_TRACE(c.cause);
            const std::string path = folder.path(c.name);
            EXPECT_EQ(createFileAnswer(path), c.createFile);
            EXPECT_EQ(loadLibraryAnswer(path), c.loadLibrary);
            EXPECT_EQ(createProcessAnswer(path), c.createProcess);
            EXPECT_EQ(shellExecuteAnswer(path), c.shellExecute);
            EXPECT_EQ(fsopenAnswer(path), c.fsopen);
            // Last: it makes what is missing.
            EXPECT_EQ(registryAnswer(path), c.registry);
        }
    })) << "the test's thread could not give up its capabilities";
}

// A file another holds is a sharing violation for every service that opens
// files by name, as on Windows; never a lack of memory, on which the word
// model frees a language's other libraries and tries again.
TEST(HostFile, AnOpenOfAFileAnotherHoldsIsASharingViolation) {
    testsupport::ScratchFolder folder{"hostfile-"};
    const std::string path = folder.path("aud_de_de_mc_02.dll");
    testsupport::writeFile(path, "no library");
    const struct {
        const char* service;
        std::function<DWORD(const std::string& path)> open;
        DWORD unheld;  // once the lease is let go: the file opens
    } services[] = {
        {"CreateFileA", createFileAnswer, ERROR_SUCCESS},
        {"LoadLibraryA", loadLibraryAnswer, ERROR_BAD_EXE_FORMAT},
    };
    for (const auto& s : services) {
        {
            Lease lease(path);
            ASSERT_EQ(lease.failure(), "") << "no lease on a file of the scratch folder";
            struct stat status;
            EXPECT_EQ(platform::openHostFile(path, O_RDONLY | O_CLOEXEC, status), -1);
            EXPECT_EQ(errno, EAGAIN) << "the open waited or went through";
            EXPECT_EQ(s.open(path), ERROR_SHARING_VIOLATION) << s.service;
        }
        EXPECT_EQ(s.open(path), s.unheld) << s.service;
    }
}

}  // namespace
