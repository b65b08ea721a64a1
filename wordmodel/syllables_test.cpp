#include "wordmodel/syllables.h"

#include <gtest/gtest.h>

#include "common/strings.h"
#include "wordmodel/library.h"
#include "wordmodel/word.h"
#include "wordmodel/word_inspector.h"
#include "wordmodel/wordlog_testing.h"

namespace {

using I = LX_WordInspector;

struct Rating {
    int syllables;
    int difficulty;
    bool operator==(const Rating&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Rating& rating) {
    return out << "{" << rating.syllables << " syllables, level " << rating.difficulty << "}";
}

// As the word entry points measure a word: a German record built for it.
Rating rate(const std::wstring& text, LanguageId language = languageGerman,
            const std::wstring& hyphenation = L"") {
    LX_Word word(language, languageEnglish);
    word.setWord(language, text);
    I::setHyphenation(word, 0, hyphenation);
    const int syllables = word.countSyllables();
    word.calcDifficulty();
    EXPECT_EQ(word.getNbSyllables(), syllables) << "the rating counts the same";
    return {syllables, word.getDifficulty()};
}

// The process-wide counter of a grapheme within one level.
int& counter(std::size_t level, const std::wstring& grapheme) {
    for (GraphemeLevel& entry : GraphemeLevelTable.at(level)) {
        if (entry.grapheme == grapheme) {
            return entry.count;
        }
    }
    throw std::invalid_argument("no such grapheme");
}

TEST(SyllablesAndDifficulty, WordsOfTheLevelTable) {
    EXPECT_EQ(rate(L""), (Rating{0, 0}));
    EXPECT_EQ(rate(L"Haus"), (Rating{1, 1}));
    EXPECT_EQ(rate(L"Eis"), (Rating{1, 1}));
    EXPECT_EQ(rate(L"Schule"), (Rating{2, 8}));
    EXPECT_EQ(rate(L"fahren"), (Rating{2, 3}));
    EXPECT_EQ(rate(L"gehen"), (Rating{2, 2}));
    EXPECT_EQ(rate(L"Kuh"), (Rating{1, 5}));
    EXPECT_EQ(rate(L"Eier"), (Rating{2, 3}));
    EXPECT_EQ(rate(L"See"), (Rating{1, 4}));
    EXPECT_EQ(rate(L"Fahrrad"), (Rating{2, 5}));
    EXPECT_EQ(rate(L"pst"), (Rating{1, 9}));
    // "ss" rates at level 10, never at 4.
    EXPECT_EQ(rate(L"Straße"), (Rating{2, 10}));
    EXPECT_EQ(rate(L"Wasser"), (Rating{2, 10}));
}

TEST(SyllablesAndDifficulty, VowelsAndDiphthongs) {
    // A diphthong counts even after a vowel, a vowel after it counts again,
    // and runs of vowels count once.
    EXPECT_EQ(rate(L"Eier").syllables, 2);
    EXPECT_EQ(rate(L"bauen").syllables, 2);
    EXPECT_EQ(rate(L"Boot").syllables, 1);
    EXPECT_EQ(rate(L"Aula").syllables, 2);
    EXPECT_EQ(rate(L"neu").syllables, 1);
    EXPECT_EQ(rate(L"Ei").syllables, 1);
    // A diphthong cut short by the end is no diphthong.
    EXPECT_EQ(rate(L"e").syllables, 1);
}

TEST(SyllablesAndDifficulty, TheFourKindsOfH) {
    EXPECT_EQ(rate(L"Hut").syllables, 1);      // at the start: a consonant
    EXPECT_EQ(rate(L"Kuh").syllables, 1);      // last, after a vowel: lengthens it
    EXPECT_EQ(rate(L"fahren").syllables, 2);   // before a consonant: lengthens
    EXPECT_EQ(rate(L"gehen").syllables, 2);    // before a vowel: a consonant
    // A lengthening h is no consonant, so a separator after it ends nothing.
    EXPECT_EQ(rate(L"Kuh.").syllables, 1);
    EXPECT_EQ(rate(L"Tisch.").syllables, 2);

    EXPECT_FALSE(isVowelLikeH(L"hut", 0));
    EXPECT_FALSE(isVowelLikeH(L"sch", 2));   // no vowel before it
    EXPECT_TRUE(isVowelLikeH(L"kuh", 2));
    EXPECT_FALSE(isVowelLikeH(L"gehen", 2));
    EXPECT_TRUE(isVowelLikeH(L"fahren", 2));
    EXPECT_TRUE(isVowelLikeH(L"ahh", 1));
    EXPECT_TRUE(isVowelLikeH(L"kuh.", 2));
    EXPECT_TRUE(isVowelLikeH(L"kuh-", 2));
    EXPECT_FALSE(isVowelLikeH(L"ah1", 1));   // a digit is in no class
    EXPECT_FALSE(isVowelLikeH(L"aHa", 1));   // capitals are in no class either
    EXPECT_FALSE(isVowelLikeH(L"ah", 2));    // past the end
    EXPECT_FALSE(isVowelLikeH(L"", 0));
    EXPECT_FALSE(isVowelLikeH(L"ah", 4000000000u));
}

TEST(SyllablesAndDifficulty, SeparatorsAndDigits) {
    // A separator ends a syllable only after a consonant.
    EXPECT_EQ(rate(L"Haus Maus").syllables, 3);
    EXPECT_EQ(rate(L"Haus-Maus").syllables, 3);
    EXPECT_EQ(rate(L"Haus."), (Rating{2, 2}));
    EXPECT_EQ(rate(L"Auto.").syllables, 2);
    EXPECT_EQ(rate(L"Auto Auto").syllables, 4);
    EXPECT_EQ(rate(L"..."), (Rating{0, 0}));
    // Hyphens in the word text are separators, not a hyphenation.
    EXPECT_EQ(rate(L"Scho-ko-la-de"), (Rating{4, 8}));
    // Every digit counts.
    EXPECT_EQ(rate(L"123"), (Rating{3, 3}));
    EXPECT_EQ(rate(L"A4").syllables, 2);
    EXPECT_EQ(rate(L"2000"), (Rating{4, 4}));
    // Characters of no class: neither vowel nor consonant.
    EXPECT_EQ(rate(L"Øl"), (Rating{1, 1}));
    EXPECT_EQ(rate(L"é"), (Rating{0, 0}));
}

TEST(SyllablesAndDifficulty, CapitalsAndUmlauts) {
    EXPECT_EQ(rate(L"ÄRGER"), (Rating{2, 8}));
    EXPECT_EQ(rate(L"HÄUSER"), (Rating{2, 9}));
    EXPECT_EQ(rate(L"STRASSE"), (Rating{2, 10}));
    EXPECT_EQ(rate(L"SCHULE"), rate(L"Schule"));
    EXPECT_EQ(rate(L"Öl"), (Rating{1, 8}));
    EXPECT_EQ(rate(L"Übung"), (Rating{2, 9}));
}

TEST(SyllablesAndDifficulty, SyllableRuleRaisesEasyWords) {
    EXPECT_EQ(rate(L"Tomatensalat"), (Rating{5, 5}));
    EXPECT_EQ(rate(L"Bananenplantage"), (Rating{6, 6}));  // above MAXSYLL
    EXPECT_EQ(rate(L"123456789012"), (Rating{12, 12}));   // and above level 10
    // Level 5 and above keeps its level whatever the syllables.
    EXPECT_EQ(rate(L"Kanalisationen"), (Rating{6, 5}));
    // Fewer syllables than the level: the level stays.
    EXPECT_EQ(rate(L"Rad"), (Rating{1, 3}));
}

TEST(SyllablesAndDifficulty, OnlyGermanIsMeasuredByLetters) {
    EXPECT_EQ(rate(L"Schule", languageEnglish), (Rating{0, 0}));
    EXPECT_EQ(rate(L"Schule", languagePolish), (Rating{0, 0}));
    EXPECT_EQ(rate(L"Schule", 4), (Rating{0, 0}));
}

TEST(SyllablesAndDifficulty, HyphenationAnswersTheCount) {
    EXPECT_EQ(rate(L"Schule", languageEnglish, L"Scho-ko-la-de"), (Rating{4, 0}));
    EXPECT_EQ(rate(L"", languagePolish, L"Scho-ko-la-de"), (Rating{4, 0}));
    // German: the letters are still rated, and the count raises the level.
    EXPECT_EQ(rate(L"Haus", languageGerman, L"Scho-ko-la-de"), (Rating{4, 4}));
    EXPECT_EQ(rate(L"Schule", languageGerman, L"Schu-le"), (Rating{2, 8}));
    EXPECT_EQ(rate(L"Haus", languageGerman, L"-"), (Rating{2, 2}));
    // Without a hyphen the letters decide.
    EXPECT_EQ(rate(L"Schule", languageGerman, L"Schule"), (Rating{2, 8}));
    EXPECT_EQ(rate(L"Schule", languageEnglish, L"Schule"), (Rating{0, 0}));

    // Only variant 0 counts.
    LX_Word word;
    word.setWord(L"Haus");
    I::setHyphenation(word, 1, L"Ha-us");
    EXPECT_EQ(word.countSyllables(), 1);
}

TEST(SyllablesAndDifficulty, RatingCountsTheFirstMatchOfTheHighestLevel) {
    struct Case {
        const wchar_t* word;
        std::size_t level;
        const wchar_t* counted;
        std::vector<std::pair<std::size_t, const wchar_t*>> untouched;
    };
    const Case cases[] = {
        {L"Eis", 1, L"e", {{1, L"s"}, {1, L"i"}, {1, L"a"}}},
        {L"Haus", 1, L"a", {{1, L"s"}, {1, L"u"}, {1, L"h"}}},
        {L"Schule", 8, L"sch", {{7, L"ch"}, {1, L"s"}, {1, L"e"}}},
        {L"Wasser", 10, L"ss", {{4, L"ss"}, {1, L"a"}, {7, L"w"}}},
        {L"HÄUSER", 9, L"äu", {{8, L"ä"}, {1, L"e"}}},
        {L"Küchenhäuser", 9, L"ü", {{9, L"äu"}, {8, L"ä"}, {7, L"ch"}}},
        {L"Tomatensalat", 1, L"a", {{1, L"e"}, {1, L"o"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.word)));
        const int before = counter(c.level, c.counted);
        std::vector<int> othersBefore;
        for (const auto& [level, grapheme] : c.untouched) {
            othersBefore.push_back(counter(level, grapheme));
        }
        rate(c.word);
        EXPECT_EQ(counter(c.level, c.counted), before + 1);
        for (std::size_t i = 0; i < c.untouched.size(); ++i) {
            EXPECT_EQ(counter(c.untouched[i].first, c.untouched[i].second), othersBefore[i]);
        }
    }
}

TEST(SyllablesAndDifficulty, CountersGrowOnlyWhenAGermanWordIsRated) {
    const int before = counter(8, L"sch");
    LX_Word word;
    word.setWord(L"Schule");
    word.countSyllables();
    EXPECT_EQ(counter(8, L"sch"), before);
    rate(L"Schule", languageEnglish);
    rate(L"Schule", languageEnglish, L"Schu-le");
    EXPECT_EQ(counter(8, L"sch"), before);
    rate(L"...");  // finds no grapheme
    EXPECT_EQ(counter(8, L"sch"), before);
    word.calcDifficulty();
    word.calcDifficulty();
    EXPECT_EQ(counter(8, L"sch"), before + 2);
}

TEST(SyllablesAndDifficulty, ResultsAreStoredInTheRecord) {
    LX_Word word;
    word.setWord(L"Schule");
    word.calcDifficulty();
    EXPECT_EQ(word.getNbSyllables(), 2);
    EXPECT_EQ(word.getDifficulty(), 8);
    word.setDifficulty(3);
    EXPECT_EQ(word.getDifficulty(), 3);

    word.setWord(L"");
    word.calcDifficulty();
    EXPECT_EQ(word.getNbSyllables(), 0);
    EXPECT_EQ(word.getDifficulty(), 0);
    // The rating does not touch the per-record level counters.
    EXPECT_EQ(word.getLevelCount(8), 0);
}

TEST(LevelCounters, GrowOnDemand) {
    LX_Word word;
    EXPECT_EQ(word.getLevelCount(0), 0);
    EXPECT_EQ(word.getLevelCount(100), 0);
    EXPECT_EQ(word.incrementLevelCount(3), 1);
    EXPECT_EQ(word.incrementLevelCount(3), 2);
    EXPECT_EQ(word.getLevelCount(3), 2);
    EXPECT_EQ(word.getLevelCount(2), 0);
    word.decrementLevelCount(3);
    EXPECT_EQ(word.getLevelCount(3), 1);
    word.decrementLevelCount(3);
    word.decrementLevelCount(3);  // never below 0
    EXPECT_EQ(word.getLevelCount(3), 0);
    word.decrementLevelCount(9);  // missing: nothing
    EXPECT_EQ(word.getLevelCount(9), 0);
    EXPECT_EQ(word.incrementLevelCount(1), 1);
    word.clearLevelCount(1);
    EXPECT_EQ(word.getLevelCount(1), 0);
    word.clearLevelCount(7);
    EXPECT_EQ(word.incrementLevelCount(6), 1);

    // A copy has its own counters; a reset drops them.
    LX_Word copy(word);
    copy.incrementLevelCount(6);
    EXPECT_EQ(word.getLevelCount(6), 1);
    word.reset();
    EXPECT_EQ(word.getLevelCount(6), 0);
}

// The trace lines of the count, written when the log takes level 11.
class SyllableTrace : public ::testing::Test {
protected:
    // What the log received since the last call.
    std::string takeLog() { return m_log.take(); }

    WordLogCapture m_log{wordTraceLevel};
};

TEST_F(SyllableTrace, EveryStepOfACount) {
    LX_Word word;
    word.setWord(L"Haus");
    EXPECT_EQ(word.countSyllables(), 1);
    EXPECT_EQ(takeLog(),
              "      countSyllables 000 :    Haus\n"
              "      countSyllables 010 :    haus\n"
              "      countSyllables 100 :    [ 0] h -> t:3 --> nb: 0\n"
              "      countSyllables 050 :    [ 1] vc:au\n"
              "      countSyllables 100 :    [ 2] u -> t:2 --> nb: 1\n"
              "      countSyllables 100 :    [ 3] s -> t:3 --> nb: 1\n"
              "      countSyllables 999 :    NbSyllables = 1\n");

    // The rating writes the lines of its count and none of its own.
    word.calcDifficulty();
    const std::string rated = takeLog();
    word.countSyllables();
    EXPECT_EQ(rated, takeLog());
}

TEST_F(SyllableTrace, TextIsNarrowedToTheAnsiCodePage) {
    LX_Word word;
    word.setWord(L"BÄR. 10");
    word.calcDifficulty();
    EXPECT_EQ(word.getNbSyllables(), 4);
    EXPECT_EQ(takeLog(),
              "      countSyllables 000 :    B\xC4R. 10\n"
              "      countSyllables 010 :    b\xE4r. 10\n"
              "      countSyllables 100 :    [ 0] b -> t:3 --> nb: 0\n"
              "      countSyllables 100 :    [ 1] \xE4 -> t:1 --> nb: 1\n"
              "      countSyllables 100 :    [ 2] r -> t:3 --> nb: 1\n"
              "      countSyllables 100 :    [ 3] . -> t:4 --> nb: 2\n"
              "      countSyllables 100 :    [ 4]   -> t:4 --> nb: 2\n"
              "      countSyllables 100 :    [ 5] 1 -> t:5 --> nb: 3\n"
              "      countSyllables 100 :    [ 6] 0 -> t:5 --> nb: 4\n"
              "      countSyllables 999 :    NbSyllables = 4\n");
}

TEST_F(SyllableTrace, EndRuleAndEmptyWord) {
    LX_Word word;
    word.setWord(L"pst");
    word.countSyllables();
    EXPECT_EQ(takeLog(),
              "      countSyllables 000 :    pst\n"
              "      countSyllables 010 :    pst\n"
              "      countSyllables 100 :    [ 0] p -> t:3 --> nb: 0\n"
              "      countSyllables 100 :    [ 1] s -> t:3 --> nb: 0\n"
              "      countSyllables 100 :    [ 2] t -> t:3 --> nb: 0\n"
              "      countSyllables 999 :    NbSyllables = 1\n");
    word.setWord(L"");
    word.countSyllables();
    EXPECT_EQ(takeLog(),
              "      countSyllables 000 :    \n"
              "      countSyllables 010 :    \n"
              "      countSyllables 999 :    NbSyllables = 0\n");
}

TEST_F(SyllableTrace, NoLinesForHyphenationsOtherLanguagesOrALowerLevel) {
    LX_Word english(languageEnglish, languageGerman);
    english.setWord(L"school");
    english.calcDifficulty();
    LX_Word hyphenated;
    hyphenated.setWord(L"Schule");
    I::setHyphenation(hyphenated, 0, L"Schu-le");
    hyphenated.calcDifficulty();
    EXPECT_EQ(takeLog(), "");

    WordLogCapture lower(wordTraceLevel - 1);
    LX_Word german;
    german.setWord(L"Schule");
    german.calcDifficulty();
    EXPECT_EQ(german.getDifficulty(), 8);
    EXPECT_EQ(lower.take(), "");
}

TEST(SyllableLetters, LowerCaseAsTheGeneralMapping) {
    std::wstring lowered;
    for (wchar_t c = 1; c < 0x300; ++c) {
        const std::wstring text{L'X', c, L'\u00C4'};
        lowerWordText(text, lowered);
        ASSERT_EQ(lowered, toLowerW(text)) << static_cast<int>(c);
    }
    lowerWordText(L"", lowered);
    EXPECT_EQ(lowered, L"");
}

}  // namespace
