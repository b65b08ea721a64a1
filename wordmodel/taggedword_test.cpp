#include "wordmodel/taggedword.h"

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>

#include "wordmodel/word.h"
#include "wordmodel/word_inspector.h"
#include "wordmodel/wordlog_testing.h"

namespace {

using I = LX_WordInspector;

TEST(TaggedWord, DerivesHyphenationAndMarkedPhonesAndRates) {
    LX_Word word = germanWord(L"Wasser");
    word.setTaggedWord(L"Was-[s]er", 0, false);
    EXPECT_EQ(word.getTaggedWordQL(), L"Was-[s]er");
    EXPECT_EQ(word.getHyphenationQL(), L"Was-ser");
    EXPECT_EQ(word.getMarkedPhonesQL(), L"Was[s]er");
    EXPECT_EQ(word.getNbSyllables(), 2);
    EXPECT_EQ(word.getDifficulty(), 10);

    LX_Word unbalanced = germanWord(L"ab");
    unbalanced.setTaggedWordAlt(L"a]b[");
    EXPECT_EQ(unbalanced.getMarkedPhonesAlt(), L"a]b[");
}

TEST(TaggedWord, RefusedTextKeepsTheDerivedTextsAndLogs) {
    LX_Word word = germanWord(L"Wasser");
    word.setTaggedWord(L"Was-[s]er", 0, false);
    WordLogCapture log;
    word.setTaggedWord(L"was-[s]er", 0, false);
    EXPECT_EQ(word.getTaggedWordQL(), L"was-[s]er");
    EXPECT_EQ(word.getHyphenationQL(), L"Was-ser");
    EXPECT_EQ(word.getMarkedPhonesQL(), L"Was[s]er");
    EXPECT_EQ(log.take(),
              "ERROR: [  -1] Wasser <->  \"was-[s]er\" - wrong content in Hyphenation\n"
              "ERROR: [  -1] Wasser <-> was-[s]er - wrong content in MarkedPhones\n");
}

TEST(TaggedWord, VerboseTraceLines) {
    EXPECT_EQ(removeBrackets(L"[a]-b", false), L"a-b");
    WordLogCapture log;
    removeBrackets(L"[a]-b", true);
    removeHyphens(L"a-b", true);
    EXPECT_EQ(log.take(),
              "removeBrackets 000: [a]-b\nremoveBrackets 010: [a]-b\nremoveBrackets 020: a]-b\n"
              "removeBrackets 999: a-b\nremoveHyphens 000: a-b\nremoveHyphens 010: a-b\n"
              "removeHyphens 999: ab\n");

    LX_Word word = germanWord(L"ab");
    word.setTaggedWord(L"", 1, true);  // changes nothing
    EXPECT_EQ(log.take(), "setTaggedWord 000:  1\nsetTaggedWord 999 1\n");
    EXPECT_EQ(word.getTaggedWordAlt(), L"");
}

TEST(TaggedWord, DifferFlagsRecordTheirCodesAndStay) {
    LX_Word word = germanWord(L"Wasser");
    word.setHyphenationQL(L"Was-ser");
    word.setHyphenationAlt(L"Wass-er");
    EXPECT_TRUE(word.hyphenationsDiffer());
    EXPECT_FALSE(word.markedPhonesDiffer());
    EXPECT_EQ(I::checkCodes(word), (std::set<int>{10, 12}));
    word.setHyphenationAlt(L"Was-ser");
    EXPECT_TRUE(word.hyphenationsDiffer());

    word.setMarkedPhonesQL(L"Wa[s]ser");
    word.setMarkedPhonesAlt(L"Was[s]er");
    EXPECT_TRUE(word.markedPhonesDiffer());
    EXPECT_EQ(I::checkCodes(word), (std::set<int>{10, 12, 13, 15}));
}

TEST(TaggedWord, MergeRebuildsTheTaggedWord) {
    LX_Word kiste = germanWord(L"Kiste");
    EXPECT_EQ(kiste.mergeTaggedWordQL(), L"");
    kiste.setHyphenationQL(L"Kis-te");
    EXPECT_EQ(kiste.getTaggedWordQL(), L"Kis-te");
    kiste.setMarkedPhonesQL(L"Ki[s]te");
    EXPECT_EQ(kiste.getTaggedWordQL(), L"Ki[s-]te");

    LX_Word wasser = germanWord(L"Wasser");
    wasser.setHyphenationAlt(L"Was-ser");
    wasser.setMarkedPhonesAlt(L"Wa[ss]er");
    EXPECT_EQ(wasser.mergeTaggedWordAlt(), L"Wa[s-s]er");
}

// The word text changed between the hyphenation and the marked phones, so
// the two spell different letters.
TEST(TaggedWord, MergeOfDifferentSpellingsEnds) {
    LX_Word word = germanWord(L"Kiste");
    word.setHyphenationQL(L"Kis-te");
    word.setWord(L"Kasten");
    word.setMarkedPhonesQL(L"K[a]sten");
    EXPECT_EQ(word.getTaggedWordQL(), L"K[is-tea]sten");
}

// A reset record has language 0: the content check reads the empty text.
TEST(TaggedWord, ContentCheckOfALanguageWithoutSlot) {
    LX_Word word = germanWord(L"ab");
    word.reset();
    WordLogCapture log;
    word.setTaggedWord(L"a-b", 1, false);
    EXPECT_EQ(word.getHyphenationAlt(), L"");
    EXPECT_NE(log.take().find("ERROR: [  -1]  <->  \"a-b\""), std::string::npos);
    word.setHyphenationAlt(L"");
    EXPECT_EQ(word.getHyphenationAlt(), L"");
}

TEST(TaggedWord, RepairMovesMarksAndCollapsesBrackets) {
    const struct {
        const wchar_t* word;
        const wchar_t* marked;
        const wchar_t* repaired;
    } cases[] = {
        {L"Bettt", L"Bet[t]t", L"Bett[t]"}, {L"aa", L"[a]a", L"a[a]"},
        {L"Tt", L"[T]t", L"[T]t"},          {L"te", L"[t]e", L"[t]e"},
        {L"a", L"[[a]]", L"[a]"},           {L"a", L"[a]]]", L"[a]"},
        {L"Fuß", L"Fu[ß]", L"Fu[ß]"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.marked);
        LX_Word word = germanWord(c.word);
        word.setMarkedPhonesAlt(c.marked);
        word.repairMarkedPhonesAlt();
        EXPECT_EQ(word.getMarkedPhonesAlt(), c.repaired);
    }
    LX_Word bett = germanWord(L"Bett");
    bett.setMarkedPhonesQL(L"Be[t]t");
    WordLogCapture log;
    bett.repairMarkedPhonesQL();
    EXPECT_EQ(log.take(), "repairMarkedPhones(QL): Be[t]t -> Bet[t]\n");
}

// The text of what a merge throws; empty when it throws nothing.
template <typename Merge>
std::string thrown(Merge merge) {
    try {
        merge();
    } catch (const std::exception& e) {
        return e.what();
    }
    return "";
}

TEST(TaggedWordMerges, HyphenationsAndMarkedPhones) {
    EXPECT_EQ(mergeHyphenations(L"Wasser", L"Was-ser", L"Wass-er"), L"Was-s-er");
    EXPECT_EQ(mergeHyphenations(L"Wasser", L"Was-ser", L"Was-ser"), L"Was-ser");
    EXPECT_EQ(mergeMarkedPhones(L"Wasser", L"Wa[s]ser", L"Was[s]er"), L"Wa[ss]er");
    EXPECT_EQ(mergeMarkedPhones(L"abc", L"[a][b]c", L"abc"), L"[ab]c");
    EXPECT_EQ(mergeMarkedPhones(L"Wasser", L"", L"x"), L"x");
    EXPECT_EQ(mergeMarkedPhones(L"Wasser", L"Waser", L"zz"), L"zz");
    EXPECT_EQ(mergeMarkedPhones(L"Wasser", L"Was[s]er", L"Waser"), L"Was[s]er");

    const std::pair<std::function<void()>, const char*> failures[] = {
        {[] { mergeHyphenations(L"Wasser", L"Was-ser", L"Wa[s]ser"); }, "Exception 1012"},
        {[] { mergeHyphenations(L"Wasser", L"Wa--sser", L"Wasser"); }, "Exception 1011"},
        {[] { mergeHyphenations(L"Wasser", L"Wass", L"Wasser"); }, "Exception 1011"},
        {[] { mergeMarkedPhones(L"Wasser", L"Was[s]-er", L"Was[s]er"); }, "Exception 1001"},
        {[] { mergeMarkedPhones(L"Wasser", L"Was[s]er", L"W-asser"); }, "Exception 1002"},
    };
    for (const auto& [merge, error] : failures) {
        EXPECT_EQ(thrown(merge), error);
    }
}

}  // namespace
