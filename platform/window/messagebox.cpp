#include "platform/window/messagebox.h"

#include <cstdio>
#include <string>
#include <vector>

#include "platform/core/recorder.h"
#include "platform/text/cp1252.h"
#include "platform/text/utf8.h"
#include "platform/window/messageboxdialog.h"
#include "platform/window/windowcontrols.h"
#include "platform/window/x11display.h"

namespace {

platform::Recorder<platform::testing::ShownMessageBox>& recorded() {
    static auto* instance = new platform::Recorder<platform::testing::ShownMessageBox>;
    return *instance;
}

std::string utf8Of(const wchar_t* text) {
    std::string out;
    char bytes[4];
    for (const wchar_t* p = text; *p != L'\0'; ++p) {
        out.append(bytes, platform::utf8::encode(*p, bytes));
    }
    return out;
}

int firstButton(UINT type) { return (type & 0xF) == MB_YESNO ? IDYES : IDOK; }

// Caption and text in UTF-8.
int show(const std::string& caption, const std::string& text, UINT type) {
    if (recorded().take({caption, text, type})) return firstButton(type);
    if (int answer = platform::window::showDialog(caption, text, type); answer != 0) {
        return answer;
    }
    std::string line;
    // Someone at that display waits for a box that will not come: say why.
    if (std::string display = platform::window::displayName(); !display.empty()) {
        line = "cannot reach display \"" + display + "\"\n";
    }
    line += caption + ": " + text + "\n";
    std::fwrite(line.data(), 1, line.size(), stderr);
    std::fflush(stderr);
    return firstButton(type);
}

// Any unique address serves as the desktop's handle.
char desktopTag;

}  // namespace

namespace platform::testing {

void recordMessageBoxes(bool on) { recorded().record(on); }

std::vector<ShownMessageBox> shownMessageBoxes() { return recorded().requests(); }

}  // namespace platform::testing

int MessageBoxA(HWND, LPCSTR text, LPCSTR caption, UINT type) {
    return show(platform::cp1252::toUtf8(caption != nullptr ? caption : "Error"),
                platform::cp1252::toUtf8(text != nullptr ? text : ""), type);
}

int MessageBoxW(HWND, LPCWSTR text, LPCWSTR caption, UINT type) {
    return show(utf8Of(caption != nullptr ? caption : L"Error"), utf8Of(text != nullptr ? text : L""),
                type);
}

HWND GetDesktopWindow() { return reinterpret_cast<HWND>(&desktopTag); }
