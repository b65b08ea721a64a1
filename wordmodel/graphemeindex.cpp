#include "wordmodel/graphemeindex.h"

#include <algorithm>
#include <array>
#include <vector>

#include "wordmodel/syllables.h"

namespace {

// Where an entry stands in the level table.
struct Slot {
    std::size_t level;
    std::size_t position;
};

// Rating prefers a higher level, then an earlier entry of the same level.
bool outranks(const Slot& a, const Slot& b) {
    return a.level != b.level ? a.level > b.level : a.position < b.position;
}

class GraphemeIndex {
public:
    bool findHardest(const std::wstring& text, Slot& best) const {
        bool found = false;
        // An empty grapheme occurs in every text, even the empty one.
        for (const Slot& slot : emptyGraphemes_) {
            if (!found || outranks(slot, best)) {
                best = slot;
                found = true;
            }
        }
        for (std::size_t at = 0; at < text.size(); ++at) {
            const std::size_t c = static_cast<std::size_t>(text[at]);
            const std::vector<Slot>& candidates = c < byFirst_.size() ? byFirst_[c] : wideFirst_;
            // Best first: the first match is the best this position has, and
            // once a candidate cannot beat the best so far, none after it can.
            for (const Slot& slot : candidates) {
                if (found && !outranks(slot, best)) {
                    break;
                }
                const std::wstring& grapheme = GraphemeLevelTable[slot.level][slot.position].grapheme;
                if (letterGroupAt(text, at, grapheme)) {
                    best = slot;
                    found = true;
                    break;
                }
            }
        }
        return found;
    }

    void build() {
        for (std::vector<Slot>& slots : byFirst_) {
            slots.clear();
        }
        wideFirst_.clear();
        emptyGraphemes_.clear();
        for (std::size_t level = 0; level < GraphemeLevelTable.size(); ++level) {
            const std::vector<GraphemeLevel>& entries = GraphemeLevelTable[level];
            for (std::size_t position = 0; position < entries.size(); ++position) {
                const std::wstring& grapheme = entries[position].grapheme;
                const Slot slot{level, position};
                if (grapheme.empty()) {
                    emptyGraphemes_.push_back(slot);
                } else if (static_cast<std::size_t>(grapheme[0]) < byFirst_.size()) {
                    byFirst_[static_cast<std::size_t>(grapheme[0])].push_back(slot);
                } else {
                    wideFirst_.push_back(slot);
                }
            }
        }
        for (std::vector<Slot>& slots : byFirst_) {
            std::sort(slots.begin(), slots.end(), outranks);
        }
        std::sort(wideFirst_.begin(), wideFirst_.end(), outranks);
    }

private:
    // By the grapheme's first character; graphemes that start with a
    // character beyond the table are tried at every position.
    std::array<std::vector<Slot>, 256> byFirst_;
    std::vector<Slot> wideFirst_;
    std::vector<Slot> emptyGraphemes_;
};

// Written only by the set-up and only read by ratings, so ratings that
// overlap against the library's rule still cannot damage it. Before set-up
// it is empty and finds nothing, as the empty table does. Constant-
// initialised, so it is ready before any code of the library runs.
constinit GraphemeIndex graphemeIndex;

}  // namespace

GraphemeLevel* findHardestGrapheme(const std::wstring& text, std::size_t& level) {
    Slot best{};
    if (!graphemeIndex.findHardest(text, best)) {
        return nullptr;
    }
    level = best.level;
    return &GraphemeLevelTable[best.level][best.position];
}

void buildGraphemeIndex() { graphemeIndex.build(); }
