// One entry of a word's reference lists: a language, a number and a value.
//
// A plain value; two references are equal when all three members are.
// Lists of them are ordered by lessByReference: by value, then by number.
#pragma once

#include <cstdint>

struct WordReference {
    std::int32_t language;  // LanguageId
    std::int32_t number;    // second sort key
    std::int32_t value;     // first sort key

    bool operator==(const WordReference& other) const {
        return language == other.language && number == other.number && value == other.value;
    }
    std::int32_t getValue() const { return value; }
};

bool lessByReference(const WordReference& a, const WordReference& b);
