#include "wordmodel/word.h"

#include <gtest/gtest.h>

#include <climits>

#include "wordmodel/word_inspector.h"
#include "wordmodel/wordreference.h"
#include "wordmodel/wordtables.h"

namespace {

using I = LX_WordInspector;

TEST(WordRecordLifeCycle, DefaultIsGermanWithEnglishSecond) {
    const LX_Word word;
    EXPECT_EQ(word.getLanguage(), 2);
    EXPECT_EQ(I::secondLanguage(word), 1);
    I::expectFresh(word);
    EXPECT_TRUE(I::checkCodes(word).empty());
    for (int language = 1; language <= 4; ++language) {
        EXPECT_EQ(word.getAltAudioName(language), L"");
        EXPECT_EQ(word.getAuxText(language), L"");
    }
}

TEST(WordRecordLifeCycle, LanguagesFromTheConstructor) {
    LX_Word word(3, 2);
    EXPECT_EQ(word.getLanguage(), 3);
    EXPECT_EQ(I::secondLanguage(word), 2);
    I::expectFresh(word);

    word.setWord(2, L"Haus");
    word.setWord(L"dom");
    EXPECT_EQ(word.getWord(), L"dom");
    EXPECT_EQ(word.getWord(3), L"dom");
    EXPECT_EQ(word.getWord(2), L"Haus");
    EXPECT_EQ(word.getWordLength(), 3);
}

TEST(WordRecordLifeCycle, WordLengthCountsTheCurrentLanguageOnly) {
    LX_Word word;
    word.setWord(L"Bär!");
    EXPECT_EQ(word.getWordLength(), 4);
    LX_Word english(1, 2);
    english.setWord(2, L"Haus");
    EXPECT_EQ(english.getWordLength(), 0);
}

TEST(WordRecordLifeCycle, ResetKeepsAltNamesAuxTextsAndCheckCodes) {
    LX_Word word;
    I::fillAll(word, L"Schule");
    word.setAltAudioName(2, L"d1234b");
    word.addCheckCode(10);
    word.reset();

    I::expectFresh(word);
    EXPECT_EQ(word.getLanguage(), 0);
    EXPECT_EQ(I::secondLanguage(word), 0);
    EXPECT_EQ(word.getAltAudioName(2), L"d1234b");
    EXPECT_EQ(word.getAltAudioName(1), L"altSchule0");
    EXPECT_EQ(word.getAuxText(3), L"auxSchule2");
    EXPECT_EQ(I::checkCodes(word), (std::set<int>{10, 36}));
}

TEST(WordRecordLifeCycle, CheckCodesAreKeptOnce) {
    LX_Word word;
    word.addCheckCode(10);
    word.addCheckCode(10);
    word.addCheckCode(-1);
    EXPECT_EQ(I::checkCodes(word), (std::set<int>{-1, 10}));
}

TEST(WordRecordCopies, CopyHoldsEqualIndependentRelatedWords) {
    LX_Word source;
    I::fillAll(source, L"Baum");
    LX_Word first;
    I::fillAll(first, L"Bäume");
    LX_Word second(1, 2);
    second.setWord(L"tree");
    I::relatedWords(first).push_back(second);  // related words nest
    I::relatedWords(source).push_back(first);
    I::relatedWords(source).push_back(second);

    LX_Word copy(source);
    ASSERT_TRUE(I::equal(copy, source));
    ASSERT_EQ(I::relatedWords(copy).size(), 2u);

    I::relatedWords(copy)[0].setWord(L"changed");
    I::relatedWords(I::relatedWords(copy)[0])[0].setWord(L"changed too");
    I::relatedWords(copy)[1].reset();
    copy.setAltAudioName(2, L"other");
    EXPECT_EQ(I::relatedWords(source)[0].getWord(), L"Bäume1");
    EXPECT_EQ(I::relatedWords(I::relatedWords(source)[0])[0].getWord(), L"tree");
    EXPECT_EQ(I::relatedWords(source)[1].getWord(), L"tree");
    EXPECT_EQ(source.getAltAudioName(2), L"altBaum1");
    EXPECT_FALSE(I::equal(copy, source));
}

TEST(WordRecordCopies, AssignmentReplacesEveryMember) {
    LX_Word source(3, 1);
    I::fillAll(source, L"dom");
    I::relatedWords(source).emplace_back(1, 3);

    LX_Word target;
    I::fillAll(target, L"Haus");
    I::relatedWords(target).resize(3);
    target = source;
    EXPECT_TRUE(I::equal(target, source));

    // The kept members come along too, and the copies stay apart.
    LX_Word fresh;
    fresh = source;
    EXPECT_EQ(fresh.getAuxText(1), L"auxdom0");
    fresh.setAuxText(1, L"x");
    EXPECT_EQ(source.getAuxText(1), L"auxdom0");

    LX_Word& self = target;
    target = self;
    EXPECT_TRUE(I::equal(target, source));
}

TEST(WordRecordAccessors, PlainValues) {
    LX_Word word;
    I::fillAll(word, L"Wort");
    EXPECT_EQ(word.getArticle(2), L"der");
    EXPECT_EQ(word.getAudioName(1), L"wWort0");
    EXPECT_EQ(word.getAudioName(), L"wWort1");
    EXPECT_EQ(word.getResourceId(3), 1002);
    EXPECT_EQ(word.getResourceId(), 1001);
    EXPECT_EQ(word.getDllIndex(4), 5);
    EXPECT_EQ(word.getPerLanguageNumber(1), 1);
    word.setPerLanguageNumber(1, 9);
    EXPECT_EQ(word.getPerLanguageNumber(1), 9);
    EXPECT_EQ(word.getWordNumber(), 42);
    EXPECT_EQ(word.getNbSyllables(), 2);
    EXPECT_EQ(word.getDifficulty(), 8);
    EXPECT_TRUE(word.isName());
    word.setIsName(false);
    EXPECT_FALSE(word.isName());
    EXPECT_TRUE(word.getQLFlag());
    word.setQLFlag(false);
    EXPECT_FALSE(word.getQLFlag());
}

TEST(WordRecordAccessors, MembershipsAreExactTokens) {
    LX_Word word;
    I::memberships(word).insert(L"QLYDE");
    EXPECT_FALSE(word.hasMembership(L"QLYde"));
    I::memberships(word).insert(tokenTable[19]);
    EXPECT_TRUE(word.hasMembership(L"QLYde"));

    std::set<std::wstring> copy = word.getMemberships();
    copy.clear();
    EXPECT_EQ(word.getMemberships().size(), 2u);
}

TEST(WordRecordAccessors, LanguagesOutsideTheSlotsReachNothing) {
    LX_Word word;
    I::fillAll(word, L"Wort");
    for (int language : {0, 5, -1, INT_MIN, INT_MAX}) {
        SCOPED_TRACE(language);
        word.setWord(language, L"x");
        word.setAltAudioName(language, L"x");
        word.setAuxText(language, L"x");
        word.setPerLanguageNumber(language, 99);
        EXPECT_EQ(word.getWord(language), L"");
        EXPECT_EQ(word.getArticle(language), L"");
        EXPECT_EQ(word.getAudioName(language), L"");
        EXPECT_EQ(word.getAltAudioName(language), L"");
        EXPECT_EQ(word.getAuxText(language), L"");
        EXPECT_EQ(word.getPerLanguageNumber(language), -1);
        EXPECT_EQ(word.getResourceId(language), -1);
        EXPECT_EQ(word.getDllIndex(language), -1);

        I::setLanguage(word, language);
        EXPECT_EQ(word.getWord(), L"");
        EXPECT_EQ(word.getWordLength(), 0);
        EXPECT_EQ(word.getAudioName(), L"");
        EXPECT_EQ(word.getResourceId(), -1);
        word.setWord(L"y");
    }
    // The slots that exist were left alone.
    I::setLanguage(word, 2);
    EXPECT_EQ(word.getWord(), L"Wort1");
    EXPECT_EQ(word.getAltAudioName(4), L"altWort3");
    EXPECT_EQ(word.getPerLanguageNumber(4), 4);

    // A reset record (language 0) reads nothing either.
    word.reset();
    EXPECT_EQ(word.getWord(), L"");
}

TEST(WordTables, Tokens) {
    EXPECT_EQ(tokenTable[0], L"none");
    EXPECT_EQ(tokenTable[1], L"en_uk");
    EXPECT_EQ(tokenTable[2], L"de_de");
    EXPECT_EQ(tokenTable[3], L"pl_pl");
    EXPECT_EQ(tokenTable[4], L"DE 01");
    EXPECT_EQ(tokenTable[8], L"DE 05");
    EXPECT_EQ(tokenTable[9], L"EN 01");
    EXPECT_EQ(tokenTable[13], L"EN 05");
    EXPECT_EQ(tokenTable[14], L"PL 01");
    EXPECT_EQ(tokenTable[18], L"PL 05");
    EXPECT_EQ(tokenTable[19], L"QLYde");
    EXPECT_EQ(tokenTable[20], L"QLYen");
    EXPECT_EQ(tokenTable[21], L"QLYpl");
    EXPECT_EQ(tokenTable[22], L"KR");
    EXPECT_EQ(tokenTable[23], L"MOB");
}

TEST(WordTables, CheckCodes) {
    const CheckCodeTable table = buildCheckCodeTable();
    const int expected[CheckCodeTable::slotCount] = {1,  2,  3,  4,  5,  6,  9,  10, 12, 13,
                                                     15, 17, 18, 22, 23, 24, 25, 26, 36, 37,
                                                     38, 40, 41, 42, -1, 32, 33, 34, 35, -1};
    for (std::size_t slot = 0; slot < CheckCodeTable::slotCount; ++slot) {
        EXPECT_EQ(table.code(slot), expected[slot]) << "slot " << slot;
    }
    EXPECT_EQ(table.code(30), -1);
    EXPECT_EQ(table.code(static_cast<std::size_t>(-1)), -1);
}

TEST(WordReferences, EqualOnlyWhenAllThreeAre) {
    const WordReference reference{2, 7, 120};
    EXPECT_TRUE(reference == (WordReference{2, 7, 120}));
    EXPECT_FALSE(reference == (WordReference{1, 7, 120}));
    EXPECT_FALSE(reference == (WordReference{2, 8, 120}));
    EXPECT_FALSE(reference == (WordReference{2, 7, 121}));
    EXPECT_EQ(reference.getValue(), 120);
}

}  // namespace
