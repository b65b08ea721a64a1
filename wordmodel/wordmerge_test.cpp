#include <gtest/gtest.h>

#include "wordmodel/word.h"
#include "wordmodel/word_inspector.h"
#include "wordmodel/wordlog_testing.h"

namespace {

using I = LX_WordInspector;
using Texts = std::vector<std::wstring>;

TEST(WordMerge, GathersListsAndSetsQL) {
    LX_Word word = germanWord(L"Haus");
    word.addReference({2, 1, 5});
    LX_Word other = germanWord(L"Maus");
    other.addReference({2, 1, 5});
    other.addReference({2, 2, 5});
    other.addSecondReference({1, 1, 1});
    I::memberships(other).insert(L"QLYde");
    other.addCheckCode(22);
    other.addWordGroup(L"Tiere");
    other.addWordKind(1);
    other.setAudioName(2, L"w1a");
    other.setTaggedWordAlt(L"Ma-us");  // refused for this word, stored as given
    other.setPhonemList(L"m-au-s");
    I::setFlags(other, false, true, true, false, false);

    EXPECT_TRUE(word.mergeFrom(other));
    EXPECT_EQ(word.getReferences(), (std::vector<WordReference>{{2, 1, 5}, {2, 2, 5}}));
    EXPECT_TRUE(word.hasMembership(L"QLYde"));
    EXPECT_EQ(I::checkCodes(word), std::set<int>{22});
    EXPECT_EQ(word.getWordGroups(), Texts{L"Tiere"});
    EXPECT_TRUE(word.getWordKinds().empty());
    EXPECT_EQ(word.getAudioName(), L"");
    EXPECT_EQ(word.getTaggedWordAlt(), L"Ma-us");
    EXPECT_EQ(word.getHyphenationAlt(), L"");
    EXPECT_EQ(word.getPhonemList(), L"m-au-s");
    EXPECT_TRUE(word.getQLFlag());
    EXPECT_TRUE(word.getFlagY());
}

// Merged or completed from itself, a record stays as it was; a merge still
// marks it QL.
TEST(WordMerge, IntoItself) {
    LX_Word word;
    I::fillAll(word, L"Schule");
    I::relatedWords(word).push_back(germanWord(L"Schulen"));
    word.setQLFlag(false);
    LX_Word expected = word;
    expected.setQLFlag(true);
    EXPECT_TRUE(word.mergeFrom(word));
    EXPECT_TRUE(I::equal(word, expected));
    for (const bool overwrite : {false, true}) {
        EXPECT_TRUE(word.assignFrom(word, overwrite, true));
        EXPECT_TRUE(I::equal(word, expected)) << overwrite;
    }
}

TEST(WordAssign, IdentityTest) {
    LX_Word word = germanWord(L"See");
    word.setArticle(2, L"der");
    LX_Word other = germanWord(L"See");
    other.setArticle(2, L"die");
    other.setWord(1, L"lake");
    other.setAudioName(2, L"w7a");
    const LX_Word before = word;
    EXPECT_FALSE(word.assignFrom(other, false, true));
    EXPECT_TRUE(I::equal(word, before));

    EXPECT_TRUE(word.assignFrom(other, false, false));
    EXPECT_EQ(word.getArticle(2), L"der");
    EXPECT_EQ(word.getWord(1), L"lake");
    EXPECT_EQ(word.getAudioName(), L"w7a");
    EXPECT_EQ(word.getResourceId(), 1000 + 21);
}

TEST(WordAssign, OverwriteOrComplete) {
    LX_Word other = germanWord(L"See");
    I::setAuxFlag(other, false);
    other.setIsName(false);

    LX_Word word = germanWord(L"See");
    word.setIsName(true);
    I::setWordNumber(word, 42);
    I::setAuxFlag(word, true);
    word.assignFrom(other, false, true);
    EXPECT_TRUE(word.isName());
    EXPECT_EQ(word.getWordNumber(), 42);

    word.assignFrom(other, true, true);
    EXPECT_FALSE(word.isName());
    EXPECT_EQ(word.getWordNumber(), -1);
    EXPECT_TRUE(I::auxFlag(word));

    LX_Word numbered = germanWord(L"See");
    I::setWordNumber(numbered, 7);
    numbered.setPerLanguageNumber(1, 3);
    numbered.setDifficulty(4);
    I::levelCounts(numbered) = {1, 2};
    word.assignFrom(numbered, false, true);
    EXPECT_EQ(word.getWordNumber(), 7);
    EXPECT_EQ(word.getPerLanguageNumber(1), 3);
    EXPECT_EQ(word.getDifficulty(), 4);
    EXPECT_EQ(word.getLevelCount(1), 2);
}

// The audio library builds its records with a second language of 0.
TEST(WordAssign, SecondLanguageWithoutSlot) {
    LX_Word word(2, 0);
    word.setWord(L"Tal");
    LX_Word other(2, 0);
    other.setWord(L"Tal");
    other.setAudioName(2, L"w5a");
    other.setAltAudioName(2, L"w5b");
    other.setPerLanguageNumber(2, 4);
    EXPECT_TRUE(word.assignFrom(other, true, true));
    EXPECT_EQ(word.getAudioName(), L"w5a");
    EXPECT_EQ(word.getAltAudioName(2), L"w5b");
    EXPECT_EQ(word.getPerLanguageNumber(2), 4);
    EXPECT_EQ(word.getWord(0), L"");
}

TEST(SharpS, RewritesWordHyphenationMarksListAndGroups) {
    LX_Word word = germanWord(L"Straße");
    word.setHyphenationQL(L"Stra-ße");
    word.buildGraphemPhonemList();
    word.addWordGroup(L"Weg und Straße");
    word.addWordGroup(L"Weg");
    word.changeSZ2SS();
    EXPECT_EQ(word.getWord(), L"Strasse");
    EXPECT_EQ(word.getHyphenationQL(), L"Stras-se");
    EXPECT_EQ(word.getTaggedWordQL(), L"Stras-se");
    EXPECT_EQ(word.getGraphemPhonemList(false),
              (Texts{L"S", L"T", L"R", L"A", L"S", L"S", L"E"}));
    EXPECT_EQ(word.getSpellingGroups(), Texts{L"s oder ss?"});
    EXPECT_EQ(word.getWordGroups(), (Texts{L"Weg", L"Weg und Strasse"}));

    // Renamed in place and not sorted again, so a name already there must
    // still be found in the unsorted list.
    LX_Word unsorted = germanWord(L"Maß");
    unsorted.addWordGroups({L"Straße", L"Strassf"});
    unsorted.changeSZ2SS();
    unsorted.addWordGroup(L"Strasse");
    EXPECT_EQ(unsorted.getWordGroups(), (Texts{L"Strassf", L"Strasse"}));

    LX_Word fuss = germanWord(L"Fußball");
    fuss.setHyphenationQL(L"Fuß-ball");
    fuss.setMarkedPhonesQL(L"Fu[ß]ball");
    fuss.changeSZ2SS();
    EXPECT_EQ(fuss.getHyphenationQL(), L"Fuss-ball");
    EXPECT_EQ(fuss.getMarkedPhonesQL(), L"Fu[ss]ball");
    EXPECT_EQ(fuss.getTaggedWordQL(), L"Fu[ss-]ball");

    LX_Word none = germanWord(L"Haus");
    none.changeSZ2SS();
    EXPECT_EQ(none.getWord(), L"Haus");
    EXPECT_TRUE(none.getSpellingGroups().empty());
}

TEST(SharpS, GraphemePositions) {
    const struct {
        const wchar_t* word;
        Texts list;
    } cases[] = {
        {L"Schoß", {L"SCH", L"O", L"S", L"S"}},
        {L"SCHOß", {L"S", L"C(Z)", L"H", L"O", L"S", L"S"}},
        {L"Blaßmaß", {L"B", L"L", L"A", L"S", L"S", L"M", L"A", L"S", L"S"}},
    };
    for (const auto& c : cases) {
        LX_Word word = germanWord(c.word);
        word.buildGraphemPhonemList();
        word.changeSZ2SS();
        EXPECT_EQ(word.getGraphemPhonemList(false), c.list) << c.word;
    }
    // A list given from outside: a "ß" at its end is appended, one beyond
    // its end left out.
    const std::pair<Texts, Texts> given[] = {
        {{L"F", L"U"}, {L"F", L"U", L"S"}},
        {{L"F"}, {L"F"}},
    };
    for (const auto& [list, expected] : given) {
        LX_Word fuss = germanWord(L"Fuß");
        fuss.setGraphemPhonemList(list);
        fuss.changeSZ2SS();
        EXPECT_EQ(fuss.getGraphemPhonemList(false), expected);
    }
    // Without a list (an English record, a list never built) nothing is
    // inserted, but the word is rewritten all the same.
    LX_Word english(1, 2);
    english.setWord(2, L"Fuß");
    english.changeSZ2SS();
    EXPECT_TRUE(english.getGraphemPhonemList(false).empty());
    EXPECT_EQ(english.getWord(2), L"Fuss");
}

TEST(SharpS, RefusedWhenTheSpellingsNoLongerFit) {
    LX_Word word = germanWord(L"Straße");
    word.setHyphenationQL(L"Stra-ße");
    word.setWord(L"Straßen");
    WordLogCapture log;
    word.changeSZ2SS();
    EXPECT_EQ(log.take(),
              "ERROR: [  -1] word:Strassen             <-> hyph:Stras-se             - wrong "
              "content in changeSZ2SS (hyphenation)");
    EXPECT_EQ(word.getWord(), L"Straßen");
    EXPECT_TRUE(word.getSpellingGroups().empty());

    LX_Word marked = germanWord(L"Maß");
    marked.setMarkedPhonesQL(L"[M]aß");
    marked.setWord(L"Maße");
    marked.changeSZ2SS();
    EXPECT_EQ(log.take(),
              "ERROR: [  -1] word:Ma\xDF" "e                 <-> mkph:[M]ass               - "
              "wrong content in changeSZ2SS (markedPhones)");
    EXPECT_EQ(marked.getWord(), L"Maße");
}

}  // namespace
