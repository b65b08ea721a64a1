#include "wordmodel/library.h"

#include <gtest/gtest.h>

#include <numeric>

namespace {

const wchar_t* const capitalsAndDigits = L"ABCDEHÄÖÜ0123456789";

TEST(WordLibrary, LanguageCodesByLanguageNumber) {
    EXPECT_EQ(languageCode(1), L"en_uk");
    EXPECT_EQ(languageCode(2), L"de_de");
    EXPECT_EQ(languageCode(3), L"pl_pl");
    EXPECT_EQ(languageCode(4), L"");
    // Numbers that name no slot must not read outside the table.
    EXPECT_EQ(languageCode(0), L"");
    EXPECT_EQ(languageCode(5), L"");
    EXPECT_EQ(languageCode(-1), L"");
}

TEST(WordLibrary, LetterClasses) {
    EXPECT_EQ(vowels, L"aeiouöäüy");
    EXPECT_EQ(consonants, L"bcdfgjklmnpqrstvwxzß");
    EXPECT_EQ(separators, L"\t .?!,:;\"§$%&/()={}[]*+'#_-|<>");
    EXPECT_EQ(separators.size(), 30u);
    EXPECT_EQ(diphthongs, (std::vector<std::wstring>{L"ei", L"eu", L"äu", L"au"}));

    for (const wchar_t* c = capitalsAndDigits; *c != L'\0'; ++c) {
        SCOPED_TRACE(static_cast<int>(*c));
        EXPECT_EQ(vowels.find(*c), std::wstring::npos);
        EXPECT_EQ(consonants.find(*c), std::wstring::npos);
        EXPECT_EQ(separators.find(*c), std::wstring::npos);
    }
    EXPECT_EQ(vowels.find(L'h'), std::wstring::npos);
    EXPECT_EQ(consonants.find(L'h'), std::wstring::npos);
    EXPECT_EQ(separators.find(L'h'), std::wstring::npos);
}

TEST(WordLibrary, BuiltInLevels) {
    const auto& table = getGraphemeLevelTable();
    EXPECT_EQ(&table, &GraphemeLevelTable);
    ASSERT_EQ(table.size(), 11u);
    EXPECT_TRUE(table[0].empty());
    ASSERT_EQ(table[1].size(), 15u);
    EXPECT_EQ(table[1].front().grapheme, L"a");
    EXPECT_EQ(table[1].back().grapheme, L"h");
    EXPECT_EQ(table[5].back().grapheme, L"k");
    EXPECT_EQ(table[8][3].grapheme, L"ä");
    EXPECT_EQ(table[9][4].grapheme, L"äu");

    const std::size_t entries = std::accumulate(
        table.begin(), table.end(), std::size_t{0},
        [](std::size_t sum, const std::vector<GraphemeLevel>& level) { return sum + level.size(); });
    EXPECT_EQ(entries, 60u);

    // "ss" is both an easy double letter and, last of all, the hardest one.
    EXPECT_EQ(table[4][2].grapheme, L"ss");
    EXPECT_EQ(table[10].back().grapheme, L"ss");
    EXPECT_EQ(table[10].front().grapheme, L"ß");
}

TEST(WordLibrary, Limits) {
    EXPECT_EQ(MAXLEN, 12);
    EXPECT_EQ(MAXSYLL, 5);
    EXPECT_TRUE(wordLibraryInitialised);
}

TEST(WordLibrary, LaterSetUpChangesNothingAndPrintsNothing) {
    ::testing::internal::CaptureStdout();
    initWordLibrary(4, L"D:\\other", L"config.txt");
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(audioKind, 1);
    EXPECT_EQ(mediaDirectory, L"C:\\Quillory\\media");
    EXPECT_EQ(GraphemeLevelTable.size(), 11u);
    EXPECT_EQ(diphthongs.size(), 4u);
}

TEST(WordLibrary, RegistriesAndCacheStartEmpty) {
    EXPECT_EQ(&getWordGroupRegistry(), &wordGroupRegistry);
    EXPECT_EQ(&getSpellingGroupRegistry(), &spellingGroupRegistry);
    EXPECT_TRUE(getWordGroupRegistry().empty());
    EXPECT_TRUE(getSpellingGroupRegistry().empty());
    EXPECT_TRUE(resourceDllCache.empty());
}

TEST(WordLibrary, GraphemeLevelStartsUncounted) {
    const GraphemeLevel entry(L"sch");
    EXPECT_EQ(entry.grapheme, L"sch");
    EXPECT_EQ(entry.count, 0);
}

}  // namespace
