#include "wordmodel/graphemeindex.h"

#include <gtest/gtest.h>

#include <random>

#include "wordmodel/library.h"

namespace {

// The rating's own words: level 10 first, each level in table order, the
// first grapheme found anywhere in the text.
const GraphemeLevel* searchEveryGrapheme(const std::wstring& text, std::size_t& level) {
    for (std::size_t l = GraphemeLevelTable.size(); l-- > 0;) {
        for (const GraphemeLevel& entry : GraphemeLevelTable[l]) {
            if (text.find(entry.grapheme) != std::wstring::npos) {
                level = l;
                return &entry;
            }
        }
    }
    return nullptr;
}

void expectSameAsSearch(const std::wstring& text) {
    SCOPED_TRACE(testing::PrintToString(text));
    std::size_t expectedLevel = 99;
    std::size_t level = 99;
    const GraphemeLevel* expected = searchEveryGrapheme(text, expectedLevel);
    const GraphemeLevel* found = findHardestGrapheme(text, level);
    EXPECT_EQ(found, expected);
    if (expected != nullptr) {
        EXPECT_EQ(level, expectedLevel);
    }
}

TEST(GraphemeIndex, AnswersAsSearchingEveryGrapheme) {
    for (const wchar_t* text :
         {L"", L"haus", L"eis", L"schule", L"wasser", L"straße", L"häuser", L"küchenhäuser",
          L"tomatensalat", L"pst", L"123", L"...", L"chs", L"ssss", L"aa", L"a", L"xy", L"œuvre"}) {
        expectSameAsSearch(text);
    }

    // Words made of the letters the graphemes are made of, and a few others.
    const std::wstring letters = L"aeiousnfldbtumphgrkcjzqvwxyäöüß -.1Œ€";
    std::mt19937 random(20240611);
    std::uniform_int_distribution<std::size_t> pick(0, letters.size() - 1);
    std::uniform_int_distribution<std::size_t> length(0, 14);
    for (int i = 0; i < 20000; ++i) {
        std::wstring text;
        for (std::size_t n = length(random); n > 0; --n) {
            text += letters[pick(random)];
        }
        expectSameAsSearch(text);
        if (HasFailure()) {
            break;
        }
    }
}

TEST(GraphemeIndex, IndexesEveryKindOfEntry) {
    // Entries beyond the built-in ones: a wide first character, a longer
    // grapheme, and an empty one, which occurs in every text. The table is
    // fixed after set-up, so the test rebuilds the lookups as set-up would.
    auto& table = getGraphemeLevelTable();
    table[3].emplace_back(L"œu");
    table[6].emplace_back(L"schw");
    rebuildWordLookups();
    std::size_t level = 0;
    EXPECT_EQ(findHardestGrapheme(L"œu", level), &table[3].back());
    EXPECT_EQ(level, 3u);
    expectSameAsSearch(L"schwer");
    expectSameAsSearch(L"œuvre");

    table[2].emplace_back(L"");
    rebuildWordLookups();
    expectSameAsSearch(L"");
    expectSameAsSearch(L"1");
    EXPECT_EQ(findHardestGrapheme(L"", level), &table[2].back());

    table[2].pop_back();
    table[3].pop_back();
    table[6].pop_back();
    rebuildWordLookups();
    EXPECT_EQ(findHardestGrapheme(L"", level), nullptr);
    expectSameAsSearch(L"schwer");
    expectSameAsSearch(L"œuvre");
}

}  // namespace
