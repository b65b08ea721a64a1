#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "testsupport/scratchfolder.h"
#include "platform/win32.h"

namespace {

namespace fs = std::filesystem;

INT_PTR code(HINSTANCE result) { return reinterpret_cast<INT_PTR>(result); }

class Shell : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(m_dir / "install" / "data");
        std::ofstream(m_dir / "install" / "Quillory.jar") << "jar";
        std::ofstream(m_dir / "install" / "data" / "words.txt") << "words";
    }

    void writeProgram(const fs::path& path, const std::string& text, fs::perms perms) {
        std::ofstream(path) << text;
        fs::permissions(path, perms);
    }

    testsupport::ScratchFolder m_scratch{"shell-"};
    const fs::path m_dir = m_scratch.path();
};

TEST_F(Shell, StartsAProgramDetachedWithItsArgumentsInItsDirectory) {
    // The program tells what it got through a pipe the test waits on.
    fs::path report = m_dir / "report";
    ASSERT_EQ(mkfifo(report.c_str(), 0600), 0);
    fs::path program = m_dir / "bin" / "report.sh";
    fs::create_directory(m_dir / "bin");
    // Neither our files nor our blocked signals reach it.
    int inheritable = open("/dev/null", O_RDONLY);
    sigset_t blocked, saved;
    sigemptyset(&blocked);
    sigaddset(&blocked, SIGUSR1);
    sigprocmask(SIG_BLOCK, &blocked, &saved);
    // Builtins only: a shell blocks its signals while it forks.
    std::string script = "#!/bin/sh\n{ pwd; read -r stat < /proc/$$/stat; echo \"$stat\";\n";
    script +=
        "  while read -r k v; do [ \"$k\" = SigBlk: ] && echo \"$v\"; done < /proc/$$/status\n";
    script += "  [ -e /proc/$$/fd/" + std::to_string(inheritable) + " ] && echo leaked\n";
    // Named from the program's directory, install: no path to quote in the script.
    script += "  for a in \"$@\"; do echo \"[$a]\"; done; } > ../report\n";
    writeProgram(program, script, fs::perms::owner_all);
    std::string install = m_scratch.windowsPath("install");
    std::string parameters = "-jar \"" + install + "\\Quillory.jar\" \"" + install + "\" " +
                             "data\\words.txt data\\missing.txt a\\\"b \"two words\" W\xF6rter";

    HINSTANCE result =
        ShellExecuteA(nullptr, nullptr, m_scratch.windowsPath("bin/report.sh").c_str(),
                      parameters.c_str(), install.c_str(), 1);
    sigprocmask(SIG_SETMASK, &saved, nullptr);
    close(inheritable);
    ASSERT_GT(code(result), 32);
    std::ifstream in(report);
    std::string cwd, stat, signals, line, arguments;
    std::getline(in, cwd);
    std::getline(in, stat);
    std::getline(in, signals);
    while (std::getline(in, line)) arguments += line + "\n";

    EXPECT_EQ(cwd, (m_dir / "install").string());
    EXPECT_EQ(signals, "0000000000000000");
    EXPECT_EQ(arguments, "[-jar]\n[" + (m_dir / "install" / "Quillory.jar").string() + "]\n[" +
                             (m_dir / "install").string() +
                             "]\n"
                             "[data/words.txt]\n[data\\missing.txt]\n[a\"b]\n[two words]\n"
                             "[W\xC3\xB6rter]\n");
    // Its own session, and no child of ours is left to reap.
    std::istringstream fields(stat.substr(stat.rfind(')') + 2));
    char state;
    pid_t parent, group, session;
    fields >> state >> parent >> group >> session;
    EXPECT_NE(session, getsid(0));
    EXPECT_NE(parent, getpid());
    EXPECT_EQ(waitpid(-1, nullptr, WNOHANG), -1);
    EXPECT_EQ(errno, ECHILD);
}

TEST_F(Shell, FailuresAnswerWindowsCodes) {
    fs::path plain = m_dir / "plain.txt";
    writeProgram(plain, "text", fs::perms::owner_read | fs::perms::owner_write);
    fs::path notProgram = m_dir / "noprogram";
    writeProgram(notProgram, "just text\n", fs::perms::owner_all);
    fs::path noInterpreter = m_dir / "nointerpreter";
    writeProgram(noInterpreter, "#!/nonexistent/sh\n", fs::perms::owner_all);
    struct Case {
        const char* operation;
        std::string file;
        std::string directory;
        INT_PTR expected;
        DWORD lastError;
    };
    const std::string dir = m_scratch.windowsPath();
    const Case cases[] = {
        {nullptr, dir + "\\missing.exe", "", SE_ERR_FNF, ERROR_FILE_NOT_FOUND},
        {nullptr, dir + "\\nofolder\\javaw.exe", "", SE_ERR_PNF, ERROR_PATH_NOT_FOUND},
        {"open", m_scratch.windowsPath("plain.txt"), "", SE_ERR_ACCESSDENIED, ERROR_ACCESS_DENIED},
        {nullptr, dir, "", SE_ERR_ACCESSDENIED, ERROR_ACCESS_DENIED},
        {nullptr, m_scratch.windowsPath("noprogram"), "", ERROR_BAD_FORMAT, ERROR_BAD_EXE_FORMAT},
        {nullptr, m_scratch.windowsPath("nointerpreter"), "", SE_ERR_DLLNOTFOUND,
         ERROR_MOD_NOT_FOUND},
        {nullptr, "/bin/true", dir + "\\nofolder", SE_ERR_PNF, ERROR_PATH_NOT_FOUND},
        {"print", "/bin/true", "", SE_ERR_NOASSOC, 1155},  // ERROR_NO_ASSOCIATION
        {nullptr, "", "", SE_ERR_FNF, ERROR_FILE_NOT_FOUND},
        {nullptr, dir + "\\" + std::string(300, 'x'), "", SE_ERR_FNF, ERROR_FILENAME_EXCED_RANGE},
    };
    for (const Case& c : cases) {
        HINSTANCE result = ShellExecuteA(nullptr, c.operation, c.file.c_str(), "",
                                         c.directory.empty() ? nullptr : c.directory.c_str(), 1);
        EXPECT_EQ(code(result), c.expected) << c.file;
        EXPECT_EQ(GetLastError(), c.lastError) << c.file;
    }
    EXPECT_EQ(waitpid(-1, nullptr, WNOHANG), -1);
}

}  // namespace
