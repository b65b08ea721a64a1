// Constant tables that several parts of the word model share.
//
// tokenTable names the membership tokens a word can hold; entries 1 to 3
// are the language codes by LanguageId, so the table doubles as the list of
// per-language directory names. CheckCodeTable maps check slots to the
// codes that checks record in a word; a fresh one is built wherever codes
// are recorded.
#pragma once

#include <array>
#include <cstddef>
#include <string>

constexpr std::size_t tokenCount = 24;
extern const std::wstring tokenTable[tokenCount];

struct CheckCodeTable {
    static constexpr std::size_t slotCount = 30;

    // The code of a slot; -1 for a slot that holds none and for a slot
    // number outside the table.
    int code(std::size_t slot) const { return slot < slotCount ? codes[slot] : -1; }

    std::array<int, slotCount> codes;
};

CheckCodeTable buildCheckCodeTable();
