// Free functions on annotated spellings of a word.
//
// A tagged word is the word's letters with "-" between syllables and "[" "]"
// around marked letters ("Was-[s]er"); its hyphenation drops the brackets
// ("Was-ser"), its marked phones drop the hyphens ("Was[s]er"). The record's
// own operations on these texts are in word.h.
#pragma once

#include <string>

// The text without "[" and "]"; verbose writes trace lines at level 1.
std::wstring removeBrackets(std::wstring text, bool verbose);
// The text without "-"; verbose writes trace lines at level 1.
std::wstring removeHyphens(std::wstring text, bool verbose);

// The word with every syllable break of either hyphenation ("Was-ser" and
// "Wass-er" give "Was-s-er"). Throws std::runtime_error "Exception 1011"
// (first) or "Exception 1012" (second) when a hyphenation does not continue
// with the word's next letter after at most one hyphen.
std::wstring mergeHyphenations(const std::wstring& word, const std::wstring& first,
                               const std::wstring& second);
// The word with every letter marked that either text marks ("Wa[s]ser" and
// "Was[s]er" give "Wa[ss]er"). An empty text, or one that does not spell the
// word, yields the other. Throws std::runtime_error "Exception 1001" or
// "Exception 1002" when a text that spells the word holds a hyphen before its
// last letter.
std::wstring mergeMarkedPhones(const std::wstring& word, const std::wstring& first,
                               const std::wstring& second);
