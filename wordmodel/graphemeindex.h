// The entry of the spelling-level table that difficulty rating settles on
// for a text: among the entries whose grapheme occurs in the text, the one
// of the highest level, and within that level the first in table order.
//
// The answer is exactly what searching the text for every grapheme of the
// table, level 10 first, would give; it comes from an index of the table by
// first character that the library set-up builds (rebuildWordLookups,
// library.h). Until then the index is empty and finds nothing.
#pragma once

#include <cstddef>
#include <string>

#include "wordmodel/library.h"

// Null when no grapheme occurs (also when the table is empty); otherwise the
// entry, with its level in `level`.
GraphemeLevel* findHardestGrapheme(const std::wstring& text, std::size_t& level);

// Indexes the level table as it stands. Must not overlap any other call into
// the library; rebuildWordLookups is the one caller.
void buildGraphemeIndex();
