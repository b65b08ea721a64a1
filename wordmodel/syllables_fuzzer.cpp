// Any text the Java side can hand over, taken in as the word entry points
// take it in, then counted and rated with the trace on.
#include <cstddef>
#include <cstdint>
#include <string>

#include "common/logger.h"
#include "common/textconv.h"
#include "wordmodel/library.h"
#include "wordmodel/syllables.h"
#include "wordmodel/word.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool ready = [] {
        initWordLibrary(1, L"", L"");
        // The trace formats every character; send it nowhere but format it.
        logInit(wordTraceLevel, "/dev/null", false, false, false, false);
        return true;
    }();
    (void)ready;

    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::wstring text = toWide(toNarrowAcp(fromUtf8(bytes.c_str(), -1)));

    LX_Word word;
    word.setWord(text);
    const int syllables = word.countSyllables();
    word.calcDifficulty();
    if (syllables != word.getNbSyllables() || syllables < 0 || word.getDifficulty() < 0) {
        __builtin_trap();
    }
    for (unsigned i = 0; i <= text.size() + 1; ++i) {
        isVowelLikeH(text, i);
    }
    return 0;
}
