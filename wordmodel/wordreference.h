// One entry of a word's reference lists: a language, a number and a value.
//
// A plain value; two references are equal when all three members are.
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
