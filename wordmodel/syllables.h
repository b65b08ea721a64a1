// Letter rules of the German syllable count that other word rules share.
//
// The syllable count and the difficulty rating themselves are operations of
// LX_Word (word.h); both need the word library set up (library.h): before
// that every letter class is empty and every rating is 0.
#pragma once

#include <string>

// Whether the h at `position` of the lower-cased `text` lengthens the vowel
// before it (as in "fahren", "Kuh") rather than standing as a consonant (as
// in "gehen", "Haus"). A position outside the text is no such h.
bool isVowelLikeH(const std::wstring& text, unsigned position);

// Tabulates the letter classes as they stand. Must not overlap any other
// call into the library; rebuildWordLookups (library.h) is the one caller.
void buildLetterClasses();
