// closeboxes SECONDS [STOPFILE]: answers the message boxes that other
// programs of this desktop show, so that a program run without a screen
// (Wine without a display) can be watched and does not wait for ever.
//
// Each box (a top-level dialog of class "#32770") is printed once, as two
// lines in UTF-8, then answered with IDOK:
//   caption: <the box's caption>
//   text: <the box's text>
// In both, a backslash is written as \\, a line break as \n, a carriage
// return as \r and a tab as \t, so that every box stays two lines.
//
// Ends after SECONDS, or earlier once the file STOPFILE exists; exit
// status 0, or 2 for wrong arguments.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "windows/utf8.h"

namespace {

// The id Windows gives a message box's text control.
constexpr int messageTextId = 0xFFFF;
constexpr DWORD pollMs = 100;

std::string escaped(const std::wstring& text) {
    std::string out;
    for (char c : toUtf8(text)) {
        switch (c) {
            case '\\': out += "\\\\"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            case '\t': out += "\\t"; break;
            default: out += c;
        }
    }
    return out;
}

std::wstring windowText(HWND window) {
    std::vector<wchar_t> buffer(static_cast<size_t>(GetWindowTextLengthW(window)) + 1);
    const int length = GetWindowTextW(window, buffer.data(), static_cast<int>(buffer.size()));
    return std::wstring(buffer.data(), static_cast<size_t>(length > 0 ? length : 0));
}

BOOL CALLBACK firstStaticWithText(HWND child, LPARAM found) {
    wchar_t className[16] = {};
    GetClassNameW(child, className, 16);
    if (lstrcmpiW(className, L"Static") == 0 && !windowText(child).empty()) {
        *reinterpret_cast<HWND*>(found) = child;
        return FALSE;
    }
    return TRUE;
}

// The text control by its usual id, else the first static control that
// holds text (the icon's holds none).
std::wstring messageText(HWND box) {
    HWND text = GetDlgItem(box, messageTextId);
    if (text == nullptr) EnumChildWindows(box, firstStaticWithText, reinterpret_cast<LPARAM>(&text));
    return text != nullptr ? windowText(text) : std::wstring();
}

// Visible boxes only: a box is shown once its texts are in place.
BOOL CALLBACK collectBox(HWND window, LPARAM boxes) {
    wchar_t className[16] = {};
    GetClassNameW(window, className, 16);
    if (lstrcmpW(className, L"#32770") == 0 && IsWindowVisible(window))
        reinterpret_cast<std::vector<HWND>*>(boxes)->push_back(window);
    return TRUE;
}

}  // namespace

int main(int argc, char** argv) {
    char* end = nullptr;
    const long seconds = argc >= 2 ? std::strtol(argv[1], &end, 10) : 0;
    if (argc < 2 || argc > 3 || *end != '\0' || seconds <= 0 || seconds > 86400) {
        std::fprintf(stderr, "usage: closeboxes SECONDS [STOPFILE]\n");
        return 2;
    }
    const char* stopFile = argc == 3 ? argv[2] : nullptr;
    const DWORD start = GetTickCount();
    const DWORD limitMs = static_cast<DWORD>(seconds) * 1000;

    std::set<HWND> answered;
    while (GetTickCount() - start < limitMs &&
           (stopFile == nullptr || GetFileAttributesA(stopFile) == INVALID_FILE_ATTRIBUTES)) {
        std::vector<HWND> boxes;
        EnumWindows(collectBox, reinterpret_cast<LPARAM>(&boxes));
        for (HWND box : boxes) {
            // A handle may come again while its box is closing.
            if (!answered.insert(box).second) continue;
            std::printf("caption: %s\ntext: %s\n", escaped(windowText(box)).c_str(),
                        escaped(messageText(box)).c_str());
            std::fflush(stdout);
            PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        }
        Sleep(pollMs);
    }
    return 0;
}
