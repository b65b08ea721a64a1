#include "platform/module/module.h"

#include <gtest/gtest.h>
#include <linux/filter.h>
#include <linux/seccomp.h>
#include <sys/mman.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <filesystem>
#include <future>
#include <string>
#include <thread>

#include "platform/module/module_testenv.h"
#include "platform/testing.h"

using namespace moduletesting;

namespace {

const std::string kGnuLibrary = "gnu/aud_de_de_mc_02.dll";

// Runs a test in another current directory and goes back afterwards.
class CurrentDirectory {
public:
    explicit CurrentDirectory(const std::string& folder)
        : m_previous(std::filesystem::current_path()) {
        std::filesystem::current_path(folder);
    }
    CurrentDirectory(const CurrentDirectory&) = delete;
    CurrentDirectory& operator=(const CurrentDirectory&) = delete;
    ~CurrentDirectory() { std::filesystem::current_path(m_previous); }

private:
    std::filesystem::path m_previous;
};

ino_t inodeOf(const std::string& path) {
    struct stat info {};
    if (stat(path.c_str(), &info) != 0) return 0;
    return info.st_ino;
}

HMODULE loadExpectingFailure(const std::string& path, DWORD expected) {
    SetLastError(ERROR_SUCCESS);
    HMODULE module = LoadLibraryA(path.c_str());
    EXPECT_EQ(module, nullptr) << path;
    EXPECT_EQ(GetLastError(), expected) << path;
    return module;
}

}  // namespace

TEST(LoadLibrary, FailsLikeWindowsForFilesThatAreNoLibraries) {
    ScratchFolder folder;
    loadExpectingFailure(folder.ansiPath("missing.dll"), ERROR_MOD_NOT_FOUND);
    loadExpectingFailure(folder.ansiPath("no-folder/missing.dll"), ERROR_MOD_NOT_FOUND);
    loadExpectingFailure("", ERROR_MOD_NOT_FOUND);
    loadExpectingFailure(folder.ansiPath(), ERROR_ACCESS_DENIED);  // a directory

    writeBytes(folder.path("empty.dll"), {});
    loadExpectingFailure(folder.ansiPath("empty.dll"), ERROR_BAD_EXE_FORMAT);
    writeBytes(folder.path("text.dll"), Bytes(4096, 'x'));
    loadExpectingFailure(folder.ansiPath("text.dll"), ERROR_BAD_EXE_FORMAT);

    Bytes library = readBytes(testData(kGnuLibrary));
    library.resize(library.size() / 2);
    writeBytes(folder.path("half.dll"), library);
    loadExpectingFailure(folder.ansiPath("half.dll"), ERROR_BAD_EXE_FORMAT);

    SetLastError(ERROR_SUCCESS);
    EXPECT_EQ(LoadLibraryA(nullptr), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
}

// Sparse files of a terabyte, which could be neither read nor held: a file
// that is no image is refused on its headers, and of a library only the image
// that its headers describe is read, never what follows it.
TEST(LoadLibrary, ReadsNoMoreThanTheHeadersDescribe) {
    constexpr std::uint64_t kTerabyte = std::uint64_t{1} << 40;
    Bytes farHeaders(0x40, 0);
    farHeaders[0] = 'M';
    farHeaders[1] = 'Z';
    put32(farHeaders, 0x3C, 0xFFFFFF00);  // into the zeros
    const struct {
        const char* name;
        Bytes start;
        bool loads;
    } cases[] = {
        {"zeros.dll", {}, false},
        {"far-headers.dll", farHeaders, false},
        {"appended.dll", readBytes(testData(kGnuLibrary)), true},
    };
    ScratchFolder folder;
    for (const auto& c : cases) {
        const std::string path = folder.path(c.name);
        writeBytes(path, c.start);
        std::filesystem::resize_file(path, kTerabyte);
        if (!c.loads) {
            loadExpectingFailure(folder.ansiPath(c.name), ERROR_BAD_EXE_FORMAT);
            continue;
        }
        HMODULE module = LoadLibraryA(folder.ansiPath(c.name).c_str());
        ASSERT_NE(module, nullptr) << c.name << ": error " << GetLastError();
        EXPECT_NE(FindResourceA(module, MAKEINTRESOURCEA(1702), "MP3"), nullptr);
        EXPECT_TRUE(FreeLibrary(module));
    }
}

TEST(LoadLibrary, RefusesAFileItMayNotRead) {
    if (geteuid() == 0) GTEST_SKIP() << "root reads every file";
    ScratchFolder folder;
    writeBytes(folder.path("locked.dll"), readBytes(testData(kGnuLibrary)));
    std::filesystem::permissions(folder.path("locked.dll"), std::filesystem::perms::none);
    loadExpectingFailure(folder.ansiPath("locked.dll"), ERROR_ACCESS_DENIED);
}

TEST(LoadLibrary, CountsReferencesToTheSameFile) {
    ScratchFolder folder;
    std::filesystem::create_directory(folder.path("gnu"));
    writeBytes(folder.path(kGnuLibrary), readBytes(testData(kGnuLibrary)));
    std::string path = folder.ansiPath(kGnuLibrary);
    HMODULE first = LoadLibraryA(path.c_str());
    ASSERT_NE(first, nullptr);
    // Another spelling of the same file answers the same module.
    std::string other = folder.windowsPath("gnu/../gnu/./aud_de_de_mc_02.dll");
    HMODULE second = LoadLibraryA(other.c_str());
    EXPECT_EQ(second, first);

    EXPECT_TRUE(FreeLibrary(first));
    EXPECT_NE(FindResourceA(first, MAKEINTRESOURCEA(1702), "MP3"), nullptr)
        << "one reference is left";
    EXPECT_TRUE(FreeLibrary(second));
    SetLastError(ERROR_SUCCESS);
    EXPECT_FALSE(FreeLibrary(first));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);

    HMODULE again = LoadLibraryA(path.c_str());
    ASSERT_NE(again, nullptr);
    EXPECT_NE(FindResourceA(again, MAKEINTRESOURCEA(1702), "MP3"), nullptr);
    EXPECT_TRUE(FreeLibrary(again));
}

TEST(LoadLibrary, ReadsWithoutHoldingUpOtherCallsAndGivesOneFileOneModule) {
    ScratchFolder folder;
    const std::string path = folder.path("aud_de_de_mc_02.dll");
    const std::string ansi = folder.ansiPath("aud_de_de_mc_02.dll");
    writeBytes(path, readBytes(testData(kGnuLibrary)));
    std::promise<HMODULE> loaded;
    std::future<HMODULE> other = loaded.get_future();
    std::thread loader;
    // Another thread loads the same file while this load is held at its read.
    platform::testing::holdNextLibraryRead([&] {
        loader = std::thread([&] { loaded.set_value(LoadLibraryA(ansi.c_str())); });
        // The bound only turns a load that waits for this read into a failure
        // instead of a hang; well inside the test's time limit, so that the
        // failure says why.
        EXPECT_EQ(other.wait_for(std::chrono::seconds(10)), std::future_status::ready)
            << "another load waited for this one's read";
    });
    HMODULE first = LoadLibraryA(ansi.c_str());
    loader.join();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(other.get(), first) << "one file, one module";
    EXPECT_TRUE(FreeLibrary(first));
    EXPECT_TRUE(FreeLibrary(first));
    EXPECT_FALSE(FreeLibrary(first));
}

TEST(LoadLibrary, TakesAFileChangedSinceAsANewModule) {
    ScratchFolder folder;
    const std::string path = folder.path("aud_de_de_mc_02.dll");
    const std::string ansi = folder.ansiPath("aud_de_de_mc_02.dll");
    const auto inode = [&path] { return inodeOf(path); };
    writeBytes(path, readBytes(testData(kGnuLibrary)));
    HMODULE first = LoadLibraryA(ansi.c_str());
    ASSERT_NE(first, nullptr);
    const ino_t original = inode();

    // Another library written over the same file: the old module's headers
    // say nothing about it.
    const Bytes program = readBytes(testData("resdll/program.dll"));
    writeBytes(path, program);
    ASSERT_EQ(inode(), original) << "the file was not rewritten in place";
    HMODULE second = LoadLibraryA(ansi.c_str());
    ASSERT_NE(second, nullptr);
    EXPECT_NE(second, first);
    EXPECT_NE(FindResourceA(second, MAKEINTRESOURCEA(107), RT_BITMAP), nullptr);
    SetLastError(ERROR_SUCCESS);
    EXPECT_EQ(FindResourceA(second, MAKEINTRESOURCEA(1702), "MP3"), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_RESOURCE_TYPE_NOT_FOUND);
    EXPECT_EQ(LoadLibraryA(ansi.c_str()), second) << "unchanged since";

    // The same bytes again, told apart only by the modification time.
    const auto written = std::filesystem::last_write_time(path);
    writeBytes(path, program);
    std::filesystem::last_write_time(path, written + std::chrono::seconds(2));
    ASSERT_EQ(inode(), original);
    HMODULE third = LoadLibraryA(ansi.c_str());
    ASSERT_NE(third, nullptr);
    EXPECT_NE(third, second);
    EXPECT_NE(third, first);
    EXPECT_NE(FindResourceA(third, MAKEINTRESOURCEA(107), RT_BITMAP), nullptr);

    // Every handle stays a module until its own references are dropped.
    EXPECT_TRUE(FreeLibrary(first));
    EXPECT_TRUE(FreeLibrary(second));
    EXPECT_NE(FindResourceA(second, MAKEINTRESOURCEA(107), RT_BITMAP), nullptr);
    EXPECT_TRUE(FreeLibrary(second));
    EXPECT_TRUE(FreeLibrary(third));
    SetLastError(ERROR_SUCCESS);
    EXPECT_FALSE(FreeLibrary(first));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
}

TEST(LoadLibrary, KeepsWhatItLoadedWhenTheFileChanges) {
    ScratchFolder folder;
    const std::string path = folder.path("aud_de_de_mc_02.dll");
    const std::string ansi = folder.ansiPath("aud_de_de_mc_02.dll");
    const Bytes original = readBytes(testData(kGnuLibrary));
    writeBytes(path, original);
    HMODULE module = LoadLibraryA(ansi.c_str());
    ASSERT_NE(module, nullptr);
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(1702), "MP3");
    ASSERT_NE(found, nullptr);
    const auto* bytes = static_cast<const BYTE*>(LockResource(LoadResource(module, found)));
    const Bytes before(bytes, bytes + SizeofResource(module, found));

    // Cut short, written over with something else, then removed: each would
    // reach a library mapped from its file, the first as SIGBUS.
    for (int change = 0; change < 3; ++change) {
        if (change == 0) std::filesystem::resize_file(path, 64);
        if (change == 1) writeBytes(path, Bytes(original.size(), 0xAB));
        if (change == 2) std::filesystem::remove(path);
        HRSRC again = FindResourceA(module, MAKEINTRESOURCEA(1702), "MP3");
        ASSERT_EQ(again, found) << "change " << change;
        bytes = static_cast<const BYTE*>(LockResource(LoadResource(module, again)));
        EXPECT_EQ(Bytes(bytes, bytes + before.size()), before) << "change " << change;
    }
    EXPECT_TRUE(FreeLibrary(module));
}

TEST(LoadLibrary, TakesWindowsPaths) {
    ScratchFolder folder;
    // The host names the folder in UTF-8: "W\xC3\xB6rter" is Wörter.
    std::filesystem::create_directories(folder.path("W\xC3\xB6rter/de_de"));
    std::filesystem::copy_file(testData(kGnuLibrary),
                               folder.path("W\xC3\xB6rter/de_de/aud_de_de_mc_02.dll"));
    CurrentDirectory inside(folder.path(""));

    // Relative, with backslashes, and in code page 1252 ("\xF6" is ö).
    HMODULE module = LoadLibraryA("W\xF6rter\\de_de\\aud_de_de_mc_02.dll");
    ASSERT_NE(module, nullptr);
    EXPECT_NE(FindResourceA(module, MAKEINTRESOURCEA(1703), "MP3"), nullptr);
    EXPECT_EQ(LoadLibraryA(".\\W\xF6rter/de_de\\..\\de_de\\aud_de_de_mc_02.dll"), module);
    EXPECT_TRUE(FreeLibrary(module));
    EXPECT_TRUE(FreeLibrary(module));

    // UTF-8 bytes read as code page 1252 are other letters, another folder.
    loadExpectingFailure("W\xC3\xB6rter\\de_de\\aud_de_de_mc_02.dll", ERROR_MOD_NOT_FOUND);
}

TEST(LoadLibrary, FailsForLackOfMemoryWhenToldTo) {
    std::string path = ansiPath(testData(kGnuLibrary));
    platform::testing::failNextLibraryLoads(2);
    loadExpectingFailure(path, ERROR_NOT_ENOUGH_MEMORY);
    loadExpectingFailure(path, ERROR_NOT_ENOUGH_MEMORY);
    HMODULE module = LoadLibraryA(path.c_str());
    ASSERT_NE(module, nullptr);
    EXPECT_TRUE(FreeLibrary(module));

    platform::testing::failNextLibraryLoads(5);
    platform::testing::failNextLibraryLoads(0);
    module = LoadLibraryA(path.c_str());
    EXPECT_NE(module, nullptr);
    EXPECT_TRUE(FreeLibrary(module));
}

namespace {

// From now on the kernel refuses every mprotect of this thread that makes
// memory read-only, with ENOMEM, as when it has no memory for the change;
// the rest of the process is not touched, and the refusal goes with the
// thread. False where the kernel takes no such filter.
bool refuseReadOnlyProtection() {
    sock_filter filter[] = {
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr)),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, __NR_mprotect, 0, 3),
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, args[2])),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, PROT_READ, 0, 1),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ERRNO | ENOMEM),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW),
    };
    sock_fprog program{static_cast<unsigned short>(std::size(filter)), filter};
    return prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) == 0 &&
           syscall(SYS_seccomp, SECCOMP_SET_MODE_FILTER, 0, &program) == 0;
}

}  // namespace

// A copy that cannot be made read-only is no module: the load fails and
// leaves nothing behind.
TEST(LoadLibrary, FailsWhenItsCopyCannotBeMadeReadOnly) {
    ScratchFolder folder;
    writeBytes(folder.path("aud_de_de_mc_02.dll"), readBytes(testData(kGnuLibrary)));
    const std::string path = ansiPath(folder.path("aud_de_de_mc_02.dll"));
    bool refusing = false;
    HMODULE module = nullptr;
    DWORD error = ERROR_SUCCESS;
    std::thread([&] {
        refusing = refuseReadOnlyProtection();
        if (!refusing) return;
        module = LoadLibraryA(path.c_str());
        error = GetLastError();
    }).join();
    ASSERT_TRUE(refusing) << "the kernel takes no seccomp filter";
    EXPECT_EQ(module, nullptr);
    EXPECT_EQ(error, ERROR_NOT_ENOUGH_MEMORY);

    module = LoadLibraryA(path.c_str());
    ASSERT_NE(module, nullptr);
    EXPECT_NE(FindResourceA(module, MAKEINTRESOURCEA(1702), "MP3"), nullptr);
    EXPECT_TRUE(FreeLibrary(module));
    EXPECT_FALSE(FreeLibrary(module)) << "the failed load kept a reference";
}

TEST(LoadLibrary, RefusesHandlesOfNoModule) {
    int notAModule = 0;
    auto bogus = reinterpret_cast<HMODULE>(&notAModule);
    SetLastError(ERROR_SUCCESS);
    EXPECT_FALSE(FreeLibrary(bogus));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    SetLastError(ERROR_SUCCESS);
    EXPECT_EQ(FindResourceA(bogus, MAKEINTRESOURCEA(1), RT_STRING), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
}

TEST(ProgramModule, HasNoResourcesWithoutEmbeddedOnes) {
    HMODULE program = GetModuleHandleA(nullptr);
    ASSERT_NE(program, nullptr);
    EXPECT_EQ(GetModuleHandleA(nullptr), program);
    for (HMODULE module : {program, HMODULE{}}) {
        SetLastError(ERROR_SUCCESS);
        EXPECT_EQ(FindResourceA(module, MAKEINTRESOURCEA(107), RT_BITMAP), nullptr);
        EXPECT_EQ(GetLastError(), ERROR_RESOURCE_DATA_NOT_FOUND);
    }
    char text[16] = "unchanged";
    SetLastError(ERROR_SUCCESS);
    EXPECT_EQ(LoadStringA(nullptr, 113, text, sizeof text), 0);
    EXPECT_EQ(GetLastError(), ERROR_RESOURCE_DATA_NOT_FOUND);
    EXPECT_STREQ(text, "");
    // The program's module is never unloaded.
    EXPECT_TRUE(FreeLibrary(program));
    EXPECT_EQ(GetModuleHandleA(nullptr), program);
}

TEST(ProgramModule, NamedModulesAreNotServed) {
    SetLastError(ERROR_SUCCESS);
    EXPECT_EQ(GetModuleHandleA("aud_de_de_mc_02.dll"), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_MOD_NOT_FOUND);
}
