#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/win32.h"
#include "testsupport/scratchfolder.h"

namespace {

struct Child {
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    PROCESS_INFORMATION info{};
    BOOL started = FALSE;

    explicit Child(std::string commandLine, const char* directory = nullptr) {
        EXPECT_TRUE(CreatePipe(&readEnd, &writeEnd, nullptr, 25000));
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdOutput = writeEnd;
        startup.hStdError = writeEnd;
        started = CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                 directory, &startup, &info);
    }
    ~Child() {
        CloseHandle(readEnd);
        CloseHandle(writeEnd);
        if (started) {
            CloseHandle(info.hThread);
            CloseHandle(info.hProcess);
        }
    }
    std::string output() {
        std::string text;
        DWORD waiting = 0;
        while (PeekNamedPipe(readEnd, nullptr, 0, nullptr, &waiting, nullptr) && waiting > 0) {
            std::string chunk(waiting, '\0');
            DWORD done = 0;
            if (!ReadFile(readEnd, chunk.data(), waiting, &done, nullptr)) break;
            text.append(chunk, 0, done);
        }
        return text;
    }
};

}  // namespace

TEST(Processes, RunWithTheirArgumentsSplitByWindowsRulesAndTheirOutputInThePipe) {
    const testsupport::ScratchFolder scratch("quill-process-");
    const std::filesystem::path& folder = scratch.path();
    std::filesystem::create_directories(folder / "sub dir");
    const std::string windowsFolder = scratch.windowsPath();
    Child child(
        "\"/bin/sh\" -c \"printf '%s|' \\\"$@\\\"; pwd; echo err >&2; exit 3\" sh "
        "\"a b\" c\\\\\\\"d \"" +
            windowsFolder + "\\sub dir\" ",
        windowsFolder.c_str());
    ASSERT_TRUE(child.started) << GetLastError();
    EXPECT_EQ(WaitForSingleObject(child.info.hProcess, 10000), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(child.info.hThread, 0), WAIT_OBJECT_0);
    DWORD code = 0;
    EXPECT_TRUE(GetExitCodeProcess(child.info.hProcess, &code));
    EXPECT_EQ(code, 3u);
    EXPECT_EQ(child.output(),
              "a b|c\\\"d|" + (folder / "sub dir").string() + "|" + folder.string() + "\nerr\n");
}

TEST(Processes, WaitsTimeOutAndPipesTellWhenTheirWritersAreGone) {
    Child child("sleep 0.3");
    ASSERT_TRUE(child.started);
    EXPECT_EQ(WaitForSingleObject(child.info.hProcess, 20), WAIT_TIMEOUT);
    DWORD code = 0;
    EXPECT_TRUE(GetExitCodeProcess(child.info.hProcess, &code));
    EXPECT_EQ(code, STILL_ACTIVE);
    EXPECT_EQ(WaitForSingleObject(child.info.hProcess, INFINITE), WAIT_OBJECT_0);

    CloseHandle(child.writeEnd);
    child.writeEnd = nullptr;
    DWORD waiting = 1;
    EXPECT_FALSE(PeekNamedPipe(child.readEnd, nullptr, 0, nullptr, &waiting, nullptr));
    EXPECT_EQ(GetLastError(), ERROR_BROKEN_PIPE);
    char byte;
    DWORD done = 0;
    EXPECT_FALSE(ReadFile(child.readEnd, &byte, 1, &done, nullptr));
    EXPECT_EQ(GetLastError(), ERROR_BROKEN_PIPE);
    EXPECT_EQ(WaitForSingleObject(child.readEnd, 0), WAIT_FAILED);
}

TEST(Processes, FailuresAnswerWindowsCodes) {
    struct Case {
        const char* commandLine;
        const char* directory;
        DWORD error;
    };
    const testsupport::ScratchFolder scratch("quill-process-");
    std::ofstream(scratch.path("text")) << "no program\n";
    std::ofstream(scratch.path("garbage")) << "\x01\x02\x03\x04";
    std::filesystem::permissions(scratch.path("garbage"), std::filesystem::perms::owner_all);
    // Quoted, as the folder's path may hold blanks.
    const auto quoted = [&scratch](const std::string& name) {
        return "\"" + scratch.ansiPath(name) + "\"";
    };
    const std::string text = quoted("text");
    const std::string garbage = quoted("garbage");
    const Case cases[] = {
        {"\"/no/such/program\" x", nullptr, ERROR_FILE_NOT_FOUND},
        {"no-such-program-anywhere", nullptr, ERROR_FILE_NOT_FOUND},
        {text.c_str(), nullptr, ERROR_ACCESS_DENIED},
        {garbage.c_str(), nullptr, ERROR_BAD_EXE_FORMAT},
        {"/bin/true", "/no/such/folder", ERROR_DIRECTORY},
    };
    for (const Case& c : cases) {
        Child child(c.commandLine, c.directory);
        EXPECT_FALSE(child.started) << c.commandLine;
        EXPECT_EQ(GetLastError(), c.error) << c.commandLine;
    }
}

// With no descriptor left for its ends a pipe fails as a file's open does.
TEST(Processes, APipeWithNoDescriptorLeftIsTooManyOpenFiles) {
    rlimit old{};
    ASSERT_EQ(getrlimit(RLIMIT_NOFILE, &old), 0);
    rlimit none = old;
    none.rlim_cur = 0;
    ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &none), 0);
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    const BOOL made = CreatePipe(&readEnd, &writeEnd, nullptr, 0);
    const DWORD error = GetLastError();
    setrlimit(RLIMIT_NOFILE, &old);
    EXPECT_FALSE(made);
    EXPECT_EQ(error, ERROR_TOO_MANY_OPEN_FILES);
}
