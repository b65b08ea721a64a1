#include <gtest/gtest.h>

#include <climits>

#include "wordmodel/word.h"
#include "wordmodel/wordlog_testing.h"

namespace {

TEST(WordArticles, CheckedPerLanguageAndStoredAnyway) {
    const struct {
        LanguageId language;
        const wchar_t* article;
        const char* line;
    } cases[] = {
        {2, L"Der", "ERROR: setArticle(): DeDe - Der Haus\n"}, {2, L"das", ""}, {1, L"the_", ""},
        {1, L"a", "ERROR: setArticle(): EnUk/EnUs - a Haus\n"},
        {3, L"ten", "ERROR: setArticle(): PlPl - ten Haus\n"},  {3, L"", ""}, {4, L"xyz", ""},
    };
    WordLogCapture log;
    for (const auto& c : cases) {
        LX_Word word;
        word.setWord(c.language, L"Haus");
        word.setArticle(c.language, c.article);
        EXPECT_EQ(log.take(), c.line);
        EXPECT_EQ(word.getArticle(c.language), c.article);
        EXPECT_EQ(word.isArticle(2), c.language == 2 && word.getWord() == L"das");
    }
    LX_Word das;
    das.setWord(L"das");
    das.setArticle(5, L"der");  // no slot: nothing stored, nothing broken
    EXPECT_TRUE(das.isArticle());
    EXPECT_FALSE(das.isArticle(1));
}

TEST(WordKinds, SortedUniquePrintedAndNamed) {
    LX_Word word;
    for (int code : {3, 1, 3}) word.addWordKind(code);
    EXPECT_EQ(word.wordKindsText(L","), L"1,3");
    word.setWordKinds({1000000000, INT_MIN});  // wider than ten characters
    EXPECT_EQ(word.wordKindsText(L", "), L"-2147483648, 1000000000");

    const struct {
        LanguageId language;
        const wchar_t* name;
        std::vector<int> codes;
    } names[] = {
        {2, L"Eigenname", {12}}, {2, L"Sinnfrei", {20}},   {2, L"Alphabet", {21}},
        {3, L"przysłówek", {4}}, {3, L"liczebnik", {7}},   {3, L"Präposition", {6}},
        {1, L"Verb", {}},        {2, L"verb", {}},         {3, L"Numeral", {}},
    };
    for (const auto& n : names) {
        LX_Word named(n.language, 1);
        testing::internal::CaptureStdout();
        named.setWordKind(n.name);
        testing::internal::GetCapturedStdout();
        EXPECT_EQ(named.getWordKinds(), n.codes);
    }
}

TEST(WordKinds, UnknownNamesReachStandardOutputAndTheLogWhole) {
    WordLogCapture log;
    LX_Word polish(3, 1);
    LX_Word german(2, 1);
    LX_Word english(1, 2);
    testing::internal::CaptureStdout();
    polish.setWordKind(L"Numeral");
    german.setWordKind(L"Größe");
    english.setWordKind(L"Größe");
    const std::string lines =
        "ERROR: wordkind PL: Numeral is unkown\nERROR: wordkind DE Gr\xF6\xDF" "e is unkown\n";
    EXPECT_EQ(testing::internal::GetCapturedStdout(), lines);
    EXPECT_EQ(log.take(), lines);
}

TEST(WordKinds, FromText) {
    LX_Word word;
    word.addWordKindsFromText(L"  1 ; Verb;12 ", L";");
    EXPECT_EQ(word.getWordKinds(), (std::vector<int>{1, 2, 12}));

    // Only the ASCII digits start a code: neither a letter beyond 255 nor
    // another script's digit is taken for one.
    LX_Word polish(3, 1);
    testing::internal::CaptureStdout();
    polish.addWordKindsFromText(L"Średni,\u0663,7", L",");
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "ERROR: wordkind PL: Sredni is unkown\nERROR: wordkind PL: ? is unkown\n");
    EXPECT_EQ(polish.getWordKinds(), (std::vector<int>{7}));
}

}  // namespace
