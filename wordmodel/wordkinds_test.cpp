#include <gtest/gtest.h>

#include <climits>

#include "wordmodel/word.h"
#include "wordmodel/wordlog_testing.h"

namespace {

LX_Word wordIn(LanguageId language, const std::wstring& text) {
    LX_Word word(language, languageEnglish);
    word.setWord(text);
    return word;
}

TEST(WordArticles, CheckedPerLanguageAndStoredAnyway) {
    const struct {
        LanguageId language;
        const wchar_t* article;
        const char* line;
    } cases[] = {
        {2, L"Der", "ERROR: setArticle(): DeDe - Der Haus\n"},
        {2, L"das", ""},
        {1, L"the_", ""},
        {1, L"a", "ERROR: setArticle(): EnUk/EnUs - a Haus\n"},
        {3, L"ten", "ERROR: setArticle(): PlPl - ten Haus\n"},
        {3, L"", ""},
        {4, L"xyz", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        LX_Word word;
        word.setWord(c.language, L"Haus");
        WordLogCapture log;
        word.setArticle(c.language, c.article);
        EXPECT_EQ(log.take(), c.line);
        EXPECT_EQ(word.getArticle(c.language), c.article);
    }
    LX_Word word;
    word.setArticle(0, L"der");
    word.setArticle(5, L"der");
    for (int language = 1; language <= 4; ++language) {
        EXPECT_EQ(word.getArticle(language), L"");
    }
}

TEST(WordArticles, TheWordItselfAsArticle) {
    const LX_Word das = wordIn(2, L"das");
    EXPECT_TRUE(das.isArticle(2));
    EXPECT_TRUE(das.isArticle());
    EXPECT_FALSE(das.isArticle(1));
    EXPECT_FALSE(das.isArticle(3));
    EXPECT_TRUE(wordIn(2, L"the_").isArticle(1));
}

TEST(WordKinds, SortedUniqueAndPrinted) {
    LX_Word word;
    word.addWordKind(3);
    word.addWordKind(1);
    word.addWordKind(3);
    EXPECT_EQ(word.getWordKinds(), (std::vector<int>{1, 3}));
    EXPECT_EQ(word.wordKindsText(L","), L"1,3");
    EXPECT_TRUE(word.hasWordKind(3));
    word.setWordKinds({12, 2});
    EXPECT_EQ(word.wordKindsText(L", "), L"2, 12");
    word.addWordKinds({1});
    EXPECT_EQ(word.getWordKinds(), (std::vector<int>{1, 2, 12}));
    // Numbers wider than ten characters.
    word.setWordKinds({1000000000, INT_MIN});
    EXPECT_EQ(word.wordKindsText(L"|"), L"-2147483648|1000000000");
    word.setWordKinds({});
    EXPECT_EQ(word.wordKindsText(L","), L"");
}

TEST(WordKinds, NamesPerLanguage) {
    const struct {
        LanguageId language;
        const wchar_t* name;
        int code;  // 0: none added
    } cases[] = {
        {2, L"Eigenname", 12}, {2, L"Sinnfrei", 20},    {2, L"Alphabet", 21},
        {2, L"Präposition", 6}, {3, L"przysłówek", 4},  {3, L"liczebnik", 7},
        {3, L"Präposition", 6}, {3, L"rzeczownik", 1},  {1, L"Verb", 0},
        {2, L"verb", 0},        {3, L"Numeral", 0},
    };
    for (const auto& c : cases) {
        LX_Word word = wordIn(c.language, L"x");
        testing::internal::CaptureStdout();
        word.setWordKind(c.name);
        testing::internal::GetCapturedStdout();
        EXPECT_EQ(word.getWordKinds(), c.code ? std::vector<int>{c.code} : std::vector<int>{})
            << c.code;
    }
}

TEST(WordKinds, UnknownNamesAreReported) {
    WordLogCapture log;
    LX_Word polish = wordIn(3, L"x");
    testing::internal::CaptureStdout();
    polish.setWordKind(L"Numeral");
    polish.setWordKind(L"Średni");
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "ERROR: wordkind PL: Numeral is unkown\nERROR: wordkind PL: Sredni is unkown\n");
    EXPECT_EQ(log.take(),
              "ERROR: wordkind PL: Numeral is unkown\nERROR: wordkind PL: Sredni is unkown\n");

    LX_Word german = wordIn(2, L"x");
    testing::internal::CaptureStdout();
    german.setWordKind(L"Nomen");
    german.setWordKind(L"Größe");
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "ERROR: wordkind DE Nomen is unkown\nERROR: wordkind DE Gr\xF6\xDF" "e is unkown\n");
    EXPECT_EQ(log.take(),
              "ERROR: wordkind DE Nomen is unkown\nERROR: wordkind DE Gr\xF6\xDF" "e is unkown\n");

    LX_Word english = wordIn(1, L"x");
    testing::internal::CaptureStdout();
    english.setWordKind(L"Nomen");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(log.take(), "");
}

TEST(WordKinds, FromText) {
    LX_Word word = wordIn(2, L"x");
    word.addWordKindsFromText(L"  1 ; Verb;12 ", L";");
    EXPECT_EQ(word.getWordKinds(), (std::vector<int>{1, 2, 12}));
    word.addWordKindsFromText(L"", L";");
    EXPECT_EQ(word.getWordKinds().size(), 3u);

    // Only the ASCII digits start a code: neither a letter beyond 255 nor
    // another script's digit is taken for one.
    LX_Word polish = wordIn(3, L"x");
    testing::internal::CaptureStdout();
    polish.addWordKindsFromText(L"Średni,\u0663,7", L",");
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "ERROR: wordkind PL: Sredni is unkown\nERROR: wordkind PL: ? is unkown\n");
    EXPECT_EQ(polish.getWordKinds(), (std::vector<int>{7}));
}

}  // namespace
