// OutputDebugStringA/W. Without a debugger the text goes to standard error,
// which is a Linux terminal or log: both forms are written there as UTF-8.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/text/cp1252.h"
#include "platform/core/sync.h"
#include "platform/text/utf8.h"

namespace {

bool debugOutputWanted() {
    const char* setting = std::getenv("QUILLORY_DEBUG_OUTPUT");
    return setting != nullptr && *setting != '\0';
}

// One write per text, so lines of several threads do not interleave.
void writeOut(const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), stderr);
    std::fflush(stderr);
}

}  // namespace

void OutputDebugStringA(LPCSTR text) {
    if (text == nullptr || !debugOutputWanted()) return;
    writeOut(platform::cp1252::toUtf8(text));
}

void OutputDebugStringW(LPCWSTR text) {
    if (text == nullptr || !debugOutputWanted()) return;
    // Straight to UTF-8: Windows would squeeze the text through the ANSI code
    // page first, but nothing here needs that loss.
    std::string out;
    char bytes[4];
    for (const wchar_t* p = text; *p != L'\0'; ++p) {
        out.append(bytes, platform::utf8::encode(*p, bytes));
    }
    writeOut(out);
}
