#include "common/logger.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "testsupport/ansipath.h"
#include "testsupport/environment.h"
#include "testsupport/scratchfolder.h"
#include "testsupport/wholefile.h"

namespace {

namespace fs = std::filesystem;

const std::string kBanner =
    "* * * * * * * * * * * * * * * * * *   E N D   O F   L O G F I L E   "
    "* * * * * * * * * * * * * * * * * *\n";

using testsupport::readFile;

// The log file is written in text mode: the lines as they should be there.
std::string textMode(const std::string& lines) { return testsupport::textModeBytes(lines); }

// The file's lines as a text-mode stream reads them, without their ends.
std::vector<std::string> linesOf(const fs::path& path) {
    std::ifstream in(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// Each test logs into a file of its own in a fresh directory.
class LoggerTest : public ::testing::Test {
protected:
    void SetUp() override {
        file = scratch.path() / "log.txt";
        fileName = scratch.ansiPath("log.txt");
    }
    void TearDown() override {
        logInit(0, nullptr, false, false, false, false);
    }
    testsupport::ScratchFolder scratch{"logger-"};
    fs::path file;
    std::string fileName;
};

TEST_F(LoggerTest, FileModeAppendsExactlyTheFormattedBytes) {
    logInit(10, fileName.c_str(), false, false, true, false);
    ASSERT_TRUE(fs::exists(file));
    EXPECT_EQ(fs::file_size(file), 0u);
    logPrint(1, "mark %d\n", 100);
    EXPECT_EQ(readFile(file), textMode("mark 100\n"));
    logPrint(10, "%s|%5.2f|%ls\n", "x", 1.5, L"\u00E4u");
    EXPECT_EQ(readFile(file), textMode("mark 100\nx| 1.50|\xE4u\n"));
}

TEST_F(LoggerTest, LevelRules) {
    logInit(10, fileName.c_str(), false, false, true, false);
    logPrint(0, "level 0\n");
    logPrint(10, "level 10\n");
    logPrint(11, "level 11\n");
    logPrintW(0, L"wide 0\n");
    logPrintW(10, L"wide 10\n");
    logPrintW(11, L"wide 11\n");
    EXPECT_EQ(readFile(file), textMode("level 10\nwide 10\n"));
    EXPECT_TRUE(logEnabled(10));
    EXPECT_FALSE(logEnabled(11));
    EXPECT_FALSE(logEnabled(0));
}

TEST_F(LoggerTest, LevelZeroWritesNothingAndCreatesNoFile) {
    logInit(0, fileName.c_str(), false, false, true, false);
    logPrint(1, "nothing\n");
    logFinish();
    EXPECT_FALSE(fs::exists(file));
    EXPECT_FALSE(logEnabled(1));
}

TEST_F(LoggerTest, TruncateEmptiesAndAppendKeeps) {
    std::ofstream(file) << "old\n";
    logInit(5, fileName.c_str(), false, false, false, false);
    logPrint(1, "new\n");
    EXPECT_EQ(readFile(file), textMode("old\nnew\n"));
    logInit(5, fileName.c_str(), false, false, true, false);
    EXPECT_EQ(readFile(file), "");
}

TEST_F(LoggerTest, WideLinesReachTheFileInTheAnsiCodePage) {
    logInit(3, fileName.c_str(), false, false, true, false);
    logPrintW(1, L"%s: %c %d\n", L"W\u00F6rter", L'\u00DF', 7);
    logPrintW(1, L"%s\n", L"\u6C34");
    EXPECT_EQ(readFile(file), textMode("W\xF6rter: \xDF 7\n?\n"));
}

TEST_F(LoggerTest, RingKeepsLinesUntilFinish) {
    logInit(10, fileName.c_str(), true, false, true, false);
    logPrint(1, "one\n");
    logPrintW(1, L"two\n");
    logPrint(10, "three\n");
    EXPECT_EQ(readFile(file), "");
    logFinish();
    EXPECT_EQ(readFile(file),
              textMode("LogLevel: 10 doLogWriteAtEnd: 1\none\ntwo\nthree\n" + kBanner));
}

TEST_F(LoggerTest, RingInTruncateModeReplacesTheFileAtFinish) {
    logInit(2, fileName.c_str(), true, false, true, false);
    logPrint(1, "kept\n");
    std::ofstream(file) << "written meanwhile\n";
    logFinish();
    EXPECT_EQ(readFile(file), textMode("LogLevel: 2 doLogWriteAtEnd: 1\nkept\n" + kBanner));
}

TEST_F(LoggerTest, RingInAppendModeAppendsAtFinish) {
    std::ofstream(file) << "before\n";
    logInit(2, fileName.c_str(), true, false, false, false);
    logPrint(1, "kept\n");
    logFinish();
    EXPECT_EQ(readFile(file),
              textMode("before\nLogLevel: 2 doLogWriteAtEnd: 1\nkept\n" + kBanner));
}

TEST_F(LoggerTest, RingCutsLongLines) {
    logInit(10, fileName.c_str(), true, false, true, false);
    std::string longLine(1500, 'x');
    logPrint(1, "%s", longLine.c_str());
    logPrint(1, "\n");
    logFinish();
    std::string expected = "LogLevel: 10 doLogWriteAtEnd: 1\n" + std::string(999, 'x') + "\n" + kBanner;
    EXPECT_EQ(readFile(file), textMode(expected));
}

TEST_F(LoggerTest, RingWrapsAfterAHundredThousandLines) {
    logInit(10, fileName.c_str(), true, false, true, false);
    const int total = 100001;
    for (int i = 0; i < total; ++i) logPrint(1, "%d\n", i);
    logFinish();
    std::vector<std::string> lines = linesOf(file);
    ASSERT_EQ(lines.size(), 100001u);  // header, 99999 surviving lines, banner
    EXPECT_EQ(lines[0], "LogLevel: 10 doLogWriteAtEnd: 1");
    // Slots come out in slot order: the newest lines, the banner, then the
    // older lines that were not yet overwritten. The ring position carries
    // over from earlier tests in this process, so find the banner first.
    std::size_t banner = 0;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        if (lines[i] + "\n" == kBanner) {
            ASSERT_EQ(banner, 0u) << "two banners";
            banner = i;
        }
    }
    ASSERT_GT(banner, 1u);
    EXPECT_EQ(lines[banner - 1], "100000");
    std::vector<std::string> inOrder(lines.begin() + static_cast<long>(banner) + 1, lines.end());
    inOrder.insert(inOrder.end(), lines.begin() + 1, lines.begin() + static_cast<long>(banner));
    ASSERT_EQ(inOrder.size(), 99999u);
    for (std::size_t i = 0; i < inOrder.size(); ++i) {
        ASSERT_EQ(inOrder[i], std::to_string(i + 2)) << "at " << i;
    }
}

TEST_F(LoggerTest, FinishWithoutRingWritesNothing) {
    logInit(10, fileName.c_str(), false, false, true, false);
    logPrint(1, "line\n");
    logFinish();
    EXPECT_EQ(readFile(file), textMode("line\n"));
    // After finish the level still applies and lines are written without a lock.
    logPrint(1, "after\n");
    EXPECT_EQ(readFile(file), textMode("line\nafter\n"));
}

TEST_F(LoggerTest, ConsoleAndDebuggerGetTheLineToo) {
    testsupport::setEnv("QUILLORY_DEBUG_OUTPUT", "1");
#ifdef _WIN32
    // There the line would go to a debugger, which the test cannot see; and
    // under Wine (its 32-bit side run by qemu-i386) OutputDebugStringA ends
    // the process once an earlier test has switched the runtime's locale.
    const bool toDebugger = false;
#else
    const bool toDebugger = true;
#endif
    logInit(10, fileName.c_str(), false, toDebugger, true, true);
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    logPrint(1, "both %d\n", 2);
    std::string out = testing::internal::GetCapturedStdout();
    std::string err = testing::internal::GetCapturedStderr();
    testsupport::unsetEnv("QUILLORY_DEBUG_OUTPUT");
    EXPECT_EQ(out, "both 2\n");
#ifndef _WIN32
    // Our layer hands debugger output to standard error when asked to;
    // Windows hands it to a debugger.
    EXPECT_NE(err.find("both 2"), std::string::npos);
#endif
    EXPECT_EQ(readFile(file), textMode("both 2\n"));
}

TEST_F(LoggerTest, WideInitNarrowsTheName) {
    fs::path wideFile = scratch.path() / "wide.txt";
    std::wstring name = testsupport::widened(CP_ACP, scratch.ansiPath("wide.txt"));
    logInitW(4, name.c_str(), false, false, true);
    logPrint(4, "w\n");
    EXPECT_EQ(readFile(wideFile), textMode("w\n"));
}

#ifndef _WIN32
// Windows' ANSI file functions take paths of at most MAX_PATH (260)
// characters, so there the file of 999 cannot be made.
TEST_F(LoggerTest, OverlongFileNameIsCutNotOverrun) {
    // A real path of exactly 999 characters, then a name that runs past it.
    fs::path deep = scratch.path();
    while (deep.string().size() < 850) deep /= std::string(100, 'd');
    fs::create_directories(deep);
    // Counted in the ANSI code page, in which the logger takes the name.
    std::string target = testsupport::ansiPath((deep / "").string());
    const std::string name(999 - target.size(), 'f');
    target += name;
    ASSERT_EQ(target.size(), 999u);
    std::string overlong = target + std::string(600, 'z');
    logInit(1, overlong.c_str(), false, false, true, false);
    logPrint(1, "cut\n");
    EXPECT_EQ(readFile(deep / name), textMode("cut\n"));
}
#endif

}  // namespace
