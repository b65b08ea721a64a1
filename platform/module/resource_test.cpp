#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "platform/module/module.h"
#include "platform/module/moduleimage.h"
#include "platform/module/module_testenv.h"
#include "testsupport/programs.h"

using namespace moduletesting;

namespace {

// Each recording library of the test data, loaded for one test.
class RecordingLibrary : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override {
        m_module = LoadLibraryA(ansiPath(testData(GetParam())).c_str());
        ASSERT_NE(m_module, nullptr) << GetLastError();
    }
    void TearDown() override {
        if (m_module != nullptr) {
            EXPECT_TRUE(FreeLibrary(m_module));
        }
    }

    // The resource's bytes through the road the audio library takes.
    Bytes resource(LPCSTR name, LPCSTR type) {
        HRSRC found = FindResourceA(m_module, name, type);
        if (found == nullptr) return {};
        HGLOBAL loaded = LoadResource(m_module, found);
        EXPECT_NE(loaded, nullptr);
        const auto* bytes = static_cast<const BYTE*>(LockResource(loaded));
        EXPECT_EQ(static_cast<const void*>(bytes), loaded);
        DWORD size = SizeofResource(m_module, found);
        return bytes == nullptr ? Bytes{} : Bytes(bytes, bytes + size);
    }

    std::string string(UINT id, int bufferMax = 1024) {
        std::string buffer(static_cast<std::size_t>(bufferMax) + 8, '#');
        int length = LoadStringA(m_module, id, buffer.data(), bufferMax);
        EXPECT_EQ(buffer[static_cast<std::size_t>(length)], '\0');
        EXPECT_EQ(static_cast<std::size_t>(length), std::strlen(buffer.c_str()));
        EXPECT_EQ(buffer[static_cast<std::size_t>(bufferMax)], '#') << "wrote past the buffer";
        return buffer.substr(0, static_cast<std::size_t>(length));
    }

    HMODULE m_module = nullptr;
};

}  // namespace

TEST_P(RecordingLibrary, GivesBackTheExactBytesOfEveryRecording) {
    const std::pair<int, const char*> recordings[] = {
        {1702, "schule.mp3"}, {1703, "strasse.mp3"}, {1704, "wasser.mp3"}};
    for (const auto& [id, file] : recordings) {
        Bytes expected = readBytes(testData(file));
        ASSERT_GT(expected.size(), 1000u);
        EXPECT_EQ(resource(MAKEINTRESOURCEA(id), "MP3"), expected) << file;
    }
    Bytes tone = readBytes(testData("tone.wav"));
    EXPECT_EQ(resource(MAKEINTRESOURCEA(1000), "WAVE"), tone);
    EXPECT_EQ(resource("#1000", "wave"), tone);
    EXPECT_EQ(resource("Begruessung", "WAVE"), tone);
    Bytes bitmap = readBytes(testData("test.bmp"));
    EXPECT_EQ(resource(MAKEINTRESOURCEA(107), RT_BITMAP), Bytes(bitmap.begin() + 14, bitmap.end()));
    EXPECT_EQ(resource("#107", "#2"), Bytes(bitmap.begin() + 14, bitmap.end()));
}

TEST_P(RecordingLibrary, TakesOnlyTheLow16BitsOfAnIntegerId) {
    // 1702 + 65536 * 3: the resource id of a recording is a 16-bit value.
    EXPECT_NE(FindResourceA(m_module, MAKEINTRESOURCEA(198310), "MP3"), nullptr);
}

TEST_P(RecordingLibrary, ReportsWhatIsMissing) {
    const struct {
        LPCSTR name;
        LPCSTR type;
        DWORD error;
    } cases[] = {
        {MAKEINTRESOURCEA(1705), "MP3", ERROR_RESOURCE_NAME_NOT_FOUND},
        {MAKEINTRESOURCEA(1702), "WAVE", ERROR_RESOURCE_NAME_NOT_FOUND},
        {MAKEINTRESOURCEA(1702), "OGG", ERROR_RESOURCE_TYPE_NOT_FOUND},
        {MAKEINTRESOURCEA(1702), RT_RCDATA, ERROR_RESOURCE_TYPE_NOT_FOUND},
        {"#", "MP3", ERROR_RESOURCE_NAME_NOT_FOUND},
        {"#17x2", "MP3", ERROR_RESOURCE_NAME_NOT_FOUND},
        {"#99999", "MP3", ERROR_RESOURCE_NAME_NOT_FOUND},
        {MAKEINTRESOURCEA(1702), "#65536", ERROR_RESOURCE_TYPE_NOT_FOUND},
    };
    for (const auto& item : cases) {
        SetLastError(ERROR_SUCCESS);
        EXPECT_EQ(FindResourceA(m_module, item.name, item.type), nullptr);
        EXPECT_EQ(GetLastError(), item.error);
    }
}

TEST_P(RecordingLibrary, RefusesResourceHandlesOfAnotherModule) {
    HRSRC found = FindResourceA(m_module, MAKEINTRESOURCEA(1702), "MP3");
    ASSERT_NE(found, nullptr);
    SetLastError(ERROR_SUCCESS);
    EXPECT_EQ(LoadResource(GetModuleHandleA(nullptr), found), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_EQ(SizeofResource(GetModuleHandleA(nullptr), found), 0u);
    EXPECT_EQ(LoadResource(m_module, nullptr), nullptr);
    EXPECT_EQ(SizeofResource(m_module, nullptr), 0u);
    EXPECT_EQ(LockResource(nullptr), nullptr);
}

TEST_P(RecordingLibrary, LoadsStringsInCodePage1252) {
    EXPECT_EQ(string(1), "Schule");
    EXPECT_EQ(string(15), "Ende des ersten Blocks");
    EXPECT_EQ(string(16), "Stra\xDF" "e");
    EXPECT_EQ(string(17), "W\xF6rter mit \xE4\xF6\xFC \xC4\xD6\xDC \xDF");
    EXPECT_EQ(string(102), "konnte das Installationsverzeichnis nicht bestimmen");
    EXPECT_EQ(string(115), "Version %s");
    // Letters the code page lacks become their look-alikes: Ł and ź.
    EXPECT_EQ(string(200), "L\xF3" "dz");
}

TEST_P(RecordingLibrary, CutsStringsToTheBuffer) {
    EXPECT_EQ(string(102, 12), "konnte das ");
    EXPECT_EQ(string(1, 7), "Schule");
    EXPECT_EQ(string(1, 6), "Schul");
    EXPECT_EQ(string(1, 2), "S");
    EXPECT_EQ(string(1, 1), "");

    char untouched = 'x';
    SetLastError(ERROR_SUCCESS);
    EXPECT_EQ(LoadStringA(m_module, 1, &untouched, 0), 0);
    EXPECT_EQ(untouched, 'x');
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(LoadStringA(m_module, 1, nullptr, 10), 0);
}

TEST_P(RecordingLibrary, AnswersNothingForMissingStrings) {
    // 2 and 14 share a block with 1 and 15 but are empty; block 3 is absent.
    for (UINT id : {0u, 2u, 14u, 18u, 32u, 199u, 201u, 65535u}) {
        SetLastError(ERROR_SUCCESS);
        EXPECT_EQ(string(id), "") << id;
        EXPECT_EQ(GetLastError(), ERROR_RESOURCE_NAME_NOT_FOUND) << id;
    }
    // Only the low 16 bits of a string id count.
    EXPECT_EQ(string(0x10001), "Schule");
}

INSTANTIATE_TEST_SUITE_P(BothToolchains, RecordingLibrary,
                         ::testing::Values("gnu/aud_de_de_mc_02.dll",
                                           "resdll/aud_de_de_mc_02.dll"),
                         [](const ::testing::TestParamInfo<const char*>& library) {
                             std::string path = library.param;
                             return path.substr(0, path.find('/'));
                         });

TEST(StringTable, SurvivesDamagedBlocks) {
    ScratchFolder folder;
    // Block 1 (ids 0-15): string 0 claims more units than the block holds.
    writeBytes(folder.path("long.bin"), Bytes{0xFF, 0x7F, 'A', 0});
    // Block 2 (ids 16-31): string 16 is "Hi", then the block ends.
    writeBytes(folder.path("short.bin"), Bytes{2, 0, 'H', 0, 'i', 0});
    // Block 3 (ids 32-47): one byte, not even a count.
    writeBytes(folder.path("odd.bin"), Bytes{1});
    ASSERT_EQ(testsupport::runProgram({RESDLL_PATH, "-o", folder.path("strings.dll"),
                                       "6:1=" + folder.path("long.bin"),
                                       "6:2=" + folder.path("short.bin"),
                                       "6:3=" + folder.path("odd.bin")}),
              0);

    HMODULE module = LoadLibraryA(folder.ansiPath("strings.dll").c_str());
    ASSERT_NE(module, nullptr);
    char buffer[64];
    EXPECT_EQ(LoadStringA(module, 0, buffer, sizeof buffer), 0);
    EXPECT_EQ(LoadStringA(module, 16, buffer, sizeof buffer), 2);
    EXPECT_STREQ(buffer, "Hi");
    EXPECT_EQ(LoadStringA(module, 17, buffer, sizeof buffer), 0);
    EXPECT_EQ(LoadStringA(module, 32, buffer, sizeof buffer), 0);
    EXPECT_TRUE(FreeLibrary(module));
}

TEST(ResourceNames, StoredInCapitalsAndFoundInAnyCase) {
    ScratchFolder folder;
    // In UTF-8 on the command line: type klänge, names wörter, ÿber, straße.
    const std::string tone = testData("tone.wav");
    std::vector<std::string> command{RESDLL_PATH, "-o", folder.path("names.dll")};
    for (const char* name : {"w\xC3\xB6rter", "\xC3\xBF" "ber", "stra\xC3\x9F" "e"}) {
        command.push_back("kl\xC3\xA4nge:" + std::string(name) + "=" + tone);
    }
    ASSERT_EQ(testsupport::runProgram(command), 0);
    HMODULE module = LoadLibraryA(folder.ansiPath("names.dll").c_str());
    ASSERT_NE(module, nullptr);

    // As Windows would compare them: every letter in capitals. ß has no
    // single capital and stays; ÿ becomes Ÿ, which lies beyond Latin-1.
    std::set<std::wstring> types;
    std::set<std::wstring> names;
    platform::moduleImage(module)->forEachResource(
        100, [&](const platform::ResourceKey& type, const platform::ResourceKey& name, WORD,
                 const platform::ResourceData&) {
            types.insert(type.name);
            names.insert(name.name);
        });
    EXPECT_EQ(types, std::set<std::wstring>{L"KLÄNGE"});
    EXPECT_EQ(names, (std::set<std::wstring>{L"WÖRTER", L"ŸBER", L"STRAßE"}));

    // Looked up in code page 1252, in any case.
    for (const char* type : {"KL\xC4NGE", "kl\xE4nge", "Kl\xC4nGe"}) {
        for (const char* name : {"W\xD6RTER", "w\xF6rter", "w\xD6rTeR", "\x9F" "BER", "\xFF" "ber",
                                 "STRA\xDF" "E", "stra\xDF" "e"}) {
            EXPECT_NE(FindResourceA(module, name, type), nullptr) << type << " " << name;
        }
    }
    SetLastError(ERROR_SUCCESS);
    EXPECT_EQ(FindResourceA(module, "WORTER", "KL\xC4NGE"), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_RESOURCE_NAME_NOT_FOUND);
    EXPECT_TRUE(FreeLibrary(module));
}
