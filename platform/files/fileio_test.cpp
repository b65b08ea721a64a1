#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include <gtest/gtest.h>

#include "testsupport/ansipath.h"
#include "testsupport/scratchfolder.h"
#include "platform/testing.h"
#include "platform/win32.h"

namespace {

namespace fs = std::filesystem;

// Each case in a fresh temporary folder of its own.
class FileOpen : public ::testing::Test {
protected:
    testsupport::ScratchFolder scratch{"fsopen-"};
    const fs::path dir = scratch.path();
};

TEST_F(FileOpen, WindowsPathsReachTheHostFileSystem) {
    fs::create_directory(dir / "sub");
    // "sub\W\xF6rter.txt": a backslash and a code page 1252 letter.
    std::string windowsName = scratch.ansiPath("sub") + "\\W\xF6rter.txt";
    std::FILE* file = _fsopen(windowsName.c_str(), "w", _SH_DENYNO);
    ASSERT_NE(file, nullptr);
    std::fputs("x", file);
    std::fclose(file);
    EXPECT_TRUE(fs::exists(dir / "sub" / "W\xC3\xB6rter.txt"));
    EXPECT_EQ(_fsopen(windowsName.c_str(), "r", 0), nullptr);
    EXPECT_EQ(_fsopen((scratch.ansiPath() + "\\missing\\x").c_str(), "r", _SH_DENYNO), nullptr);
}

TEST_F(FileOpen, RefusesWhatWindowsDoesNotOpenAsAFileWithoutWaiting) {
    fs::create_directory(dir / "folder");
    ASSERT_EQ(mkfifo((dir / "pipe").c_str(), 0600), 0);
    int listener = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, "socket", sizeof "socket");
    // Bound by its name from inside the folder: a socket's path has room for
    // 107 bytes, fewer than a temporary directory's path may take.
    const fs::path saved = fs::current_path();
    fs::current_path(dir);
    const int bound = bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address);
    fs::current_path(saved);
    ASSERT_EQ(bound, 0);

    // With a reader at the pipe's other end, opening it for writing would
    // succeed at once; without a writer, opening it for reading would wait.
    int reader = open((dir / "pipe").c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    for (const char* name : {"folder", "pipe", "socket"}) {
        for (const char* mode : {"w", "ab", "r", "rb"}) {
            errno = 0;
            std::FILE* stream =
                _fsopen((scratch.ansiPath() + "\\" + name).c_str(), mode, _SH_DENYNO);
            EXPECT_EQ(stream, nullptr) << name << " " << mode;
            EXPECT_EQ(errno, EACCES) << name << " " << mode;
            if (stream != nullptr) std::fclose(stream);
        }
    }
    close(reader);
    close(listener);
}

TEST_F(FileOpen, BinaryModeEndsWithItsStream) {
    std::ofstream(dir / "text.txt", std::ios::binary) << "K\xE4se\n";
    wchar_t line[8];
    // The C library hands out a closed stream's address again; a stream
    // opened there by anyone else is text.
    for (int round = 0; round < 4; ++round) {
        std::FILE* binary = _fsopen((scratch.ansiPath() + "\\text.txt").c_str(), "rb", _SH_DENYNO);
        ASSERT_NE(binary, nullptr);
        EXPECT_TRUE(platform::isBinaryStream(binary));
        std::fclose(binary);
        EXPECT_FALSE(platform::isBinaryStream(binary));
        std::FILE* text = std::fopen((dir / "text.txt").c_str(), "r");
        ASSERT_NE(text, nullptr);
        EXPECT_STREQ(fgetws(line, 8, text), L"K\u00e4se\n");
        std::fclose(text);
    }
}

// The descriptors this process holds open.
std::size_t openDescriptors() {
    return static_cast<std::size_t>(std::distance(fs::directory_iterator("/proc/self/fd"),
                                                  fs::directory_iterator()));
}

// Out of memory to remember a binary stream in, _fsopen answers ENOMEM and
// leaves neither the stream nor its descriptor open.
TEST_F(FileOpen, ABinaryStreamItCannotRememberIsClosed) {
    std::ofstream(dir / "data.bin", std::ios::binary) << "data";
    const std::string name = testsupport::ansiPath(dir.string() + "\\data.bin");
    const std::size_t before = openDescriptors();
    platform::testing::failNextBinaryStreamRecords(1);
    errno = 0;
    EXPECT_EQ(_fsopen(name.c_str(), "rb", _SH_DENYNO), nullptr);
    EXPECT_EQ(errno, ENOMEM);
    EXPECT_EQ(openDescriptors(), before);

    std::FILE* file = _fsopen(name.c_str(), "rb", _SH_DENYNO);
    ASSERT_NE(file, nullptr);
    EXPECT_TRUE(platform::isBinaryStream(file));
    char bytes[8] = {};
    EXPECT_EQ(std::fread(bytes, 1, sizeof bytes, file), 4u);
    std::fclose(file);
}

}  // namespace
