#include "platform/files/file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include <gtest/gtest.h>

#include "testsupport/scratchfolder.h"
#include "platform/testing.h"
#include "platform/win32.h"

namespace {

namespace fs = std::filesystem;

// Each case in a fresh temporary folder of its own.
class FileHandle : public ::testing::Test {
protected:
    testsupport::ScratchFolder scratch{"file-"};
    const fs::path dir = scratch.path();
};

TEST_F(FileHandle, ReadsAWholeFileOrSaysWhyNot) {
    std::ofstream(dir / "W\xC3\xB6rter.mp3", std::ios::binary) << "0123456789";
    fs::create_directory(dir / "folder");
    ASSERT_EQ(mkfifo((dir / "pipe").c_str(), 0600), 0);
    // Names in Windows form: backslashes, code page 1252.
    auto open = [this](const std::string& name, DWORD access = GENERIC_READ) {
        return CreateFileA((scratch.ansiPath() + "\\" + name).c_str(), access, FILE_SHARE_READ,
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
        {"pipe", ERROR_ACCESS_DENIED},
    };
    for (const auto& [name, error] : refused) {
        EXPECT_EQ(open(name), INVALID_HANDLE_VALUE) << name;
        EXPECT_EQ(GetLastError(), error) << name;
    }
    EXPECT_EQ(open("W\xF6rter.mp3", GENERIC_WRITE), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
}

TEST_F(FileHandle, TellsAFileOrFolderFromEveryOtherHoweverNamed) {
    std::ofstream(dir / "data.bin", std::ios::binary) << "0123456789";
    fs::create_directory_symlink(".", dir / "self");
    auto information = [this](const std::string& name) {
        BY_HANDLE_FILE_INFORMATION found{};
        HANDLE file = CreateFileA((scratch.ansiPath() + "\\" + name).c_str(), GENERIC_READ,
                                  FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_FLAG_BACKUP_SEMANTICS, nullptr);
        EXPECT_NE(file, INVALID_HANDLE_VALUE) << name;
        EXPECT_TRUE(GetFileInformationByHandle(file, &found)) << name;
        CloseHandle(file);
        return found;
    };
    auto sameFile = [](const BY_HANDLE_FILE_INFORMATION& a, const BY_HANDLE_FILE_INFORMATION& b) {
        return a.dwVolumeSerialNumber == b.dwVolumeSerialNumber &&
               a.nFileIndexHigh == b.nFileIndexHigh && a.nFileIndexLow == b.nFileIndexLow;
    };
    BY_HANDLE_FILE_INFORMATION folder = information("");
    BY_HANDLE_FILE_INFORMATION file = information("data.bin");
    EXPECT_TRUE(sameFile(folder, information("self")));
    EXPECT_TRUE(sameFile(folder, information("self\\self")));
    EXPECT_FALSE(sameFile(folder, file));
    EXPECT_TRUE(sameFile(file, information("self\\data.bin")));
    EXPECT_EQ(folder.dwFileAttributes, FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_EQ(file.dwFileAttributes, FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(file.nFileSizeLow, 10u);
    EXPECT_EQ(file.nNumberOfLinks, 1u);
}

}  // namespace
