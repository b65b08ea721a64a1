// The user's desktop directory, as the XDG user directories name it.
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

#include "platform/files/crtfiles.h"
#include "platform/text/text.h"

namespace {

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

// XDG_DESKTOP_DIR from user-dirs.dirs ("$HOME/Desktop" style), else
// $HOME/Desktop.
std::string desktopOf(const std::string& home) {
    std::string config = environment("XDG_CONFIG_HOME");
    if (config.empty()) config = home + "/.config";
    std::ifstream dirs(config + "/user-dirs.dirs");
    std::string line;
    const std::string key = "XDG_DESKTOP_DIR=\"";
    while (std::getline(dirs, line)) {
        if (line.compare(0, key.size(), key) != 0) continue;
        std::string value = line.substr(key.size());
        std::size_t end = value.find('"');
        if (end == std::string::npos) break;
        value.resize(end);
        if (value.compare(0, 5, "$HOME") == 0) value = home + value.substr(5);
        if (!value.empty() && value[0] == '/') return value;
        break;
    }
    return home + "/Desktop";
}

}  // namespace

BOOL SHGetSpecialFolderPathA(HWND, LPSTR path, int folder, BOOL) {
    if (path == nullptr || folder != CSIDL_DESKTOPDIRECTORY) return FALSE;
    std::string home = environment("HOME");
    if (home.empty()) return FALSE;
    std::string desktop = desktopOf(home);
    // The host names it in UTF-8; the caller reads the ANSI code page.
    std::wstring wide(desktop.size() + 1, L'\0');
    if (MultiByteToWideChar(CP_UTF8, 0, desktop.c_str(), -1, wide.data(),
                            static_cast<int>(wide.size())) <= 0) {
        return FALSE;
    }
    return WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, path, static_cast<int>(MAX_PATH),
                               nullptr, nullptr) > 0
               ? TRUE
               : FALSE;
}
