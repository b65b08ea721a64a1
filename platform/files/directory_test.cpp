#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "testsupport/scratchfolder.h"
#include "platform/win32.h"

namespace {

namespace fs = std::filesystem;

TEST(CurrentDirectory, WindowsSizesAndCodePage1252) {
    fs::path saved = fs::current_path();
    testsupport::ScratchFolder scratch("cwd-");
    const std::string pattern = scratch.path().string();
    fs::path dir = fs::path(pattern) / "W\xC3\xB6rter";
    fs::create_directory(dir);
    fs::current_path(dir);
    std::string expected = scratch.ansiPath() + "/W\xF6rter";
    auto length = static_cast<DWORD>(expected.size());

    EXPECT_EQ(GetCurrentDirectoryA(0, nullptr), length + 1);
    char small[4] = "abc";
    EXPECT_EQ(GetCurrentDirectoryA(sizeof small, small), length + 1);
    std::string buffer(length, '#');
    EXPECT_EQ(GetCurrentDirectoryA(length, buffer.data()), length + 1);
    buffer.assign(length + 1, '#');
    EXPECT_EQ(GetCurrentDirectoryA(length + 1, buffer.data()), length);
    EXPECT_EQ(buffer, expected + '\0');
    // Paths built from it with "\" reach the same files.
    std::string file = expected + "\\f.txt";
    std::FILE* stream = _fsopen(file.c_str(), "w", _SH_DENYNO);
    ASSERT_NE(stream, nullptr);
    std::fclose(stream);
    EXPECT_TRUE(fs::exists(dir / "f.txt"));

    // A removed directory cannot be had.
    fs::remove_all(pattern);
    EXPECT_EQ(GetCurrentDirectoryA(0, nullptr), 0u);
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    fs::current_path(saved);
}

}  // namespace
