#include "testsupport/scratchfolder.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <system_error>

#include "testsupport/ansipath.h"
#include "testsupport/environment.h"

namespace testsupport {

namespace {

namespace fs = std::filesystem;

#ifdef _WIN32
constexpr char kVariable[] = "TMP";
constexpr char kCodePage[] = "the ANSI code page";
#else
constexpr char kVariable[] = "TMPDIR";
constexpr char kCodePage[] = "code page 1252";
#endif

fs::path namedTemporaryDirectory() {
#ifdef _WIN32
    // Wide: the narrow environment is in the ANSI code page, a narrow
    // std::filesystem path in UTF-8.
    const wchar_t* named = _wgetenv(L"TMP");
    if (named != nullptr && named[0] != L'\0') return named;
    return fs::temp_directory_path();
#else
    const char* named = std::getenv("TMPDIR");
    return named != nullptr && named[0] != '\0' ? named : "/tmp";
#endif
}

std::string remedy() {
    return std::string("set ") + kVariable + " to a folder the tests may write in";
}

// One line, whatever the path holds: a control character in it shows as "?".
[[noreturn]] void refuse(const fs::path& folder, const std::string& problem,
                         const std::string& what = remedy()) {
    std::string shown = folder.string();
    for (char& c : shown) {
        if (static_cast<unsigned char>(c) < 0x20) c = '?';
    }
    throw std::runtime_error("the temporary directory \"" + shown + "\" (" + kVariable + ") " +
                             problem + ": " + what);
}

std::string hex(unsigned char byte) {
    char text[8];
    std::snprintf(text, sizeof text, "0x%02X", static_cast<unsigned>(byte));
    return text;
}

// A character the code page lacks, as the message names it: itself and its
// code point, or the byte that is no UTF-8.
std::string described(const std::string& character) {
    const std::wstring wide = widened(CP_UTF8, character);
    if (wide == L"\uFFFD" && character != "\xEF\xBF\xBD") {
        return "the byte " + hex(static_cast<unsigned char>(character[0])) + ", which is no UTF-8";
    }
    unsigned long code = wide.empty() ? 0 : static_cast<unsigned long>(wide[0]);
    if (wide.size() == 2) {  // a pair of UTF-16 surrogates
        code = 0x10000 + ((code - 0xD800) << 10) + (static_cast<unsigned long>(wide[1]) - 0xDC00);
    }
    char number[16];
    std::snprintf(number, sizeof number, "U+%04lX", code);
    return "\"" + character + "\" (" + number + "), which " + kCodePage + " lacks";
}

#ifndef _WIN32
// The code under test names files in Windows form: "\" parts a path there,
// and no name holds a control character or one of the others. A host folder
// with such a character in its path cannot be named to it at all.
constexpr char kForbidden[] = "\\:*?\"<>|";

void refuseWhatWindowsForbids(const fs::path& folder) {
    for (const char c : folder.string()) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && std::strchr(kForbidden, c) == nullptr) continue;
        const std::string named =
            byte < 0x20 ? "the control character " + hex(byte) : "\"" + std::string(1, c) + "\"";
        refuse(folder,
               "holds " + named + ", which Windows allows in no file name, and the code under " +
                   "test names files in Windows form",
               std::string("set ") + kVariable + " to a folder whose path holds none of " +
                   kForbidden + " and no control character");
    }
}
#endif

}  // namespace

fs::path temporaryDirectory() {
    const fs::path named = namedTemporaryDirectory();
    std::error_code error;
    const fs::file_status status = fs::status(named, error);
    switch (status.type()) {
    case fs::file_type::not_found: refuse(named, "does not exist", "make it, or " + remedy());
    case fs::file_type::none: refuse(named, "cannot be looked at (" + error.message() + ")");
    case fs::file_type::directory: break;
    default: refuse(named, "is not a folder");
    }
    const fs::path folder = fs::absolute(named);
#ifndef _WIN32
    refuseWhatWindowsForbids(folder);
#endif
    const std::string lacking = firstCharacterAnsiLacks(folder.string());
    if (!lacking.empty()) {
        refuse(folder,
               "holds " + described(lacking) + ", and the code under test reads narrow paths in " +
                   kCodePage,
               std::string("set ") + kVariable + " to a folder whose path is in " + kCodePage);
    }
    return folder;
}

ScratchFolder::ScratchFolder(const std::string& prefix) {
    static std::atomic<unsigned> counter = 0;
    const fs::path parent = temporaryDirectory();
    const std::string stem = prefix + std::to_string(processId()) + "-";
    for (int attempt = 0; attempt < 1000; ++attempt) {
        fs::path candidate = parent / (stem + std::to_string(++counter));
        // create_directory answers false for a name that is taken, so two
        // programs never share a folder.
        std::error_code error;
        if (fs::create_directory(candidate, error)) {
            m_path = std::move(candidate);
            return;
        }
        if (error) refuse(parent, "takes no new folder (" + error.message() + ")");
    }
    refuse(parent, "has no free name for a folder " + stem + "N", "empty it, or " + remedy());
}

ScratchFolder::~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
}

std::string ScratchFolder::ansiPath(const std::string& name) const {
    return testsupport::ansiPath(name.empty() ? m_path.string() : path(name));
}

std::string ScratchFolder::windowsPath(const std::string& name) const {
    std::string windows = ansiPath(name);
    for (char& c : windows) {
        if (c == '/') c = '\\';
    }
    return windows;
}

}  // namespace testsupport
