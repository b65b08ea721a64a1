// The helpers every test program leans on: a wrong answer here would pass
// or fail tests for reasons of its own.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>

#include <unistd.h>

#include "testsupport/ansipath.h"
#include "testsupport/environment.h"
#include "testsupport/programs.h"
#include "testsupport/scratchfolder.h"
#include "testsupport/testdata.h"
#include "testsupport/wholefile.h"

namespace {

TEST(WholeFile, ReadsNoFileAsEmptyAndThrowsWhereItCannotWrite) {
    const testsupport::ScratchFolder folder("quill-wholefile-");
    EXPECT_EQ(testsupport::readFile(folder.path() / "missing.bin"), "");
    EXPECT_THROW(testsupport::writeFile(folder.path() / "no" / "folder.bin", "x"),
                 std::runtime_error);
}

class TestData : public ::testing::Test {
protected:
    void TearDown() override { testsupport::setEnv("QUILL_TEST_DATA", m_saved.c_str()); }

private:
    const char* const m_set = std::getenv("QUILL_TEST_DATA");
    const std::string m_saved = m_set != nullptr ? m_set : "";  // as CTest set it
};

TEST_F(TestData, NamesFilesOfTheFolderAndRefusesWhatIsNotThere) {
    const testsupport::ScratchFolder folder("quill-testdata-");
    testsupport::writeFile(folder.path() / "tone.wav", "RIFF");
    const std::string root = folder.path().string();
    testsupport::setEnv("QUILL_TEST_DATA", root.c_str());
    EXPECT_EQ(testsupport::testData("tone.wav"), root + "/tone.wav");
    EXPECT_EQ(testsupport::testData(), root + "/");
    EXPECT_THROW(testsupport::testData("missing.wav"), std::runtime_error);
    testsupport::unsetEnv("QUILL_TEST_DATA");
    EXPECT_THROW(testsupport::testData("tone.wav"), std::runtime_error);
}

// The folder as the narrow functions name it: each letter of code page 1252
// one byte, the same file as the host path.
TEST(ScratchFolder, GivesTheAnsiFormOfItsPaths) {
    const testsupport::ScratchFolder folder("quill-ansi-");
    const std::string ansi = folder.ansiPath();
    EXPECT_EQ(testsupport::widened(CP_ACP, ansi),
              testsupport::widened(CP_UTF8, folder.path().string()));
    EXPECT_EQ(folder.ansiPath("W\xC3\xB6rter/x.txt"), ansi + "/W\xF6rter/x.txt");
    EXPECT_EQ(testsupport::ansiPath(folder.path("\xE2\x82\xAC")), ansi + "/\x80");
}

TEST(AnsiPath, NamesTheFirstCharacterTheCodePageLacks) {
    const struct {
        const char* utf8;
        const char* lacking;
    } cases[] = {
        {"", ""},
        {"/tmp/a b, c = 100% +@! (x) [y] & z'\xC3\x9C", ""},
        {"/tmp/\xE2\x82\xAC\xC5\x93", ""},                  // € and oe: 0x80 and 0x9C
        {"/tmp/\xC5\x81\xC3\xB3" "d\xC5\xBA", "\xC5\x81"},     // Łódź: Ł
        {"/tmp/\xF0\x9F\x98\x80/\xC5\x81", "\xF0\x9F\x98\x80"},  // beyond the first plane
        {"/tmp/a\xDC" "b", "\xDC"},                         // a byte that is no UTF-8
        {"/tmp/\xEF\xBF\xBD", "\xEF\xBF\xBD"},                  // U+FFFD itself
    };
    for (const auto& c : cases) {
        EXPECT_EQ(testsupport::firstCharacterAnsiLacks(c.utf8), c.lacking) << c.utf8;
    }
}

class TemporaryDirectory : public ::testing::Test {
protected:
    void TearDown() override { testsupport::setEnv("TMPDIR", m_saved.c_str()); }

private:
    const std::string m_saved = std::getenv("TMPDIR");  // the program's own folder
};

TEST_F(TemporaryDirectory, IsAbsoluteAndTmpWhereTmpdirIsUnsetOrEmpty) {
    testsupport::setEnv("TMPDIR", "");
    EXPECT_EQ(testsupport::temporaryDirectory(), "/tmp");
    testsupport::unsetEnv("TMPDIR");
    EXPECT_EQ(testsupport::temporaryDirectory(), "/tmp");
    testsupport::setEnv("TMPDIR", ".");
    EXPECT_EQ(testsupport::temporaryDirectory(), std::filesystem::current_path() / ".");
}

// In one line, naming the folder and what to do; one that does not exist is
// checked on a whole test program (check-tmpdir-refusal).
TEST_F(TemporaryDirectory, ThatTheTestsCannotUseIsRefusedInOneLine) {
    enum Made { kFile, kFolder, kReadOnlyFolder };
    const std::string writeIn = "set TMPDIR to a folder the tests may write in";
    const struct {
        const char* name;
        Made made;
        std::string problem;
    } cases[] = {
        {"file", kFile, "is not a folder: " + writeIn},
        {"\xC5\x81\xC3\xB3" "d\xC5\xBA", kFolder,  // Łódź
         "holds \"\xC5\x81\" (U+0141), which code page 1252 lacks, and the code under test reads "
         "narrow paths in code page 1252: set TMPDIR to a folder whose path is in code page 1252"},
        {"a:b", kFolder,
         "holds \":\", which Windows allows in no file name, and the code under test names files "
         "in Windows form: set TMPDIR to a folder whose path holds none of \\:*?\"<>| and no "
         "control character"},
        // Last, since root, who writes in it all the same, skips it.
        {"read-only", kReadOnlyFolder, "takes no new folder (Permission denied): " + writeIn},
    };
    const testsupport::ScratchFolder base("quill-refused-");
    for (const auto& c : cases) {
        const std::filesystem::path folder = base.path() / c.name;
        if (c.made == kFile) {
            testsupport::writeFile(folder, "");
        } else {
            std::filesystem::create_directory(folder);
        }
        if (c.made == kReadOnlyFolder) {
            if (geteuid() == 0) GTEST_SKIP() << "root writes in a read-only folder";
            using std::filesystem::perms;
            const perms write = perms::owner_write | perms::group_write | perms::others_write;
            std::filesystem::permissions(folder, write, std::filesystem::perm_options::remove);
        }
        testsupport::setEnv("TMPDIR", folder.c_str());
        std::string said;
        try {
            const testsupport::ScratchFolder refused;
        } catch (const std::runtime_error& error) {
            said = error.what();
        }
        EXPECT_EQ(said, "the temporary directory \"" + folder.string() + "\" (TMPDIR) " + c.problem)
            << c.name;
    }
}

// No shell reads the arguments: each reaches the program as it is.
TEST(RunProgram, PassesEachArgumentAsItIsAndAnswersTheExitStatus) {
    const testsupport::ScratchFolder folder("quill-run-");
    const std::string odd = "a b'c\"$d`e;f";
    std::filesystem::create_directory(folder.path(odd));
    EXPECT_EQ(testsupport::runProgram({"sh", "-c", "printf '%s|' \"$@\"; pwd; exit 3", "sh", odd,
                                       "*"},
                                      folder.path(odd), folder.path("out.txt")),
              3);
    EXPECT_EQ(testsupport::readFile(folder.path() / "out.txt"),
              odd + "|*|" + folder.path(odd) + "\n");
    EXPECT_EQ(testsupport::runProgram({"quill-no-such-program"}), -1);
    EXPECT_EQ(testsupport::runProgram({"true"}, folder.path("missing")), -1);
}

}  // namespace
