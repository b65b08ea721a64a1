#include "common/files.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/resource.h>

#include <csignal>
#endif
#include <filesystem>
#include <fstream>

#include "testsupport/scratchfolder.h"

namespace {

namespace fs = std::filesystem;

class Scratch {
public:
    std::string write(const std::string& name, const std::string& bytes) const {
        fs::create_directories(host(name).parent_path());
        std::ofstream(host(name), std::ios::binary) << bytes;
        return path(name);
    }
    std::FILE* open(const std::string& name, const char* mode = "rb") const {
        return std::fopen(host(name).string().c_str(), mode);
    }
    fs::path host(const std::string& name) const { return m_folder.path() / name; }
    // Windows form, as callers above the layer name files.
    std::string path(const std::string& name) const { return m_folder.windowsPath(name); }

private:
    testsupport::ScratchFolder m_folder{"quill-files-"};
};

}  // namespace

TEST(LineReaders, SplitLinesAsThePartsOfTheFileSay) {
    Scratch scratch;
    scratch.write("a.txt", "ab\r\ncd\r\n\n#c1\n#c2\n\n x\ry\n\xFF" "end");
    std::FILE* stream = scratch.open("a.txt");
    ASSERT_NE(stream, nullptr);
    std::string line;
    EXPECT_EQ(readLine(stream, line), "ab");
    EXPECT_EQ(readLine(stream, line), "cd");
    EXPECT_EQ(readLine(stream, line), "");
    EXPECT_EQ(readLineSkipComments(stream, line), "") << "an empty line is no comment";
    EXPECT_EQ(readLineSkipComments(stream, line), " x\ry");
    EXPECT_EQ(readLine(stream, line), "\xFF" "end");
    EXPECT_EQ(readLine(stream, line), "");
    EXPECT_TRUE(std::feof(stream));
    std::fclose(stream);
}

TEST(LineReaders, BufferReadersStayWithinTheirBuffers) {
    Scratch scratch;
    scratch.write("b.txt", "abcd\r\nefgh\nK\xE4se\nlast");
    std::FILE* stream = scratch.open("b.txt");
    char buffer[7] = "######";
    EXPECT_STREQ(readLineBuf(stream, buffer, 7), "abcd");
    EXPECT_STREQ(readLineBuf(stream, buffer, 5), "efgh") << "a line of exactly the room";
    EXPECT_STREQ(readLineBuf(stream, buffer, 1), "");
    char untouched = 'u';
    readLineBuf(stream, &untouched, 0);
    EXPECT_EQ(untouched, 'u');
    std::fclose(stream);

    // Lines that fit with their line end come whole, the line end consumed;
    // a longer one goes on in the next call. Nothing is written beyond the
    // length given.
    struct Case {
        const char* bytes;
        int length;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"abc\nX\n", 4, {"abc", "X"}},
        {"ab\r\nX\n", 4, {"ab", "X"}},
        {"abcdefg\n\n", 4, {"abc", "def", "g", ""}},
        {"ab\rc", 3, {"ab", "\rc"}},
    };
    for (const Case& c : cases) {
        scratch.write("fit.txt", c.bytes);
        std::FILE* fit = scratch.open("fit.txt");
        ASSERT_NE(fit, nullptr);
        std::string room(static_cast<std::size_t>(c.length) + 4, '#');
        for (const std::string& expected : c.lines) {
            EXPECT_EQ(readLineBuf(fit, room.data(), c.length), expected) << c.bytes;
            EXPECT_EQ(room.substr(static_cast<std::size_t>(c.length)), "####") << c.bytes;
        }
        EXPECT_STREQ(readLineBuf(fit, room.data(), c.length), "") << c.bytes;
        EXPECT_TRUE(std::feof(fit)) << c.bytes;
        std::fclose(fit);
    }

    // Wide lines are read from a text-mode stream: from a binary one the
    // Windows runtime reads UTF-16.
    stream = scratch.open("b.txt", "r");
    std::wstring line = L"unchanged";
    wchar_t wide[4];
    EXPECT_STREQ(readLineBufW(stream, wide, 4), L"abc");
    readLineW(stream, line);  // the rest of the first line
    EXPECT_EQ(readLineW(stream, line), L"efgh");
    EXPECT_EQ(readLineW(stream, line), L"Käse");
    EXPECT_EQ(readLineW(stream, line), L"last") << "the last line without its line feed";
    EXPECT_EQ(readLineW(stream, line), L"last") << "unchanged at the end";
    EXPECT_STREQ(readLineBufW(stream, wide, 4), L"");
    std::fclose(stream);
}

TEST(FindFilesInTree, SubdirectoriesFirstThenTheDirectorysOwnFiles) {
    Scratch scratch;
    for (const char* name : {"a.dll", "b.txt", "s/c.dll", "s/t/e.DLL", "u/d.dll"}) {
        scratch.write(name, "x");
    }
    const std::string d = scratch.path("");
    std::vector<std::string> files = {"kept"};
    findFiles("*.dll", d, files, true);
    EXPECT_EQ(files, (std::vector<std::string>{"kept", d + "\\s\\t\\e.DLL", d + "\\s\\c.dll",
                                                d + "\\u\\d.dll", d + "\\a.dll"}));
    files.clear();
    EXPECT_EQ(findFiles("*.dll", d, files, false), (std::vector<std::string>{d + "\\a.dll"}));
    EXPECT_TRUE(findFiles("*.dll", d + "\\missing", files, true).size() == 1);

#ifndef _WIN32
    // A folder reached again by a link is not entered again: a way back up,
    // and a way across to a folder the search is not in. (Windows makes
    // links only with a privilege that tests do not have.)
    fs::create_directory_symlink("..", scratch.host("s/up"));
    fs::create_directory_symlink("../s/t", scratch.host("u/across"));
    files.clear();
    findFiles("*.dll", d, files, true);
    EXPECT_EQ(files, (std::vector<std::string>{d + "\\s\\t\\e.DLL", d + "\\s\\c.dll",
                                                d + "\\u\\across\\e.DLL", d + "\\u\\d.dll",
                                                d + "\\a.dll"}));
#endif
}

TEST(Paths, TakenApartWithoutFixedBuffers) {
    EXPECT_EQ(fileNameOf("D:\\x\\y.txt", true), "y.txt");
    EXPECT_EQ(fileNameOf("D:\\x\\y.txt", false), "y");
    EXPECT_EQ(directoryOf("D:\\x\\y.txt", true), "D:\\x\\");
    EXPECT_EQ(directoryOf("D:\\x\\y.txt", false), "\\x\\");
    const std::string longExtension = ".0123456789012345678901234567890123456789";
    EXPECT_EQ(fileNameOf("C:\\a\\b" + longExtension, true), "b" + longExtension);
#ifndef _WIN32
    // The Windows runtime's _splitpath takes directories of at most _MAX_DIR
    // (256) characters.
    std::string deep = "C:";
    for (int i = 0; i < 300; ++i) deep += "\\folder";
    EXPECT_EQ(directoryOf(deep + "\\f.txt", false), deep.substr(2) + "\\");
#endif
}

TEST(Copying, WholeOrNotAtAll) {
    Scratch scratch;
    const std::string source = scratch.write("src.bin", std::string(5000, 'q'));
    EXPECT_EQ(fileSize(source), 5000);
    EXPECT_EQ(fileSize(scratch.path("none")), 0);
    EXPECT_FALSE(copyFileBytes(scratch.path("none"), scratch.path("dst.bin")));
    EXPECT_FALSE(fileExists(scratch.path("dst.bin")));
    ASSERT_TRUE(copyFileBytes(source, scratch.path("dst.bin")));
    EXPECT_EQ(fileSize(scratch.path("dst.bin")), 5000);
    EXPECT_TRUE(fileIsReadWrite(scratch.path("dst.bin")));

#ifndef _WIN32
    // A destination that cannot hold it all is not left half written: made
    // so by a file size limit and a full device, both POSIX.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    rlimit small = old;
    small.rlim_cur = 1000;
    setrlimit(RLIMIT_FSIZE, &small);
    EXPECT_FALSE(copyFileBytes(source, scratch.path("cut.bin")));
    setrlimit(RLIMIT_FSIZE, &old);
    EXPECT_FALSE(fileExists(scratch.path("cut.bin")));

    EXPECT_FALSE(copyFileBytes(source, "/dev/full"));
    EXPECT_TRUE(fileExists("/dev/full")) << "a device is not removed";

    // A source that gives more than its size said, as one that grows while
    // it is read does: the kernel's files say 0 and then give their text.
    ASSERT_EQ(fileSize("/proc/self/status"), 0);
    EXPECT_FALSE(copyFileBytes("/proc/self/status", scratch.path("grown.txt")));
    EXPECT_FALSE(fileExists(scratch.path("grown.txt")));
#endif
    EXPECT_FALSE(copyFileBytes(source, scratch.path("")));
    EXPECT_TRUE(removeFile(scratch.path("dst.bin")));
    EXPECT_FALSE(removeFile(scratch.path("dst.bin")));
}
