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

class FileHandle : public testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "file-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        m_dir = pattern;
        std::ofstream(m_dir / "W\xC3\xB6rter.mp3", std::ios::binary) << "0123456789";
    }
    void TearDown() override { fs::remove_all(m_dir); }

    // A name in Windows form: backslashes, code page 1252.
    std::string name(const std::string& rest) const { return m_dir.string() + "\\" + rest; }
    HANDLE open(const std::string& rest) const {
        return CreateFileA(name(rest).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    }

    fs::path m_dir;
};

TEST_F(FileHandle, ReadsAWholeFile) {
    HANDLE file = open("W\xF6rter.mp3");
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD high = 99;
    EXPECT_EQ(GetFileSize(file, &high), 10u);
    EXPECT_EQ(high, 0u);
    char buffer[16] = {};
    DWORD done = 0;
    EXPECT_TRUE(ReadFile(file, buffer, 4, &done, nullptr));
    EXPECT_EQ(std::string(buffer, done), "0123");
    EXPECT_TRUE(ReadFile(file, buffer, sizeof buffer, &done, nullptr));
    EXPECT_EQ(std::string(buffer, done), "456789");
    EXPECT_TRUE(ReadFile(file, buffer, sizeof buffer, &done, nullptr));
    EXPECT_EQ(done, 0u);

    platform::testing::failNextFileReads(1);
    done = 5;
    EXPECT_FALSE(ReadFile(file, buffer, 4, &done, nullptr));
    EXPECT_EQ(GetLastError(), ERROR_READ_FAULT);
    EXPECT_EQ(done, 0u);
    EXPECT_FALSE(ReadFile(file, buffer, 4, nullptr, nullptr));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);

    EXPECT_TRUE(CloseHandle(file));
    EXPECT_FALSE(ReadFile(file, buffer, 4, &done, nullptr));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_EQ(GetFileSize(file, nullptr), INVALID_FILE_SIZE);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
}

TEST_F(FileHandle, TellsWhyItCannotOpen) {
    fs::create_directory(m_dir / "folder");
    struct Case {
        std::string name;
        DWORD error;
    };
    const Case cases[] = {
        {"missing.mp3", ERROR_FILE_NOT_FOUND},
        {"nowhere\\missing.mp3", ERROR_PATH_NOT_FOUND},
        {"folder", ERROR_ACCESS_DENIED},
    };
    for (const Case& c : cases) {
        SetLastError(0);
        EXPECT_EQ(open(c.name), INVALID_HANDLE_VALUE) << c.name;
        EXPECT_EQ(GetLastError(), c.error) << c.name;
    }
    EXPECT_EQ(CreateFileA(name("W\xF6rter.mp3").c_str(), GENERIC_WRITE, 0, nullptr,
                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr),
              INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
}

}  // namespace
