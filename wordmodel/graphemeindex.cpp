#include "wordmodel/graphemeindex.h"

#include <array>
#include <vector>

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

bool occursAt(const std::wstring& text, std::size_t at, const std::wstring& grapheme) {
    if (text.size() - at < grapheme.size()) {
        return false;
    }
    for (std::size_t k = 0; k < grapheme.size(); ++k) {
        if (text[at + k] != grapheme[k]) {
            return false;
        }
    }
    return true;
}

class GraphemeIndex {
public:
    // Unguarded like the table itself: calls into the library do not overlap.
    static const GraphemeIndex& current() {
        static GraphemeIndex index;
        if (!index.fitsTable()) {
            index.build();
        }
        return index;
    }

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
            for (const Slot& slot : candidates) {
                if (found && !outranks(slot, best)) {
                    continue;
                }
                if (occursAt(text, at, GraphemeLevelTable[slot.level][slot.position].grapheme)) {
                    best = slot;
                    found = true;
                }
            }
        }
        return found;
    }

private:
    // The graphemes are fixed from set-up on (only the counters change), so
    // the index stays right as long as no entry has been added or removed.
    bool fitsTable() const {
        if (!built_ || builtAfterSetUp_ != wordLibraryInitialised ||
            levelSizes_.size() != GraphemeLevelTable.size()) {
            return false;
        }
        for (std::size_t level = 0; level < levelSizes_.size(); ++level) {
            if (levelSizes_[level] != GraphemeLevelTable[level].size()) {
                return false;
            }
        }
        return true;
    }

    void build() {
        for (std::vector<Slot>& slots : byFirst_) {
            slots.clear();
        }
        wideFirst_.clear();
        emptyGraphemes_.clear();
        levelSizes_.clear();
        for (std::size_t level = 0; level < GraphemeLevelTable.size(); ++level) {
            const std::vector<GraphemeLevel>& entries = GraphemeLevelTable[level];
            levelSizes_.push_back(entries.size());
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
        built_ = true;
        builtAfterSetUp_ = wordLibraryInitialised;
    }

    bool built_ = false;
    bool builtAfterSetUp_ = false;
    std::vector<std::size_t> levelSizes_;
    // By the grapheme's first character; graphemes that start with a
    // character beyond the table are tried at every position.
    std::array<std::vector<Slot>, 256> byFirst_;
    std::vector<Slot> wideFirst_;
    std::vector<Slot> emptyGraphemes_;
};

}  // namespace

GraphemeLevel* findHardestGrapheme(const std::wstring& text, std::size_t& level) {
    Slot best{};
    if (!GraphemeIndex::current().findHardest(text, best)) {
        return nullptr;
    }
    level = best.level;
    return &GraphemeLevelTable[best.level][best.position];
}
