#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/inotify.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "testsupport/scratchfolder.h"
#include "testsupport/wholefile.h"
#include "platform/registry/registryfile.h"
#include "platform/win32.h"

namespace {

namespace fs = std::filesystem;

constexpr char kKey[] = "SOFTWARE\\Brenvall\\Quillory\\3.0";

class Registry : public ::testing::Test {
protected:
    void SetUp() override { setenv("QUILLORY_REGISTRY", m_file.c_str(), 1); }
    void TearDown() override { unsetenv("QUILLORY_REGISTRY"); }
    std::string contents() { return testsupport::readFile(m_file); }
    static HKEY create(HKEY root, const char* subKey, DWORD* disposition = nullptr,
                       LSTATUS* result = nullptr) {
        HKEY key = nullptr;
        LSTATUS created = RegCreateKeyExA(root, subKey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                                          KEY_READ | KEY_WRITE, nullptr, &key, disposition);
        if (result != nullptr) *result = created;
        return key;
    }
    static LSTATUS setText(HKEY key, const char* name, const char* text) {
        return RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                              static_cast<DWORD>(std::strlen(text) + 1));
    }
    void write(const std::string& bytes) { testsupport::writeFile(m_file, bytes); }
    void writeLauncherKey(const std::string& values) {
        write(
            "Windows Registry Editor Version 5.00\r\n\r\n"
            "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Brenvall\\Quillory\\3.0]\r\n" +
            values);
    }
    // The value as the launcher reads it: the size, then the bytes.
    LSTATUS read(const char* name, std::string& text, DWORD* type = nullptr) {
        HKEY key = nullptr;
        LSTATUS result = RegOpenKeyExA(HKEY_LOCAL_MACHINE, kKey, 0, KEY_QUERY_VALUE, &key);
        if (result != ERROR_SUCCESS) return result;
        DWORD size = 0;
        result = RegQueryValueExA(key, name, nullptr, type, nullptr, &size);
        if (result == ERROR_SUCCESS) {
            text.assign(size, '#');
            result = RegQueryValueExA(key, name, nullptr, type,
                                      reinterpret_cast<LPBYTE>(text.data()), &size);
            text.resize(size);
        }
        EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
        return result;
    }

    testsupport::ScratchFolder m_scratch{"registry-"};
    const fs::path m_dir = m_scratch.path();
    std::string m_file = m_scratch.path("registry.reg");
};

TEST_F(Registry, TheLauncherReadsItsValues) {
    writeLauncherKey(
        "\"RootDirectory\"=\"C:\\\\Quillory\"\r\n\"Language\"=\"Gar\xE7on\"\r\n"
        "\"Bare\"=hex(1):45,00,6e,00\r\n\"Wide\"=hex(1):42,01,3d,d8,00,de,00,00\r\n"
        "\"Count\"=dword:00000007\r\n");
    std::string text;
    DWORD type = 0;
    EXPECT_EQ(read("RootDirectory", text, &type), ERROR_SUCCESS);
    EXPECT_EQ(text, std::string("C:\\Quillory", 12));
    EXPECT_EQ(type, REG_SZ);
    EXPECT_EQ(read("LANGUAGE", text), ERROR_SUCCESS);
    EXPECT_EQ(text, std::string("Gar\xE7on", 7));
    // Stored without its zero, it comes without it.
    EXPECT_EQ(read("Bare", text), ERROR_SUCCESS);
    EXPECT_EQ(text, "En");
    // Characters code page 1252 lacks come as "?", after best fit.
    EXPECT_EQ(read("Wide", text), ERROR_SUCCESS);
    EXPECT_EQ(text, std::string("l?", 3));
    EXPECT_EQ(read("Count", text, &type), ERROR_SUCCESS);
    EXPECT_EQ(text, std::string("\x07\0\0\0", 4));
    EXPECT_EQ(type, REG_DWORD);
    EXPECT_EQ(read("Missing", text), ERROR_FILE_NOT_FOUND);
}

TEST_F(Registry, KeysOpenAsWindowsOpensThem) {
    writeLauncherKey("@=\"default\"\r\n");
    struct Case {
        HKEY root;
        const char* subKey;
        LSTATUS expected;
    };
    const Case cases[] = {
        {HKEY_LOCAL_MACHINE, "software\\BRENVALL\\quillory\\3.0", ERROR_SUCCESS},
        {HKEY_LOCAL_MACHINE, "SOFTWARE\\Brenvall\\", ERROR_SUCCESS},
        {HKEY_LOCAL_MACHINE, "SOFTWARE", ERROR_SUCCESS},
        {HKEY_LOCAL_MACHINE, "", ERROR_SUCCESS},
        {HKEY_LOCAL_MACHINE, nullptr, ERROR_SUCCESS},
        {HKEY_USERS, "", ERROR_SUCCESS},
        {HKEY_CURRENT_USER, "SOFTWARE", ERROR_FILE_NOT_FOUND},
        {HKEY_LOCAL_MACHINE, "\\SOFTWARE", ERROR_FILE_NOT_FOUND},
        {HKEY_LOCAL_MACHINE, "SOFTWARE\\\\Brenvall", ERROR_FILE_NOT_FOUND},
        {HKEY_LOCAL_MACHINE, "HKEY_LOCAL_MACHINE\\SOFTWARE", ERROR_FILE_NOT_FOUND},
        {reinterpret_cast<HKEY>(0x1234), "", ERROR_INVALID_HANDLE},
    };
    for (const Case& c : cases) {
        HKEY key = reinterpret_cast<HKEY>(1);
        EXPECT_EQ(RegOpenKeyExA(c.root, c.subKey, 0, KEY_READ, &key), c.expected)
            << (c.subKey ? c.subKey : "(null)");
        if (c.expected == ERROR_SUCCESS) {
            EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
        } else {
            EXPECT_EQ(key, nullptr);
        }
    }
    // Below an open key; a closed handle is refused; predefined keys close.
    HKEY software = nullptr;
    HKEY product = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software", 0, KEY_READ, &software), ERROR_SUCCESS);
    ASSERT_EQ(RegOpenKeyExA(software, "brenvall\\quillory\\3.0", 0, KEY_READ, &product),
              ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(software), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(software), ERROR_INVALID_HANDLE);
    EXPECT_EQ(RegQueryValueExA(product, nullptr, nullptr, nullptr, nullptr, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(product), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(HKEY_LOCAL_MACHINE), ERROR_SUCCESS);
}

TEST_F(Registry, QueriesCheckSizesRightsAndParameters) {
    writeLauncherKey("\"Language\"=\"English\"\r\n");
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, kKey, 0, KEY_READ, &key), ERROR_SUCCESS);
    char buffer[8] = "xxxxxxx";
    DWORD size = 7;
    EXPECT_EQ(RegQueryValueExA(key, "Language", nullptr, nullptr, reinterpret_cast<LPBYTE>(buffer),
                               &size),
              ERROR_MORE_DATA);
    EXPECT_EQ(size, 8u);
    // The key leaves the file while it is open.
    write("Windows Registry Editor Version 5.00\r\n");
    EXPECT_EQ(RegQueryValueExA(key, "Language", nullptr, nullptr, nullptr, &size),
              ERROR_KEY_DELETED);
    RegCloseKey(key);

    writeLauncherKey("\"Language\"=\"English\"\r\n");
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, kKey, 0, KEY_SET_VALUE, &key), ERROR_SUCCESS);
    EXPECT_EQ(RegQueryValueExA(key, "Language", nullptr, nullptr, nullptr, &size),
              ERROR_ACCESS_DENIED);
    RegCloseKey(key);
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, kKey, 0, GENERIC_READ, &key), ERROR_SUCCESS);
    EXPECT_EQ(RegQueryValueExA(key, "Language", nullptr, nullptr, nullptr, &size), ERROR_SUCCESS);
    RegCloseKey(key);
}

TEST_F(Registry, AMissingFileIsEmptyAndAFaultySoundOnceOnStandardError) {
    ::testing::internal::CaptureStderr();
    std::string text;
    EXPECT_EQ(read("Language", text), ERROR_FILE_NOT_FOUND);
    HKEY key = nullptr;
    EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "", 0, KEY_READ, &key), ERROR_SUCCESS);
    RegCloseKey(key);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");

    ::testing::internal::CaptureStderr();
    writeLauncherKey("\"Language\"=\"English\"\r\nnonsense\r\n\"RootDirectory\"=\"/opt/q\"\r\n");
    EXPECT_EQ(read("Language", text), ERROR_SUCCESS);
    EXPECT_EQ(read("RootDirectory", text), ERROR_SUCCESS);
    std::string reported = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(reported.find(m_file + ":5: "), 0u) << reported;
    EXPECT_NE(reported.find("1 unsound line, read without them\n"), std::string::npos) << reported;
    EXPECT_EQ(std::count(reported.begin(), reported.end(), '\n'), 1);

    // Not a regular file: reported once, read as empty, never waited on.
    fs::remove(m_file);
    fs::create_directory(m_file);
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(read("Language", text), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(read("Language", text), ERROR_FILE_NOT_FOUND);
    reported = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(std::count(reported.begin(), reported.end(), '\n'), 1) << reported;
}

TEST_F(Registry, TheFileIsFoundWhereTheUserKeepsSettings) {
    unsetenv("QUILLORY_REGISTRY");
    const char* savedHome = getenv("HOME");
    std::string home = savedHome ? savedHome : "";
    setenv("XDG_CONFIG_HOME", "/etc/xdg-here", 1);
    EXPECT_EQ(platform::registry::registryFilePath(), "/etc/xdg-here/quillory/registry.reg");
    setenv("HOME", "/home/anna", 1);
    setenv("XDG_CONFIG_HOME", "relative", 1);
    EXPECT_EQ(platform::registry::registryFilePath(), "/home/anna/.config/quillory/registry.reg");
    unsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(platform::registry::registryFilePath(), "/home/anna/.config/quillory/registry.reg");
    setenv("QUILLORY_REGISTRY", "/tmp/r.reg", 1);
    EXPECT_EQ(platform::registry::registryFilePath(), "/tmp/r.reg");
    if (savedHome) setenv("HOME", home.c_str(), 1);
}

TEST_F(Registry, KeysAndValuesAreWrittenAsRegeditWritesThem) {
    fs::path file = m_dir / "new" / "registry.reg";
    m_file = file.string();
    setenv("QUILLORY_REGISTRY", m_file.c_str(), 1);
    DWORD disposition = 0;
    HKEY key = create(HKEY_CURRENT_USER, "Software\\Brenvall\\Q", &disposition);
    ASSERT_NE(key, nullptr);
    EXPECT_EQ(disposition, REG_CREATED_NEW_KEY);
    EXPECT_EQ(setText(key, "RootDirectory", "C:\\Quillory \xE4"), ERROR_SUCCESS);
    EXPECT_EQ(
        RegSetValueExA(key, "Count", 0, REG_DWORD, reinterpret_cast<const BYTE*>("\x07\0\0\0"), 4),
        ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
    std::string bytes = contents();
    EXPECT_EQ(bytes.substr(0, 4), std::string("\xFF\xFEW\0", 4));
    EXPECT_NE(bytes.find(std::string("\xE4\0\"\0\r\0\n\0", 8)), std::string::npos);
    // Renamed into place: nothing is left beside it.
    EXPECT_EQ(std::distance(fs::directory_iterator(file.parent_path()), fs::directory_iterator()),
              1);

    key = create(HKEY_CURRENT_USER, "software\\brenvall\\q", &disposition);
    EXPECT_EQ(disposition, REG_OPENED_EXISTING_KEY);
    std::string text;
    HKEY parent = create(HKEY_CURRENT_USER, "Software\\Brenvall");
    DWORD subKeys = 0, values = 0, longestName = 0, longestData = 0;
    EXPECT_EQ(RegQueryInfoKeyA(parent, nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr,
                               &values, nullptr, nullptr, nullptr, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(subKeys, 1u);
    EXPECT_EQ(values, 0u);
    EXPECT_EQ(RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr, &values,
                               &longestName, &longestData, nullptr, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(subKeys, 0u);
    EXPECT_EQ(values, 2u);
    EXPECT_EQ(longestName, 13u);
    EXPECT_EQ(longestData, 14u);
    char name[100];
    DWORD length = sizeof name;
    DWORD type = 0;
    EXPECT_EQ(RegEnumValueA(key, 1, name, &length, nullptr, &type, nullptr, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(std::string(name), "Count");
    EXPECT_EQ(length, 5u);
    EXPECT_EQ(type, REG_DWORD);
    length = 5;
    EXPECT_EQ(RegEnumValueA(key, 1, name, &length, nullptr, nullptr, nullptr, nullptr),
              ERROR_MORE_DATA);
    length = sizeof name;
    EXPECT_EQ(RegEnumValueA(key, 2, name, &length, nullptr, nullptr, nullptr, nullptr),
              ERROR_NO_MORE_ITEMS);

    // Rights and paths.
    HKEY readOnly = nullptr;
    ASSERT_EQ(RegOpenKeyExA(key, "", 0, KEY_QUERY_VALUE, &readOnly), ERROR_SUCCESS);
    EXPECT_EQ(setText(readOnly, "x", "y"), ERROR_ACCESS_DENIED);
    LSTATUS result = ERROR_SUCCESS;
    create(readOnly, "Sub", nullptr, &result);
    EXPECT_EQ(result, ERROR_ACCESS_DENIED);
    create(key, "\\Sub", nullptr, &result);
    EXPECT_EQ(result, ERROR_BAD_PATHNAME);
    create(key, "Line\nBreak", nullptr, &result);
    EXPECT_EQ(result, ERROR_INVALID_PARAMETER);
    for (HKEY open : {key, parent, readOnly}) RegCloseKey(open);
}

TEST_F(Registry, AFileThatIsNotSoundIsNeverOverwritten) {
    const std::string unsound = "Windows Registry Editor Version 5.00\r\nnonsense\r\n";
    write(unsound);
    ::testing::internal::CaptureStderr();
    LSTATUS result = ERROR_SUCCESS;
    create(HKEY_CURRENT_USER, "Software", nullptr, &result);
    ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(result, ERROR_REGISTRY_CORRUPT);
    EXPECT_EQ(contents(), unsound);
}

TEST_F(Registry, AWriteTheReaderWouldRefuseFailsAndChangesNothing) {
    HKEY key = create(HKEY_LOCAL_MACHINE, kKey);
    ASSERT_NE(key, nullptr);
    ASSERT_EQ(setText(key, "Language", "Deutsch"), ERROR_SUCCESS);
    ASSERT_EQ(setText(key, "Big", "x"), ERROR_SUCCESS);
    // Each further character of "Big" adds one UTF-16 unit to the file.
    const std::size_t most = platform::registry::kMostBytes;
    const std::size_t fits = 1 + (most - contents().size()) / 2;
    struct Case {
        std::size_t length;
        LSTATUS expected;
    };
    // The refused write first: what follows it still works.
    for (const Case& c : {Case{fits + 1, ERROR_NO_SYSTEM_RESOURCES}, Case{fits, ERROR_SUCCESS}}) {
        std::string before = contents();
        EXPECT_EQ(setText(key, "Big", std::string(c.length, 'x').c_str()), c.expected) << c.length;
        if (c.expected != ERROR_SUCCESS) {
            EXPECT_TRUE(contents() == before) << "the file changed";
        }
        EXPECT_LE(contents().size(), most);
        std::string text;
        EXPECT_EQ(read("Language", text), ERROR_SUCCESS);
        EXPECT_EQ(text, std::string("Deutsch", 8));
        EXPECT_EQ(read("Big", text), ERROR_SUCCESS);
        EXPECT_EQ(text.size(), (c.expected == ERROR_SUCCESS ? c.length : 1) + 1);
    }
    RegCloseKey(key);
}

TEST_F(Registry, AWriteRemovesOnlyTheTemporariesOfKilledWriters) {
    struct Case {
        const char* name;
        bool stays;
    };
    const Case cases[] = {
        {"registry.reg.backup", true},
        {"registry.reg.old001", true},
        {"registry.reg.quillory-write-Ab1", true},
        {"registry.reg.quillory-write-Ab12Cd.keep", true},
        {"registry.reg.quillory-write-Ab-2Cd", true},
        {"other.reg.quillory-write-Ab12Cd", true},
        {"registry.reg.quillory-write-Ab12Cd", false},  // left by a killed writer
    };
    for (const Case& c : cases) std::ofstream(m_dir / c.name) << c.name;
    HKEY key = create(HKEY_CURRENT_USER, "Software\\Q");
    ASSERT_NE(key, nullptr);
    EXPECT_EQ(setText(key, "a", "b"), ERROR_SUCCESS);
    RegCloseKey(key);
    for (const Case& c : cases) {
        std::ifstream in(m_dir / c.name);
        std::string kept(std::istreambuf_iterator<char>(in), {});
        EXPECT_EQ(in.is_open(), c.stays) << c.name;
        EXPECT_EQ(kept, c.stays ? c.name : "");
    }
}

TEST_F(Registry, WritersInSeveralProcessesLoseNothing) {
    constexpr int kWriters = 4;
    constexpr int kValues = 20;
    pid_t writers[kWriters];
    for (int writer = 0; writer < kWriters; ++writer) {
        writers[writer] = fork();
        ASSERT_GE(writers[writer], 0);
        if (writers[writer] > 0) continue;
        HKEY key = create(HKEY_CURRENT_USER, "Software\\Q");
        bool written = key != nullptr;
        for (int value = 0; value < kValues; ++value) {
            std::string name = "w" + std::to_string(writer) + "v" + std::to_string(value);
            written = written && setText(key, name.c_str(), "x") == ERROR_SUCCESS;
        }
        _exit(written ? 0 : 1);
    }
    for (pid_t writer : writers) {
        int status = -1;
        ASSERT_EQ(waitpid(writer, &status, 0), writer);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    HKEY key = create(HKEY_CURRENT_USER, "Software\\Q");
    DWORD values = 0;
    EXPECT_EQ(RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values,
                               nullptr, nullptr, nullptr, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(values, static_cast<DWORD>(kWriters * kValues));
    RegCloseKey(key);
}

// A file too large is refused by its size on every call, before a byte of
// it is read: the kernel reports every read of the file to a watch on it.
TEST_F(Registry, AFileLargerThanTheReaderTakesIsRefusedUnread) {
    writeLauncherKey("\"Language\"=\"Deutsch\"\r\n");
    fs::resize_file(m_file, platform::registry::kMostBytes + 1);
    const int watch = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    ASSERT_GE(watch, 0);
    ASSERT_GE(inotify_add_watch(watch, m_file.c_str(), IN_OPEN | IN_ACCESS), 0);

    ::testing::internal::CaptureStderr();
    std::string text;
    EXPECT_EQ(read("Language", text), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(read("Language", text), ERROR_FILE_NOT_FOUND);
    LSTATUS created = ERROR_SUCCESS;
    EXPECT_EQ(create(HKEY_CURRENT_USER, "Software\\Q", nullptr, &created), nullptr);
    EXPECT_EQ(created, ERROR_REGISTRY_CORRUPT);
    std::string reported = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(reported.find(m_file + " is larger than 16 MiB;"), std::string::npos) << reported;
    EXPECT_EQ(std::count(reported.begin(), reported.end(), '\n'), 1) << reported;
    EXPECT_EQ(fs::file_size(m_file), platform::registry::kMostBytes + 1);

    int opens = 0;
    int reads = 0;
    alignas(inotify_event) char events[4096];
    for (ssize_t length; (length = ::read(watch, events, sizeof events)) > 0;) {
        for (ssize_t at = 0; at < length;) {
            const auto* event = reinterpret_cast<const inotify_event*>(events + at);
            opens += (event->mask & IN_OPEN) != 0;
            reads += (event->mask & IN_ACCESS) != 0;
            at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
        }
    }
    close(watch);
    EXPECT_GT(opens, 0) << "the watch saw nothing";
    EXPECT_EQ(reads, 0) << "the file was read";
}

// The new file is written beside the file under a longer name: where only
// that name is too long, the write fails as any other call answers a name
// too long, and the keys stay as they were.
TEST_F(Registry, AWriteFailsAsTheFileServicesAnswerItsCause) {
    const std::string file = (m_dir / (std::string(236, 'r') + ".reg")).string();
    setenv("QUILLORY_REGISTRY", file.c_str(), 1);
    LSTATUS created = ERROR_SUCCESS;
    EXPECT_EQ(create(HKEY_CURRENT_USER, "Software\\Q", nullptr, &created), nullptr);
    EXPECT_EQ(created, ERROR_FILENAME_EXCED_RANGE);
    EXPECT_EQ(testsupport::readFile(file), "");
}

}  // namespace
