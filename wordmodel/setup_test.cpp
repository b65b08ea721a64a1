// The word library as loaded, then its first and a later set-up. The state
// is process-wide and set up once, so this is one test in a program of its
// own.
#include <gtest/gtest.h>

#include "wordmodel/library.h"
#include "wordmodel/word.h"

namespace {

struct Rating {
    int syllables;
    int difficulty;
};

Rating rate(const std::wstring& text) {
    LX_Word word(languageGerman, languageEnglish);
    word.setWord(text);
    const int syllables = word.countSyllables();
    word.calcDifficulty();
    return {syllables, word.getDifficulty()};
}

TEST(WordLibrarySetUp, EmptyUntilTheFirstCallThenFixed) {
    {
        SCOPED_TRACE("as loaded");
        EXPECT_FALSE(wordLibraryInitialised);
        EXPECT_EQ(audioKind, 0);
        EXPECT_TRUE(mediaDirectory.empty());
        EXPECT_TRUE(vowels.empty());
        EXPECT_TRUE(consonants.empty());
        EXPECT_TRUE(separators.empty());
        EXPECT_TRUE(diphthongs.empty());
        EXPECT_TRUE(GraphemeLevelTable.empty());
        EXPECT_EQ(MAXLEN, 0);
        EXPECT_EQ(MAXSYLL, 0);
        EXPECT_EQ(languageCode(2), L"");

        // No letter class and no level yet: only digits count, nothing rates.
        EXPECT_EQ(rate(L"Schule").syllables, 0);
        EXPECT_EQ(rate(L"Schule").difficulty, 0);
        EXPECT_EQ(rate(L"Straße").difficulty, 0);
        EXPECT_EQ(rate(L"123").syllables, 3);
        EXPECT_EQ(rate(L"123").difficulty, 0);
    }
    {
        SCOPED_TRACE("first set-up");
        ::testing::internal::CaptureStdout();
        initWordLibrary(3, L"C:\\media\\", L"");
        EXPECT_EQ(::testing::internal::GetCapturedStdout(), "...init\n");
        EXPECT_TRUE(wordLibraryInitialised);
        EXPECT_EQ(audioKind, 3);
        EXPECT_EQ(mediaDirectory, L"C:\\media\\");
        EXPECT_EQ(rate(L"Schule").syllables, 2);
        EXPECT_EQ(rate(L"Schule").difficulty, 8);
    }
    {
        SCOPED_TRACE("later set-up");
        ::testing::internal::CaptureStdout();
        initWordLibrary(7, L"", L"levels.txt");
        EXPECT_EQ(::testing::internal::GetCapturedStdout(), "");
        EXPECT_EQ(audioKind, 3);
        EXPECT_EQ(mediaDirectory, L"C:\\media\\");
        EXPECT_EQ(MAXSYLL, 5);
        EXPECT_EQ(GraphemeLevelTable.size(), 11u);
        EXPECT_EQ(GraphemeLevelTable[1].size(), 15u);
    }
}

TEST(WordLibrarySetUp, OddValuesAreStoredUnchecked) {
    const AudioKind keptKind = audioKind;
    const std::wstring keptDirectory = mediaDirectory;
    setAudioKind(-5);
    EXPECT_EQ(audioKind, -5);
    setMediaDirectory(L"D:\\media\\\\");
    EXPECT_EQ(mediaDirectory, L"D:\\media\\\\");
    setAudioKind(keptKind);
    setMediaDirectory(keptDirectory);
}

}  // namespace
