#include "common/registry.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "testsupport/environment.h"
#include "testsupport/scratchfolder.h"
#include "platform/win32.h"
#ifdef _WIN32
#include <shlwapi.h>
#endif

namespace {

#ifdef _WIN32
// Windows has one registry: the test's keys are made there and removed
// again, with the values the registry file of the other branch holds.
class Registry {
public:
    Registry() {
        remove();
        HKEY key = nullptr;
        RegCreateKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Brenvall\\Quillory\\3.0", 0, nullptr, 0,
                        KEY_WRITE, nullptr, &key, nullptr);
        setValue(key, "RootDirectory", REG_SZ, "C:\\Quillory", 12);
        setValue(key, "Language", REG_SZ, "de_de", 6);
        setValue(key, "Raw", REG_BINARY, "AB", 2);
        RegCloseKey(key);
        RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Q", 0, nullptr, 0, KEY_WRITE, nullptr, &key,
                        nullptr);
        RegCloseKey(key);
    }
    ~Registry() { remove(); }

private:
    static void setValue(HKEY key, const char* name, DWORD type, const char* data, DWORD size) {
        RegSetValueExA(key, name, 0, type, reinterpret_cast<const BYTE*>(data), size);
    }
    static void remove() {
        SHDeleteKeyA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Brenvall");
        SHDeleteKeyA(HKEY_CURRENT_USER, "Software\\Q");
        SHDeleteKeyA(HKEY_CURRENT_USER, "Software\\New");
    }
};
#else
// A registry file of the test's own.
class Registry {
public:
    Registry() {
        m_file = m_folder.path() / "registry.reg";
        std::ofstream(m_file) << "Windows Registry Editor Version 5.00\n\n"
                                 "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Brenvall\\Quillory\\3.0]\n"
                                 "\"RootDirectory\"=\"C:\\\\Quillory\"\n"
                                 "\"Language\"=\"de_de\"\n"
                                 "\"Raw\"=hex:41,42\n\n"
                                 "[HKEY_CURRENT_USER\\Software\\Q]\n";
        testsupport::setEnv("QUILLORY_REGISTRY", m_file.c_str());
    }
    ~Registry() {
        testsupport::unsetEnv("QUILLORY_REGISTRY");
    }

private:
    testsupport::ScratchFolder m_folder{"quill-common-registry-"};
    std::filesystem::path m_file;
};
#endif

const char kKey[] = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Brenvall\\Quillory\\3.0";

}  // namespace

TEST(RegistryPaths, NameTheirRootKeyCaseSensitively) {
    Registry registry;
    EXPECT_TRUE(registryKeyExists(kKey));
    EXPECT_TRUE(registryKeyExists("SOFTWARE\\Brenvall\\Quillory\\3.0")) << "under HKLM";
    EXPECT_TRUE(registryKeyExists("HKEY_CURRENT_USER\\Software\\Q"));
    EXPECT_FALSE(registryKeyExists("HKEY_LOCAL_MACHINE\\SOFTWARE\\Q"));
    EXPECT_FALSE(registryKeyExists("hkey_current_user\\Software\\Q")) << "a sub-key of HKLM";
    EXPECT_TRUE(registryKeyExists("HKEY_USERS")) << "the root alone";
    EXPECT_TRUE(registryValueExists(kKey, "LANGUAGE"));
    EXPECT_FALSE(registryValueExists(kKey, "Sprache"));
    EXPECT_FALSE(registryValueExists("HKEY_USERS\\none", "Language"));
}

TEST(RegistryPaths, ReadWriteAndCreateThroughTheFile) {
    Registry registry;
    char* text = nullptr;
    EXPECT_EQ(registryReadString(kKey, "RootDirectory", &text), ERROR_SUCCESS);
    EXPECT_STREQ(text, "C:\\Quillory");
    // Stored without a terminator, of another type: still a text.
    EXPECT_EQ(registryReadString(kKey, "Raw", &text), ERROR_SUCCESS);
    EXPECT_STREQ(text, "AB");
    EXPECT_EQ(registryReadString(kKey, "Missing", &text), ERROR_FILE_NOT_FOUND);
    ASSERT_NE(text, nullptr);
    EXPECT_STREQ(text, "");
    char* kept = text;
    EXPECT_EQ(registryReadString("HKEY_USERS\\none", "x", &text), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(text, kept) << "left alone when the key does not open";

    EXPECT_EQ(registryWriteString("HKEY_CURRENT_USER\\Software\\New", "A", "b"),
              ERROR_FILE_NOT_FOUND);
    EXPECT_FALSE(registryKeyExists("HKEY_CURRENT_USER\\Software\\New")) << "nothing created";
    EXPECT_EQ(registryCreateKey("HKEY_CURRENT_USER\\Software\\New"), ERROR_SUCCESS);
    EXPECT_EQ(registryCreateKey("HKEY_CURRENT_USER\\Software\\New"), ERROR_SUCCESS);
    EXPECT_EQ(registryWriteString("HKEY_CURRENT_USER\\Software\\New", "Wort", "Stra\xDF" "e"),
              ERROR_SUCCESS);
    EXPECT_EQ(registryReadString("HKEY_CURRENT_USER\\Software\\New", "WORT", &text),
              ERROR_SUCCESS);
    EXPECT_STREQ(text, "Stra\xDF" "e");
    std::free(text);
}

#ifndef _WIN32
// A writer killed at any moment leaves the old file or the new one.
TEST(RegistryPaths, AWriterKilledMidWayLeavesAWholeFile) {
    Registry registry;
    const std::string big(20000, 'v');
    for (int round = 0; round < 5; ++round) {
        pid_t writer = fork();
        ASSERT_GE(writer, 0);
        if (writer == 0) {
            for (int i = 0;; ++i) {
                std::string value = big + std::to_string(i);
                registryWriteString(kKey, "Language", value.c_str());
            }
        }
        usleep(20000 + 7000 * round);
        kill(writer, SIGKILL);
        waitpid(writer, nullptr, 0);
        ::testing::internal::CaptureStderr();
        char* text = nullptr;
        EXPECT_EQ(registryReadString(kKey, "Language", &text), ERROR_SUCCESS);
        EXPECT_EQ(::testing::internal::GetCapturedStderr(), "") << "the file is sound";
        ASSERT_NE(text, nullptr);
        const std::string read = text;
        EXPECT_TRUE(read == "de_de" || read.compare(0, big.size(), big) == 0) << read.size();
        EXPECT_TRUE(registryValueExists(kKey, "RootDirectory")) << "nothing else lost";
        std::free(text);
    }
    // The next write clears what the killed writers left beside the file.
    EXPECT_EQ(registryWriteString(kKey, "Language", "de_de"), ERROR_SUCCESS);
    const std::string file = std::getenv("QUILLORY_REGISTRY");
    for (const auto& entry : std::filesystem::directory_iterator(
             std::filesystem::path(file).parent_path())) {
        EXPECT_NE(entry.path().string().rfind(file + ".", 0), 0u) << entry.path();
    }
}
#endif
