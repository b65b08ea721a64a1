#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/win32.h"
#include "testsupport/ansipath.h"
#include "testsupport/scratchfolder.h"

namespace {

namespace fs = std::filesystem;

class Folder {
public:
    std::string file(const std::string& name, const std::string& text = "x") const {
        fs::create_directories((m_path / name).parent_path());
        std::ofstream(m_path / name, std::ios::binary) << text;
        return (m_path / name).string();
    }
    // In Windows form, as the code above the layer names it.
    std::string windows(const std::string& name) const { return m_scratch.windowsPath(name); }

    const fs::path& host() const { return m_path; }

private:
    testsupport::ScratchFolder m_scratch{"quill-crtfiles-"};
    const fs::path& m_path = m_scratch.path();
};

std::vector<std::string> found(const std::string& pattern) {
    std::vector<std::string> names;
    _finddata_t entry{};
    std::intptr_t handle = _findfirst(pattern.c_str(), &entry);
    if (handle == -1) return names;
    do {
        names.push_back(std::string(entry.name) + ((entry.attrib & _A_SUBDIR) ? "/" : ""));
    } while (_findnext(handle, &entry) == 0);
    EXPECT_EQ(_findclose(handle), 0);
    return names;
}

}  // namespace

TEST(FindFiles, MatchesWildcardsAsWindowsDoesInNameOrder) {
    Folder folder;
    for (const char* name : {"b.DLL", "a.dll", "Readme", "c.txt", "ab.dllx", "sub/d.dll"}) {
        folder.file(name);
    }
    using Names = std::vector<std::string>;
    EXPECT_EQ(found(folder.windows("*.dll")), (Names{"a.dll", "b.DLL"}));
    EXPECT_EQ(found(folder.windows("*")),
              (Names{"./", "../", "a.dll", "ab.dllx", "b.DLL", "c.txt", "Readme", "sub/"}));
    EXPECT_EQ(found(folder.windows("*.*")), found(folder.windows("*")));
    EXPECT_EQ(found(folder.windows("?.d*")), (Names{"a.dll", "b.DLL"}));
    EXPECT_EQ(found(folder.windows("*.")), (Names{"./", "../", "Readme", "sub/"}));
    EXPECT_EQ(found(folder.windows("README")), (Names{"Readme"}));
    EXPECT_EQ(found(folder.windows("sub\\*.dll")), (Names{"d.dll"}));
    EXPECT_EQ(found(folder.windows("*D*l?")), (Names{"a.dll", "ab.dllx", "b.DLL"}));

    // Many stars before a letter the name lacks: every way of sharing 200
    // letters among seven stars would be tried in turn.
    folder.file("many/" + std::string(200, 'a'));
    EXPECT_EQ(found(folder.windows("many\\*a*a*a*a*a*a*a*b")), Names{});
    EXPECT_EQ(found(folder.windows("many\\*a*a*a*a*a*a*a?")), (Names{std::string(200, 'a')}));

    _finddata_t entry{};
    errno = 0;
    EXPECT_EQ(_findfirst(folder.windows("*.exe").c_str(), &entry), -1);
    EXPECT_EQ(errno, ENOENT);
    EXPECT_EQ(_findfirst(folder.windows("missing\\*").c_str(), &entry), -1);
    EXPECT_EQ(_findclose(12345), -1);
}

TEST(SplitPath, TakesPathsApartAsTheWindowsRuntimeDoes) {
    struct Case {
        const char* path;
        const char* drive;
        const char* directory;
        const char* name;
        const char* extension;
    };
    const Case cases[] = {
        {"D:\\x\\y.txt", "D:", "\\x\\", "y", ".txt"},
        {"x/y.tar.gz", "", "x/", "y.tar", ".gz"},
        {"C:name", "C:", "", "name", ""},
        {"dir.d\\file", "", "dir.d\\", "file", ""},
        {".profile", "", "", "", ".profile"},
        {"a.0123456789012345678901234567890123456789", "", "", "a",
         ".0123456789012345678901234567890123456789"},
    };
    for (const Case& c : cases) {
        std::string buffers[4];
        for (auto& b : buffers) b.assign(std::strlen(c.path) + 1, '#');
        _splitpath(c.path, buffers[0].data(), buffers[1].data(), buffers[2].data(),
                   buffers[3].data());
        EXPECT_STREQ(buffers[0].c_str(), c.drive) << c.path;
        EXPECT_STREQ(buffers[1].c_str(), c.directory) << c.path;
        EXPECT_STREQ(buffers[2].c_str(), c.name) << c.path;
        EXPECT_STREQ(buffers[3].c_str(), c.extension) << c.path;
    }
}

TEST(FileServices, AccessStatRemoveAndWideLines) {
    Folder folder;
    folder.file("data.txt", "ab\r\nK\xE4se\nlast");
    const std::string path = folder.windows("data.txt");
    EXPECT_EQ(_access(path.c_str(), 0), 0);
    EXPECT_EQ(_access(path.c_str(), 6), 0);
    EXPECT_EQ(_access(folder.windows("none").c_str(), 0), -1);
    EXPECT_EQ(_access(path.c_str(), 1), -1) << "no such mode";

    struct _stat status {};
    ASSERT_EQ(_stat(path.c_str(), &status), 0);
    EXPECT_EQ(status.st_size, 13);
    EXPECT_EQ(_stat(folder.windows("none").c_str(), &status), -1);

    std::FILE* stream = _fsopen(path.c_str(), "r", _SH_DENYNO);
    ASSERT_NE(stream, nullptr);
    wchar_t line[8];
    EXPECT_STREQ(fgetws(line, 8, stream), L"ab\n");
    EXPECT_STREQ(fgetws(line, 4, stream), L"Käs");
    EXPECT_STREQ(fgetws(line, 8, stream), L"e\n");
    EXPECT_STREQ(fgetws(line, 8, stream), L"last");
    EXPECT_EQ(fgetws(line, 8, stream), nullptr);
    std::fclose(stream);

    // In binary mode, as on Windows: UTF-16LE units, the carriage return kept,
    // a last odd byte no character.
    folder.file("wide.txt", std::string("a\0\r\0\n\0\x42\x01\n\0z", 11));
    stream = _fsopen(folder.windows("wide.txt").c_str(), "rb", _SH_DENYNO);
    ASSERT_NE(stream, nullptr);
    EXPECT_STREQ(fgetws(line, 8, stream), L"a\r\n");
    EXPECT_STREQ(fgetws(line, 8, stream), L"\x0142\n");
    EXPECT_EQ(fgetws(line, 8, stream), nullptr);
    std::fclose(stream);

    EXPECT_EQ(remove(path.c_str()), 0);
    EXPECT_EQ(_access(path.c_str(), 0), -1);
    EXPECT_EQ(remove(path.c_str()), -1);
}

TEST(FileServices, DesktopDirectoryFollowsTheXdgUserDirectories) {
    Folder folder;
    const fs::path hostHome = folder.host() / "home";
    const char* oldHome = std::getenv("HOME");
    const std::string savedHome = oldHome != nullptr ? oldHome : "";
    setenv("HOME", hostHome.c_str(), 1);
    setenv("XDG_CONFIG_HOME", (hostHome / "cfg").c_str(), 1);
    char path[MAX_PATH] = {};
    // The desktop's path, or FALSE where it does not fit the caller's
    // MAX_PATH characters, as a long temporary directory can make it.
    const auto expectDesktop = [&path](const std::string& expected) {
        const BOOL found = SHGetSpecialFolderPathA(nullptr, path, CSIDL_DESKTOPDIRECTORY, FALSE);
        if (expected.size() >= MAX_PATH) {
            EXPECT_FALSE(found) << expected;
            return;
        }
        ASSERT_TRUE(found) << expected;
        EXPECT_EQ(std::string(path), expected);
    };
    expectDesktop(testsupport::ansiPath((hostHome / "Desktop").string()));
    folder.file("home/cfg/user-dirs.dirs",
                "# made by hand\nXDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"\n");
    expectDesktop(testsupport::ansiPath((hostHome / "Schreibtisch").string()));
    EXPECT_FALSE(SHGetSpecialFolderPathA(nullptr, path, 0, FALSE));
    setenv("HOME", savedHome.c_str(), 1);
    unsetenv("XDG_CONFIG_HOME");
}
