// Recording coordinates, file names and the resource library cache, against
// real recording libraries in a media directory made by the build
// (RECORDING_MEDIA: German libraries 01 to 04 and 06 for audio kind 4;
// library 02 holds recording 1702 as "WAVE" and "MP3", the others recording
// 1000 as "WAVE").
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "common/logger.h"
#include "testsupport/ansipath.h"
#include "common/textconv.h"
#include "platform/testing.h"
#include "platform/win32.h"
#include "wordmodel/library.h"
#include "wordmodel/recording.h"
#include "wordmodel/word.h"
#include "wordmodel/word_inspector.h"
#include "testsupport/scratchfolder.h"
#include "testsupport/wholefile.h"

namespace {

// In the ANSI code page, as the library names its files and reports them.
const std::string media = testsupport::ansiPath(RECORDING_MEDIA);
const std::string german = media + "de_de\\";

std::unique_ptr<testsupport::ScratchFolder> scratch;

std::string logFile() { return scratch->path("log.txt"); }

class RecordingEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        scratch = std::make_unique<testsupport::ScratchFolder>("quill-recording-");
        ::testing::internal::CaptureStdout();
        initWordLibrary(4, toWide(media), L"");
        ::testing::internal::GetCapturedStdout();
    }
    void TearDown() override { scratch.reset(); }
};

[[maybe_unused]] ::testing::Environment* const environment =
    ::testing::AddGlobalTestEnvironment(new RecordingEnvironment);

using testsupport::readFile;

// The system's own text for an error code, as the error lines quote it.
std::string systemText(DWORD error) {
    char text[512] = "";
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error,
                   1024, text, sizeof text, nullptr);
    return text;
}

std::string loadFailure(const std::string& library, DWORD error) {
    return "ERROR: Could not load DLL " + library + " => FAILED with error " +
           std::to_string(error) + ": " + systemText(error) + "\n";
}

std::string trace(int language, int ixDll) {
    return "createCompleteDllFileName 000: " + std::to_string(language) + " 4 " +
           std::to_string(ixDll) + "\n";
}

LX_Word germanWord(const std::wstring& name) {
    LX_Word word(languageGerman, languageEnglish);
    word.setAudioName(languageGerman, name);
    return word;
}

// Another media directory for the length of a test.
class MediaDirectory {
public:
    explicit MediaDirectory(const std::wstring& directory) : m_kept(mediaDirectory) {
        setMediaDirectory(directory);
    }
    ~MediaDirectory() { setMediaDirectory(m_kept); }

private:
    std::wstring m_kept;
};

TEST(RecordingCoordinates, NamesGiveLibraryAndResourceId) {
    struct Case {
        const wchar_t* name;
        int library;
        int resourceId;
    };
    const Case cases[] = {
        {L"w1234a", 2, 1702}, {L"w1234b", 2, 1703}, {L"w1234c", 2, 1704},
        {L"W1234C", 2, 1704}, {L"w1234", 2, 1703},  {L"w1234x", 2, 1702},
        {L"w999", 1, 3998},   {L"w1000a", 2, 1000}, {L"w0a", 1, 1000},
        // Three times the number does not fit an int; the id still does.
        {L"w2147483647a", 2147484, 1000 + 3 * 647},
        // A negative number gives library 0, which no load accepts.
        {L"w-1234a", 0, 298},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(toNarrow(c.name, CP_ACP));
        const LX_Word word = germanWord(c.name);
        EXPECT_EQ(word.getAudioName(languageGerman), c.name);
        EXPECT_EQ(word.getDllIndex(languageGerman), c.library);
        EXPECT_EQ(word.getResourceId(languageGerman), c.resourceId);
        EXPECT_EQ(word.getDllIndex(languageEnglish), -1);
    }
}

TEST(RecordingCoordinates, NumberSkipsTheFirstCharacterAndAFinalLetter) {
    EXPECT_EQ(germanWord(L"1234a").getAudioNumber(languageGerman), 234);
    EXPECT_EQ(germanWord(L"w1234").getAudioNumber(languageGerman), 1234);
    EXPECT_EQ(germanWord(L"w1234a").getAudioVariant(languageGerman), 0);
    EXPECT_EQ(germanWord(L"w1234B").getAudioVariant(languageGerman), 1);
    EXPECT_EQ(germanWord(L"w1234").getAudioVariant(languageGerman), 1);
    EXPECT_EQ(germanWord(L"w1234-").getAudioVariant(languageGerman), 0);
    // Too short to hold a number: nothing to read, nothing to crash on.
    EXPECT_EQ(germanWord(L"w").getAudioNumber(languageGerman), 0);
    EXPECT_EQ(germanWord(L"7").getAudioNumber(languageGerman), 0);

    const LX_Word unnamed;
    EXPECT_EQ(unnamed.getAudioNumber(languageGerman), -1);
    EXPECT_EQ(unnamed.getAudioVariant(languageGerman), 0);
}

TEST(RecordingCoordinates, NumberPartIsCutAtItsBuffer) {
    // 1023 characters before the final letter are read whole; one more is
    // cut off, and with it the last digit.
    const std::wstring fits = L"w" + std::wstring(1018, L'0') + L"1234";
    EXPECT_EQ(germanWord(fits + L"a").getAudioNumber(languageGerman), 1234);
    const std::wstring longer = L"w" + std::wstring(1019, L'0') + L"1234";
    EXPECT_EQ(germanWord(longer + L"b").getAudioNumber(languageGerman), 123);
    EXPECT_EQ(germanWord(longer + L"b").getResourceId(languageGerman), 1000 + 369 + 1);
    EXPECT_EQ(germanWord(longer).getAudioNumber(languageGerman), 123);
}

TEST(RecordingCoordinates, EmptyNameChangesNothing) {
    LX_Word word = germanWord(L"w1234a");
    ::testing::internal::CaptureStdout();
    word.setAudioName(languageGerman, L"");
    word.setAudioName(0, L"");
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(word.getAudioName(languageGerman), L"w1234a");
    EXPECT_EQ(word.getDllIndex(languageGerman), 2);
    EXPECT_EQ(word.getResourceId(languageGerman), 1702);

    LX_Word fresh;
    fresh.setAudioName(languageGerman, L"");
    EXPECT_EQ(fresh.getDllIndex(languageGerman), -1);
    EXPECT_EQ(fresh.getResourceId(languageGerman), -1);
}

TEST(RecordingFileNames, LibraryNames) {
    {
        MediaDirectory directory(L"D:\\m\\");
        ::testing::internal::CaptureStdout();
        EXPECT_EQ(createCompleteDllFileName(1, 1, 0), "D:\\m\\en_uk\\aud_en_uk_wr_01.dll");
        EXPECT_EQ(::testing::internal::GetCapturedStdout(), trace(1, 0));
        EXPECT_EQ(createCompleteDllFileName(1, 7, 0), "D:\\m\\en_uk\\aud_en_uk__01.dll");
        EXPECT_EQ(createCompleteDllFileName(3, 3, 11), "D:\\m\\pl_pl\\aud_pl_pl_mr_12.dll");
        EXPECT_EQ(createCompleteDllFileName(2, 2, 99), "D:\\m\\de_de\\aud_de_de_wc_100.dll");
        // Whole numbers, whatever the index.
        EXPECT_EQ(createCompleteDllFileName(2, 4, 2147483647),
                  "D:\\m\\de_de\\aud_de_de_mc_2147483648.dll");
        EXPECT_EQ(createCompleteDllFileName(2, 4, -2147483647 - 1),
                  "D:\\m\\de_de\\aud_de_de_mc_-2147483647.dll");
    }
    MediaDirectory directory(L"D:\\media\\");
    EXPECT_EQ(createCompleteDllFileName(2, 4, 1), "D:\\media\\de_de\\aud_de_de_mc_02.dll");
    ::testing::internal::CaptureStdout();
    EXPECT_EQ(germanWord(L"w1234a").getResourceDllName(languageGerman),
              "D:\\media\\de_de\\aud_de_de_mc_02.dll");
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), trace(2, 1));
    // No name yet: library "number 0" names the file before the first one.
    EXPECT_EQ(LX_Word().getResourceDllName(languageGerman),
              "D:\\media\\de_de\\aud_de_de_mc_-1.dll");
}

TEST(RecordingFileNames, LooseFilePaths) {
    MediaDirectory directory(L"D:\\media\\");
    const LX_Word word = germanWord(L"w1234a");
    EXPECT_EQ(word.getAudioFilePath(languageGerman, 4), "D:\\media\\de_de\\mp3\\center\\w1234a.mp3");
    EXPECT_EQ(word.getAudioFilePath(languageGerman, 1), "D:\\media\\de_de\\wav\\right\\w1234a.wav");
    EXPECT_EQ(word.getAudioFilePath(languageGerman, 7), "D:\\media\\de_de\\\\w1234a.");
    EXPECT_EQ(word.getAudioFilePath(languageEnglish, 2), "D:\\media\\en_uk\\wav\\center\\.wav");

    // Narrow text in the ANSI code page.
    MediaDirectory umlauts(L"D:\\Übungen\\");
    EXPECT_EQ(germanWord(L"wü3").getAudioFilePath(languageGerman, 3),
              "D:\\\xDC" "bungen\\de_de\\mp3\\right\\w\xFC" "3.mp3");
}

TEST(RecordingLanguages, OutsideOneToThreeIsRefused) {
    for (const LanguageId language : {0, 4, -1, 99}) {
        SCOPED_TRACE(language);
        const std::string refusal =
            "ERROR: language out of range language=" + std::to_string(language) + "\n";
        LX_Word word(languageGerman, languageEnglish);

        ::testing::internal::CaptureStdout();
        word.setAudioName(language, L"w1234a");
        EXPECT_EQ(::testing::internal::GetCapturedStdout(), refusal);
        EXPECT_EQ(word.getAudioName(language), L"");
        EXPECT_EQ(word.getDllIndex(language), -1);
        EXPECT_EQ(word.getResourceId(language), -1);

        ::testing::internal::CaptureStdout();
        EXPECT_EQ(word.getAudioNumber(language), -1);
        EXPECT_EQ(word.getAudioVariant(language), -1);
        EXPECT_EQ(word.getResourceDllName(language), "");
        EXPECT_EQ(word.getAudioFilePath(language, 4), "");
        EXPECT_EQ(createCompleteDllFileName(language, 4, 1), "");
        EXPECT_EQ(loadResourceDll(language, 1), nullptr);
        EXPECT_EQ(LX_Word(language, 0).getResourceModule(), nullptr);
        word.findWaveResource(languageGerman, 1, L"Schule", language);
        std::string expected;
        for (int i = 0; i < 8; ++i) expected += refusal;
        EXPECT_EQ(::testing::internal::GetCapturedStdout(), expected);
        EXPECT_FALSE(LX_WordInspector::hasError(word));
    }
    // The library set-up's own fourth slot is no recording language either.
    EXPECT_EQ(resourceDllCache.size(), 4u);
    for (const auto& row : resourceDllCache) EXPECT_EQ(row.size(), 50u);
}

TEST(RecordingErrors, FormatLastError) {
    SetLastError(ERROR_MOD_NOT_FOUND);
    EXPECT_EQ(formatLastError(), "FAILED with error 126: " + systemText(ERROR_MOD_NOT_FOUND));
    EXPECT_NE(systemText(ERROR_MOD_NOT_FOUND), "");
    // No text for the code: the number alone.
    SetLastError(4242);
    EXPECT_EQ(formatLastError(), "FAILED with error 4242: ");
    SetLastError(0xFFFFFFFF);
    EXPECT_EQ(formatLastError(), "FAILED with error -1: ");
}

// Each test starts with every library of the cache given up and an empty log
// at level 1.
class ResourceLibraries : public ::testing::Test {
protected:
    void SetUp() override {
        for (auto& row : resourceDllCache) {
            for (HMODULE& module : row) {
                if (module != nullptr) FreeLibrary(module);
                module = nullptr;
            }
        }
        logInit(1, scratch->ansiPath("log.txt").c_str(), false, false, true, false);
    }
    void TearDown() override {
        platform::testing::failNextLibraryLoads(0);
        logInit(0, nullptr, false, false, false, false);
    }

    static HMODULE cached(int ixDll) { return resourceDllCache.at(1).at(ixDll); }
    static bool holds(HMODULE module, int id, const char* type) {
        return FindResourceA(module, MAKEINTRESOURCEA(id), type) != nullptr;
    }
};

TEST_F(ResourceLibraries, LoadsOnceAndKeepsTheLibrary) {
    ::testing::internal::CaptureStdout();
    HMODULE module = loadResourceDll(languageGerman, 1);
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), trace(2, 1));
    ASSERT_NE(module, nullptr);
    EXPECT_TRUE(holds(module, 1702, "MP3"));
    EXPECT_EQ(cached(1), module);

    ::testing::internal::CaptureStdout();
    EXPECT_EQ(loadResourceDll(languageGerman, 1), module);
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), trace(2, 1));
    EXPECT_EQ(readFile(logFile()), "");

    // What the audio side loads a word's recording from.
    ::testing::internal::CaptureStdout();
    EXPECT_EQ(germanWord(L"w1234a").getResourceModule(), module);
    EXPECT_EQ(germanWord(L"w999a").getResourceModule(), loadResourceDll(languageGerman, 0));
    ::testing::internal::GetCapturedStdout();
}

TEST_F(ResourceLibraries, IndexOutsideTheCache) {
    for (const int ixDll : {50, -1, 2147483647}) {
        ::testing::internal::CaptureStdout();
        EXPECT_EQ(loadResourceDll(languageGerman, ixDll), nullptr);
        EXPECT_EQ(::testing::internal::GetCapturedStdout(),
                  "ERROR: dll index out of range ixDll=" + std::to_string(ixDll) + "\n");
    }
    // Library number 0 (a negative recording number) and no name at all.
    ::testing::internal::CaptureStdout();
    EXPECT_EQ(germanWord(L"w-1234a").getResourceModule(), nullptr);
    EXPECT_EQ(LX_Word().getResourceModule(), nullptr);
    EXPECT_EQ(::testing::internal::GetCapturedStdout(),
              "ERROR: dll index out of range ixDll=-1\n"
              "ERROR: dll index out of range ixDll=-2\n");
    EXPECT_EQ(readFile(logFile()), "");
}

TEST_F(ResourceLibraries, MissingLibraryIsReportedAndTriedAgain) {
    const std::string failure = loadFailure(german + "aud_de_de_mc_10.dll", ERROR_MOD_NOT_FOUND);
    for (int attempt = 0; attempt < 2; ++attempt) {
        ::testing::internal::CaptureStdout();
        EXPECT_EQ(loadResourceDll(languageGerman, 9), nullptr);
        EXPECT_EQ(::testing::internal::GetCapturedStdout(), trace(2, 9) + failure);
        EXPECT_EQ(cached(9), nullptr);
    }
    EXPECT_EQ(readFile(logFile()), failure + failure);
}

TEST_F(ResourceLibraries, MemoryShortageGivesUpTheFirstOtherLibrary) {
    ::testing::internal::CaptureStdout();
    HMODULE first = loadResourceDll(languageGerman, 0);
    ASSERT_NE(first, nullptr);
    ASSERT_NE(loadResourceDll(languageGerman, 2), nullptr);
    HMODULE fourth = loadResourceDll(languageGerman, 3);
    ASSERT_NE(fourth, nullptr);

    platform::testing::failNextLibraryLoads(1);
    HMODULE sixth = loadResourceDll(languageGerman, 5);
    EXPECT_EQ(::testing::internal::GetCapturedStdout(),
              trace(2, 0) + trace(2, 2) + trace(2, 3) + trace(2, 5));
    ASSERT_NE(sixth, nullptr);
    EXPECT_TRUE(holds(sixth, 1000, "WAVE"));
    EXPECT_EQ(cached(0), first);
    EXPECT_EQ(cached(2), nullptr);
    EXPECT_EQ(cached(3), fourth);
    EXPECT_EQ(cached(5), sixth);
    EXPECT_TRUE(holds(first, 1000, "WAVE"));
    EXPECT_EQ(readFile(logFile()), "");

    // The library given up loads again when next asked for.
    ::testing::internal::CaptureStdout();
    HMODULE third = loadResourceDll(languageGerman, 2);
    ::testing::internal::GetCapturedStdout();
    ASSERT_NE(third, nullptr);
    EXPECT_TRUE(holds(third, 1000, "WAVE"));
}

TEST_F(ResourceLibraries, MemoryShortageWithNothingToGiveUp) {
    const std::string failure =
        loadFailure(german + "aud_de_de_mc_03.dll", ERROR_NOT_ENOUGH_MEMORY);

    // An empty row.
    platform::testing::failNextLibraryLoads(1);
    ::testing::internal::CaptureStdout();
    EXPECT_EQ(loadResourceDll(languageGerman, 2), nullptr);
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), trace(2, 2) + failure);

    // Library 0 is never given up.
    ::testing::internal::CaptureStdout();
    HMODULE first = loadResourceDll(languageGerman, 0);
    ASSERT_NE(first, nullptr);
    platform::testing::failNextLibraryLoads(1);
    EXPECT_EQ(loadResourceDll(languageGerman, 2), nullptr);
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), trace(2, 0) + trace(2, 2) + failure);
    EXPECT_EQ(cached(0), first);
    EXPECT_EQ(cached(2), nullptr);
    EXPECT_EQ(readFile(logFile()), failure + failure);
}

TEST_F(ResourceLibraries, WaveResourcePresent) {
    LX_Word word = germanWord(L"w1234a");
    word.setWord(languageGerman, L"Schule");
    const LX_Word before = word;
    ::testing::internal::CaptureStdout();
    word.findWaveResource(languageGerman, 1, L"Schule", languageGerman);
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), trace(2, 1));
    EXPECT_TRUE(LX_WordInspector::equal(word, before));
    EXPECT_EQ(readFile(logFile()), "");
}

TEST_F(ResourceLibraries, WaveResourceMissing) {
    LX_Word word = germanWord(L"w1235b");
    word.setWord(languageGerman, L"Schüler");
    ::testing::internal::CaptureStdout();
    word.findWaveResource(languageGerman, 1, L"Zeile 3: Schüler", languageGerman);
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), trace(2, 1));
    EXPECT_TRUE(LX_WordInspector::hasError(word));
    EXPECT_EQ(readFile(logFile()),
              "ERROR: \"             Sch\xFCler\" has no resource entry: w1235b -> lang 2, dll 2, "
              "id 1706 => FAILED with error 1814: " +
                  systemText(ERROR_RESOURCE_NAME_NOT_FOUND) + "\n   Zeile 3: Sch\xFCler\n");
}

TEST_F(ResourceLibraries, WaveResourceInAMissingLibrary) {
    LX_Word word = germanWord(L"w9123a");
    ::testing::internal::CaptureStdout();
    word.findWaveResource(languageGerman, 9, L"Zeile 4", languageGerman);
    const std::string failure = loadFailure(german + "aud_de_de_mc_10.dll", ERROR_MOD_NOT_FOUND);
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), trace(2, 9) + failure);
    EXPECT_FALSE(LX_WordInspector::hasError(word));
    EXPECT_EQ(readFile(logFile()), failure);
}

}  // namespace
