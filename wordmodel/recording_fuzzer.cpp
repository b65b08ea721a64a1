// Any recording name the Java side can hand over, taken in as the audio
// library takes it in (the bytes widened in the ANSI code page), then turned
// into recording coordinates and a file path.
#include <cstddef>
#include <cstdint>
#include <string>

#include "common/textconv.h"
#include "wordmodel/library.h"
#include "wordmodel/word.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool ready = [] {
        initWordLibrary(4, L"D:\\media\\", L"");
        return true;
    }();
    (void)ready;

    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::wstring name = toWideN(bytes.c_str(), -1);

    LX_Word word(languageGerman, 0);
    word.setAudioName(languageGerman, name);
    if (name.empty()) {
        if (word.getDllIndex(languageGerman) != -1 || word.getResourceId(languageGerman) != -1) {
            __builtin_trap();
        }
        return 0;
    }
    // Whatever the number, the id stays within one library's 1000 recordings
    // of three variants (below 1000 only for a negative number).
    const long long number = word.getAudioNumber(languageGerman);
    const int id = word.getResourceId(languageGerman);
    if (word.getDllIndex(languageGerman) != number / 1000 + 1 || id < -1997 || id > 3999) {
        __builtin_trap();
    }
    const int variant = word.getAudioVariant(languageGerman);
    if (variant < 0 || variant > 2) {
        __builtin_trap();
    }
    word.getAudioFilePath(languageGerman, 4);
    return 0;
}
