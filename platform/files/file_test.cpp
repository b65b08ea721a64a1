#include "platform/files/file.h"

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include <gtest/gtest.h>

#include "platform/testing.h"
#include "platform/win32.h"

namespace {

namespace fs = std::filesystem;

TEST(FileHandle, ReadsAWholeFileOrSaysWhyNot) {
    std::string pattern = (fs::temp_directory_path() / "file-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    fs::path dir = pattern;
    std::ofstream(dir / "W\xC3\xB6rter.mp3", std::ios::binary) << "0123456789";
    fs::create_directory(dir / "folder");
    // Names in Windows form: backslashes, code page 1252.
    auto open = [&dir](const std::string& name, DWORD access = GENERIC_READ) {
        return CreateFileA((dir.string() + "\\" + name).c_str(), access, FILE_SHARE_READ,
                           nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    };

    HANDLE file = open("W\xF6rter.mp3");
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetFileSize(file, nullptr), 10u);
    char buffer[16] = {};
    DWORD done = 0;
    EXPECT_TRUE(ReadFile(file, buffer, 4, &done, nullptr));
    EXPECT_EQ(std::string(buffer, done), "0123");
    platform::testing::failNextFileReads(1);
    EXPECT_FALSE(ReadFile(file, buffer, 4, &done, nullptr));
    EXPECT_EQ(GetLastError(), ERROR_READ_FAULT);
    EXPECT_EQ(done, 0u);
    EXPECT_TRUE(ReadFile(file, buffer, sizeof buffer, &done, nullptr));
    EXPECT_EQ(std::string(buffer, done), "456789");
    EXPECT_TRUE(CloseHandle(file));
    EXPECT_FALSE(ReadFile(file, buffer, 4, &done, nullptr));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);

    const std::pair<std::string, DWORD> refused[] = {
        {"missing.mp3", ERROR_FILE_NOT_FOUND},
        {"nowhere\\missing.mp3", ERROR_PATH_NOT_FOUND},
        {"folder", ERROR_ACCESS_DENIED},
    };
    for (const auto& [name, error] : refused) {
        EXPECT_EQ(open(name), INVALID_HANDLE_VALUE) << name;
        EXPECT_EQ(GetLastError(), error) << name;
    }
    EXPECT_EQ(open("W\xF6rter.mp3", GENERIC_WRITE), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    fs::remove_all(dir);
}

}  // namespace
