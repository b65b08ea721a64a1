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
    LX_Word::sortReferenceList(same, 2, 2);
    EXPECT_EQ(same, (Refs{{2, 1, 3}, {2, 1, 7}}));
}

TEST(WordReferences, AddedOnceAndCounted) {
    LX_Word word;  // German, English second
    word.addReference({2, 1, 5});
    word.addReference({2, 1, 5});
    word.addReference({2, 2, 5});
    EXPECT_EQ(word.getReferences(), (Refs{{2, 1, 5}, {2, 2, 5}}));
    word.addSecondReference({1, 1, 5});
    word.addSecondReference({2, 1, 120});
    EXPECT_FALSE(word.hasMultipleSecondReferences());
    word.addSecondReference({2, 2, 120});
    EXPECT_TRUE(word.hasMultipleSecondReferences());

    LX_Word mixed;
    mixed.addReference({2, 1, 5});
    mixed.addReference({2, 1, 120});
    mixed.addReference({1, 1, 6});
    EXPECT_TRUE(mixed.hasMultipleFirstReferences());
    EXPECT_FALSE(mixed.hasMultipleLowFirstReferences());
    mixed.addReference({2, 2, 98});
    EXPECT_TRUE(mixed.hasMultipleLowFirstReferences());
}

TEST(WordReferences, SortReferencesTracesTheWord) {
    LX_Word word;
    word.setWord(L"Straße");
    word.addReference({1, 1, 1});
    word.addReference({2, 1, 2});
    WordLogCapture log(11);
    word.sortReferences();
    EXPECT_EQ(log.take(),
              "LX_Word::sortReferences 000: Stra\xDF" "e\nLX_Word::sortReferences 999\n");
    EXPECT_EQ(word.getReferences(), (Refs{{2, 1, 2}, {1, 1, 1}}));

    // A reset record has no language at all.
    word.reset();
    word.addReference({2, 1, 2});
    word.sortReferences();
    EXPECT_EQ(log.take(), "LX_Word::sortReferences 000: \nLX_Word::sortReferences 999\n");
    EXPECT_TRUE(word.getReferences().empty());
}

}  // namespace
