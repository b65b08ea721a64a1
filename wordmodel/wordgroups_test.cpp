#include <gtest/gtest.h>

#include "wordmodel/library.h"
#include "wordmodel/word.h"
#include "wordmodel/word_inspector.h"
#include "wordmodel/wordlog_testing.h"

namespace {

using Texts = std::vector<std::wstring>;

TEST(WordGroups, KeptInWideOrderOnceAndRegistered) {
    LX_Word word;
    word.addWordGroup(L"b");
    word.addWordGroup(L"A");
    word.addWordGroup(L"a");
    word.addWordGroup(L"b");
    word.addWordGroup(L"");
    EXPECT_EQ(word.getWordGroups(), (Texts{L"A", L"a", L"b"}));
    EXPECT_EQ(word.wordGroupsText(L"|"), L"A|a|b");
    EXPECT_EQ(getWordGroupRegistry().count(L"A"), 1u);

    word.addSpellingGroups({L"e oder ä?", L"Wörter mit tz"});
    EXPECT_EQ(word.spellingGroupsText(L", "), L"Wörter mit tz, e oder ä?");
    EXPECT_EQ(getSpellingGroupRegistry().count(L"e oder ä?"), 1u);
    EXPECT_EQ(getWordGroupRegistry().count(L"e oder ä?"), 0u);

    // In UTF-16 a letter beyond U+FFFF is a surrogate pair and goes before
    // U+FF21, whatever the width of wchar_t; post-processing sorts alike.
    const Texts byUtf16 = {L"z", L"\U0001D400", L"\uFF21"};
    LX_Word wide = germanWord(L"Ei");
    wide.addWordGroups({L"\uFF21", L"\U0001D400", L"z"});
    wide.addSpellingGroups({L"z", L"\uFF21", L"\U0001D400"});
    EXPECT_EQ(wide.getWordGroups(), byUtf16);
    wide.postProcess(L"");
    EXPECT_EQ(wide.getWordGroups(), byUtf16);
    EXPECT_EQ(wide.getSpellingGroups(), byUtf16);
}

TEST(WordGroups, AlphaGeneralWordsIsLoggedAndKept) {
    LX_Word word = germanWord(L"Ei");
    WordLogCapture log;
    word.addWordGroup(L"Alpha+Allgemeine Wörter");
    const std::string line = log.take();
    EXPECT_EQ(line.rfind("WordGroupERROR : WordGroup Alpha+Allgemeine W\xF6rter :   -1 :   -1 :", 0),
              0u)
        << line;
    EXPECT_EQ(word.getWordGroups(), (Texts{L"Alpha+Allgemeine Wörter"}));
}

TEST(WordGroups, SpellingGroupsOfGermanWords) {
    const struct {
        const wchar_t* word;
        Texts groups;
    } cases[] = {
        {L"Fuchs", {L"Wörter mit chs", L"f oder pf?", L"s oder ss?"}},
        {L"Boot", {L"Selbstlautverdopplung", L"p oder b?", L"t oder d?"}},
        {L"Sport", {L"p oder b?", L"s oder ss?", L"schp oder sp?", L"t oder d?"}},
        {L"Sahne", {L"Dehnungs-h", L"e oder ä?", L"s oder ss?"}},
        {L"SCHULE", {L"e oder ä?", L"s oder ss?"}},
        {L"Vorteil",
         {L"e oder ä?", L"ei, ai oder ey?", L"t oder d?", L"vor oder fort?"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.word);
        LX_Word word = germanWord(c.word);
        EXPECT_TRUE(word.findWordGroups());
        EXPECT_EQ(word.getSpellingGroups(), c.groups);
    }
    LX_Word english(1, 2);
    english.setWord(2, L"Boot");
    EXPECT_FALSE(english.findWordGroups());
    EXPECT_TRUE(english.getSpellingGroups().empty());
}

TEST(GraphemPhonemList, UnitsOfAWord) {
    const struct {
        const wchar_t* word;
        Texts units;
    } cases[] = {
        {L"Schach", {L"SCH", L"A", L"CH"}},
        {L"Vögel", {L"V(F)", L"O2", L"G", L"E", L"L"}},
        {L"Straße", {L"S", L"T", L"R", L"A", L"S", L"E"}},
        {L"SCHOß", {L"S", L"C(Z)", L"H", L"O", L"S"}},
        {L"Typ 1-ä", {L"T", L"Y(Ü)", L"P", L" ", L"1", L"-", L"A2"}},
    };
    for (const auto& c : cases) {
        LX_Word word = germanWord(c.word);
        word.buildGraphemPhonemList();
        EXPECT_EQ(word.getGraphemPhonemList(false), c.units) << c.word;
    }
    LX_Word voegel = germanWord(L"Vögel");
    voegel.buildGraphemPhonemList();
    EXPECT_EQ(voegel.graphemPhonemText(L" ", true), L"V(F) Ö G E L");
    EXPECT_EQ(voegel.graphemPhonemText(L" ", false), L"V(F) O2 G E L");

    voegel.setGraphemPhonemList({L"Ä", L"B"});
    EXPECT_EQ(voegel.getGraphemPhonemList(false), (Texts{L"A2", L"B"}));
    EXPECT_EQ(voegel.getGraphemPhonemList(true), (Texts{L"Ä", L"B"}));

    // A reset record has no language and so no text to cut.
    voegel.reset();
    voegel.buildGraphemPhonemList();
    EXPECT_TRUE(voegel.getGraphemPhonemList(false).empty());
}

}  // namespace
