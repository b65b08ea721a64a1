// Letter rules of the German syllable count that other word rules share.
//
// The syllable count and the difficulty rating themselves are operations of
// LX_Word (word.h); both need the word library set up (library.h): before
// that every letter class is empty and every rating is 0.
#pragma once

#include <cstddef>
#include <string>

// Whether the h at `position` of the lower-cased `text` lengthens the vowel
// before it (as in "fahren", "Kuh") rather than standing as a consonant (as
// in "gehen", "Haus"). A position outside the text is no such h.
bool isVowelLikeH(const std::wstring& text, unsigned position);

// Tabulates the letter classes as they stand. Must not overlap any other
// call into the library; rebuildWordLookups (library.h) is the one caller.
void buildLetterClasses();

// Whether `part` stands in `text` at `at` (at most the text's length). The
// parts are letter groups of one to three letters, so they are compared
// letter by letter: a library call would cost more than the comparison.
inline bool letterGroupAt(const std::wstring& text, std::size_t at, const std::wstring& part) {
    if (part.size() > text.size() - at) {
        return false;
    }
    for (std::size_t k = 0; k < part.size(); ++k) {
        if (text[at + k] != part[k]) {
            return false;
        }
    }
    return true;
}

// The lower case of a word text, as toLowerW gives it, into `lowered`. The
// letters of code page 1252's Latin-1 part, which German words are made of,
// are mapped here; any other text takes the general mapping.
void lowerWordText(const std::wstring& text, std::wstring& lowered);
