#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include <gtest/gtest.h>

#include "platform/win32.h"

namespace {

namespace fs = std::filesystem;

TEST(FileOpen, WindowsPathsReachTheHostFileSystem) {
    std::string pattern = (fs::temp_directory_path() / "fsopen-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    fs::path dir = pattern;
    fs::create_directory(dir / "sub");
    // "sub\W\xF6rter.txt": a backslash and a code page 1252 letter.
    std::string windowsName = (dir / "sub").string() + "\\W\xF6rter.txt";
    std::FILE* file = _fsopen(windowsName.c_str(), "w", _SH_DENYNO);
    ASSERT_NE(file, nullptr);
    std::fputs("x", file);
    std::fclose(file);
    EXPECT_TRUE(fs::exists(dir / "sub" / "W\xC3\xB6rter.txt"));
    EXPECT_EQ(_fsopen(windowsName.c_str(), "r", 0), nullptr);
    EXPECT_EQ(_fsopen((dir.string() + "\\missing\\x").c_str(), "r", _SH_DENYNO), nullptr);
    fs::remove_all(dir);
}

}  // namespace
