#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>

#include <gtest/gtest.h>

#include "platform/registry/registryfile.h"
#include "platform/win32.h"

namespace {

namespace fs = std::filesystem;

constexpr char kKey[] = "SOFTWARE\\Brenvall\\Quillory\\3.0";

class Registry : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "registry-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        m_dir = pattern;
        m_file = (m_dir / "registry.reg").string();
        setenv("QUILLORY_REGISTRY", m_file.c_str(), 1);
    }
    void TearDown() override {
        unsetenv("QUILLORY_REGISTRY");
        fs::remove_all(m_dir);
    }
    void write(const std::string& bytes) {
        std::ofstream(m_file, std::ios::binary | std::ios::trunc) << bytes;
    }
    void writeLauncherKey(const std::string& values) {
        write("Windows Registry Editor Version 5.00\r\n\r\n"
              "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Brenvall\\Quillory\\3.0]\r\n" + values);
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

    fs::path m_dir;
    std::string m_file;
};

TEST_F(Registry, TheLauncherReadsItsValues) {
    writeLauncherKey("\"RootDirectory\"=\"C:\\\\Quillory\"\r\n\"Language\"=\"Fran\xE7" "ais\"\r\n"
                     "\"Bare\"=hex(1):45,00,6e,00\r\n\"Wide\"=hex(1):42,01,3d,d8,00,de,00,00\r\n"
                     "\"Count\"=dword:00000007\r\n");
    std::string text;
    DWORD type = 0;
    EXPECT_EQ(read("RootDirectory", text, &type), ERROR_SUCCESS);
    EXPECT_EQ(text, std::string("C:\\Quillory", 12));
    EXPECT_EQ(type, REG_SZ);
    EXPECT_EQ(read("LANGUAGE", text), ERROR_SUCCESS);
    EXPECT_EQ(text, std::string("Fran\xE7" "ais", 9));
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
    ASSERT_EQ(RegOpenKeyExA(software, "brenvall\\quillory\\3.0", 0, KEY_READ, &product), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(software), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(software), ERROR_INVALID_HANDLE);
    EXPECT_EQ(RegQueryValueExA(software, "", nullptr, nullptr, nullptr, nullptr), ERROR_INVALID_HANDLE);
    EXPECT_EQ(RegQueryValueExA(product, nullptr, nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(product), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(HKEY_LOCAL_MACHINE), ERROR_SUCCESS);
    EXPECT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "", 0, KEY_READ, nullptr), ERROR_INVALID_PARAMETER);
}

TEST_F(Registry, QueriesCheckSizesRightsAndParameters) {
    writeLauncherKey("\"Language\"=\"English\"\r\n");
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, kKey, 0, KEY_READ, &key), ERROR_SUCCESS);
    char buffer[8] = "xxxxxxx";
    DWORD size = 7;
    EXPECT_EQ(RegQueryValueExA(key, "Language", nullptr, nullptr, reinterpret_cast<LPBYTE>(buffer), &size),
              ERROR_MORE_DATA);
    EXPECT_EQ(size, 8u);
    DWORD reserved = 0;
    EXPECT_EQ(RegQueryValueExA(key, "Language", &reserved, nullptr, nullptr, &size), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(RegQueryValueExA(key, "Language", nullptr, nullptr, reinterpret_cast<LPBYTE>(buffer), nullptr),
              ERROR_INVALID_PARAMETER);
    // The key leaves the file while it is open.
    write("Windows Registry Editor Version 5.00\r\n");
    EXPECT_EQ(RegQueryValueExA(key, "Language", nullptr, nullptr, nullptr, &size), ERROR_KEY_DELETED);
    RegCloseKey(key);

    writeLauncherKey("\"Language\"=\"English\"\r\n");
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, kKey, 0, KEY_SET_VALUE, &key), ERROR_SUCCESS);
    EXPECT_EQ(RegQueryValueExA(key, "Language", nullptr, nullptr, nullptr, &size), ERROR_ACCESS_DENIED);
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

}  // namespace
