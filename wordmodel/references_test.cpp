#include <gtest/gtest.h>

#include "wordmodel/word.h"
#include "wordmodel/wordlog_testing.h"
#include "wordmodel/wordreference.h"

namespace {

using Refs = std::vector<WordReference>;

TEST(WordReferences, SortedByLanguageThenValueThenNumber) {
    Refs list = {{2, 5, 30}, {1, 1, 1}, {3, 1, 1}, {2, 9, 10}, {2, 4, 10}, {1, 0, 1}};
    EXPECT_EQ(LX_Word::sortReferenceList(list, 2, 1),
              (Refs{{2, 4, 10}, {2, 9, 10}, {2, 5, 30}, {1, 0, 1}, {1, 1, 1}}));
    // One language named twice is collected once, however often it is sorted.
    Refs same = {{2, 1, 7}, {2, 1, 3}, {1, 1, 1}};
    LX_Word::sortReferenceList(same, 2, 2);
    EXPECT_EQ(LX_Word::sortReferenceList(same, 2, 2), (Refs{{2, 1, 3}, {2, 1, 7}}));
}

TEST(WordReferences, AddedOnceAndCounted) {
    LX_Word word;  // German, English second
    for (WordReference r : Refs{{2, 1, 5}, {2, 1, 5}, {2, 2, 120}, {1, 1, 6}}) word.addReference(r);
    EXPECT_EQ(word.getReferences(), (Refs{{2, 1, 5}, {2, 2, 120}, {1, 1, 6}}));
    EXPECT_TRUE(word.hasMultipleFirstReferences());
    EXPECT_FALSE(word.hasMultipleLowFirstReferences());
    word.addSecondReference({2, 1, 1});
    EXPECT_FALSE(word.hasMultipleSecondReferences());
    word.addSecondReference({2, 2, 1});
    EXPECT_TRUE(word.hasMultipleSecondReferences());
}

TEST(WordReferences, SortReferencesTracesTheWord) {
    LX_Word word;
    word.setWord(L"Straße");
    word.addReference({1, 1, 1});
    word.addReference({2, 1, 2});
    WordLogCapture log(11);
    word.sortReferences();
    EXPECT_EQ(log.take(), "LX_Word::sortReferences 000: Stra\xDF" "e\nLX_Word::sortReferences 999\n");
    EXPECT_EQ(word.getReferences(), (Refs{{2, 1, 2}, {1, 1, 1}}));

    word.reset();  // no language at all
    word.addReference({2, 1, 2});
    word.sortReferences();
    EXPECT_EQ(log.take(), "LX_Word::sortReferences 000: \nLX_Word::sortReferences 999\n");
    EXPECT_TRUE(word.getReferences().empty());
}

}  // namespace
