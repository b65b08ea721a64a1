// The helpers every test program leans on: a wrong answer here would pass
// or fail tests for reasons of its own.
#include <gtest/gtest.h>

#include <cstdlib>
#include <stdexcept>
#include <string>

#include "testsupport/environment.h"
#include "testsupport/scratchfolder.h"
#include "testsupport/testdata.h"
#include "testsupport/wholefile.h"

namespace {

TEST(WholeFile, KeepsEveryByteAndReadsNoFileAsEmpty) {
    const testsupport::ScratchFolder folder("quill-wholefile-");
    const std::string bytes("line\r\nnext\n\0\xFF", 13);
    testsupport::writeFile(folder.path() / "data.bin", bytes);
    EXPECT_EQ(testsupport::readFile(folder.path() / "data.bin"), bytes);
    testsupport::writeBytes(folder.path() / "data.bin", {1, 0, 2});
    EXPECT_EQ(testsupport::readBytes(folder.path() / "data.bin"),
              (std::vector<unsigned char>{1, 0, 2}));
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

}  // namespace
