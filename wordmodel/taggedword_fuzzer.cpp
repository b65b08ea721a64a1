// Annotated spellings and word-kind lists as a word list could hand them
// over: a word text, two tagged words and a kind list, separated by line
// feeds. Whatever they hold, the record's operations on them must stay
// within their texts and end.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

#include "common/logger.h"
#include "common/textconv.h"
#include "wordmodel/library.h"
#include "wordmodel/taggedword.h"
#include "wordmodel/word.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool ready = [] {
        initWordLibrary(1, L"", L"");
        logInit(wordTraceLevel, "/dev/null", false, false, false, false);
        // Unknown word-kind names are reported on standard output.
        return std::freopen("/dev/null", "w", stdout) != nullptr;
    }();
    (void)ready;

    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::wstring text = toWide(toNarrowAcp(fromUtf8(bytes.c_str(), -1)));
    std::vector<std::wstring> parts(4);
    std::size_t part = 0;
    for (wchar_t c : text) {
        if (c == L'\n' && part + 1 < parts.size()) {
            ++part;
        } else {
            parts[part] += c;
        }
    }
    const std::wstring& wordText = parts[0];

    try {
        mergeHyphenations(wordText, parts[1], parts[2]);
    } catch (const std::runtime_error&) {
    }
    try {
        mergeMarkedPhones(wordText, parts[1], parts[2]);
    } catch (const std::runtime_error&) {
    }

    for (LanguageId language : {languageGerman, languagePolish}) {
        LX_Word word(language, 0);
        word.setWord(wordText);
        word.setTaggedWord(parts[1], 0, true);
        word.setHyphenationAlt(parts[2]);
        word.setWord(parts[2]);  // the two variants may now spell different letters
        word.setMarkedPhonesAlt(parts[1]);
        word.repairMarkedPhonesQL();
        word.repairMarkedPhonesAlt();
        word.addWordKindsFromText(parts[3], L",; ");
        word.buildGraphemPhonemList();
        word.findWordGroups();
        word.setWord(languageGerman, wordText);
        word.changeSZ2SS();
        try {
            word.toString();
        } catch (const std::runtime_error&) {
        }
    }
    return 0;
}
