#include "platform/files/crtfiles.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "platform/core/handle.h"
#include "platform/files/fileio.h"
#include "platform/files/path.h"
#include "platform/text/cp1252.h"
#include "platform/text/text.h"

namespace {

unsigned char foldCase(unsigned char c) {
    char folded = static_cast<char>(c);
    CharUpperBuffA(&folded, 1);
    return static_cast<unsigned char>(folded);
}

// Windows' matching of a name against "*" and "?", case-insensitively.
// Only the last star passed is ever tried again, one name letter further:
// whatever an earlier star could still take, the later one takes as well.
// The work is at most the name's length times the pattern's, where trying
// every share of the name among the stars grew exponentially.
bool matches(const char* pattern, const char* name) {
    const char* afterStar = nullptr;
    const char* starTakesUpTo = nullptr;
    for (;;) {
        if (*pattern == '*') {
            // "*.*" and a final ".*" also take a name without a dot.
            if (std::strcmp(pattern, "*.*") == 0 || std::strcmp(pattern, "*") == 0) return true;
            afterStar = ++pattern;
            starTakesUpTo = name;
            continue;
        }
        if (*name == '\0') {
            // A final ".*" matches the end of a name without extension.
            if (*pattern == '\0' || std::strcmp(pattern, ".*") == 0) return true;
        } else if (*pattern != '\0' &&
                   (*pattern == '?' || foldCase(static_cast<unsigned char>(*pattern)) ==
                                           foldCase(static_cast<unsigned char>(*name)))) {
            ++pattern;
            ++name;
            continue;
        }
        if (afterStar == nullptr || *starTakesUpTo == '\0') return false;
        pattern = afterStar;
        name = ++starTakesUpTo;
    }
}

// A final "." asks for names without extension ("*." finds "Readme").
bool matchesName(const std::string& pattern, const char* name) {
    bool dotted = pattern.size() > 1 && pattern.back() == '.' && pattern != "..";
    if (!dotted) return matches(pattern.c_str(), name);
    bool directoryEntry = std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0;
    if (!directoryEntry && std::strchr(name, '.') != nullptr) return false;
    return directoryEntry || matches(pattern.substr(0, pattern.size() - 1).c_str(), name);
}

struct Search : platform::KernelObject {
    std::vector<_finddata_t> entries;
    std::size_t next = 0;
};

std::int64_t seconds(const timespec& time) { return static_cast<std::int64_t>(time.tv_sec); }

bool entryOf(const std::string& folder, const std::string& hostName, const std::string& name,
             _finddata_t& entry) {
    struct stat info {};
    if (stat((folder + "/" + hostName).c_str(), &info) != 0) return false;
    entry = {};
    entry.attrib = S_ISDIR(info.st_mode) ? _A_SUBDIR : _A_NORMAL;
    if (access((folder + "/" + hostName).c_str(), W_OK) != 0) entry.attrib |= _A_RDONLY;
    entry.time_create = seconds(info.st_ctim);
    entry.time_access = seconds(info.st_atim);
    entry.time_write = seconds(info.st_mtim);
    entry.size = static_cast<std::uint32_t>(info.st_size);
    std::size_t length = std::min(name.size(), sizeof(entry.name) - 1);
    std::memcpy(entry.name, name.data(), length);
    entry.name[length] = '\0';
    return true;
}

// Windows' order of names in a directory: "." and "..", then by upper case.
bool nameOrder(const _finddata_t& a, const _finddata_t& b) {
    int rankA = std::strcmp(a.name, ".") == 0 ? 0 : std::strcmp(a.name, "..") == 0 ? 1 : 2;
    int rankB = std::strcmp(b.name, ".") == 0 ? 0 : std::strcmp(b.name, "..") == 0 ? 1 : 2;
    if (rankA != rankB) return rankA < rankB;
    for (std::size_t i = 0;; ++i) {
        unsigned char x = foldCase(static_cast<unsigned char>(a.name[i]));
        unsigned char y = foldCase(static_cast<unsigned char>(b.name[i]));
        if (x != y || x == 0) return x < y;
    }
}

// Host names are UTF-8; the ANSI code page may lack some of their letters.
std::string ansiName(const char* hostName) {
    std::wstring wide(std::strlen(hostName) + 1, L'\0');
    int units = MultiByteToWideChar(CP_UTF8, 0, hostName, -1, wide.data(),
                                    static_cast<int>(wide.size()));
    if (units <= 0) return "?";
    std::string name(static_cast<std::size_t>(units), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.data(), -1, name.data(), units, nullptr, nullptr);
    name.resize(std::strlen(name.c_str()));
    return name;
}

}  // namespace

std::intptr_t _findfirst(const char* pattern, _finddata_t* entry) {
    if (pattern == nullptr || entry == nullptr) {
        errno = EINVAL;
        return -1;
    }
    std::string whole = pattern;
    std::size_t cut = whole.find_last_of("\\/");
    std::string folder = cut == std::string::npos ? "." : whole.substr(0, cut + 1);
    std::string namePattern = cut == std::string::npos ? whole : whole.substr(cut + 1);
    std::string hostFolder = platform::hostPath(folder.c_str());

    std::unique_ptr<DIR, int (*)(DIR*)> directory(opendir(hostFolder.c_str()), closedir);
    if (!directory) {
        errno = ENOENT;
        return -1;
    }
    auto search = std::make_shared<Search>();
    while (dirent* found = readdir(directory.get())) {
        std::string name = ansiName(found->d_name);
        _finddata_t item;
        if (matchesName(namePattern, name.c_str()) &&
            entryOf(hostFolder, found->d_name, name, item)) {
            search->entries.push_back(item);
        }
    }
    if (search->entries.empty()) {
        errno = ENOENT;
        return -1;
    }
    std::sort(search->entries.begin(), search->entries.end(), nameOrder);
    *entry = search->entries[0];
    search->next = 1;
    HANDLE handle = platform::registerHandle(search);
    if (handle == nullptr) {
        errno = ENOMEM;
        return -1;
    }
    return reinterpret_cast<std::intptr_t>(handle);
}

int _findnext(std::intptr_t handle, _finddata_t* entry) {
    auto search = platform::handleObjectAs<Search>(reinterpret_cast<HANDLE>(handle));
    if (!search || entry == nullptr) {
        errno = EINVAL;
        return -1;
    }
    if (search->next >= search->entries.size()) {
        errno = ENOENT;
        return -1;
    }
    *entry = search->entries[search->next++];
    return 0;
}

int _findclose(std::intptr_t handle) {
    if (!platform::handleObjectAs<Search>(reinterpret_cast<HANDLE>(handle))) {
        errno = EINVAL;
        return -1;
    }
    CloseHandle(reinterpret_cast<HANDLE>(handle));
    return 0;
}

int _access(const char* path, int mode) {
    if (path == nullptr || (mode & ~6) != 0) {
        errno = EINVAL;
        return -1;
    }
    int wanted = F_OK;
    if ((mode & 2) != 0) wanted |= W_OK;
    if ((mode & 4) != 0) wanted |= R_OK;
    return access(platform::hostPath(path).c_str(), wanted) == 0 ? 0 : -1;
}

void _splitpath(const char* path, char* drive, char* directory, char* name, char* extension) {
    std::string whole = path != nullptr ? path : "";
    std::size_t start = 0;
    std::string driveText;
    if (whole.size() >= 2 && whole[1] == ':') {
        driveText = whole.substr(0, 2);
        start = 2;
    }
    std::size_t lastSeparator = whole.find_last_of("\\/");
    std::size_t nameStart =
        lastSeparator == std::string::npos || lastSeparator < start ? start : lastSeparator + 1;
    std::size_t dot = whole.find_last_of('.');
    if (dot == std::string::npos || dot < nameStart) dot = whole.size();
    const auto put = [](char* out, const std::string& text) {
        if (out != nullptr) std::memcpy(out, text.c_str(), text.size() + 1);
    };
    put(drive, driveText);
    put(directory, whole.substr(start, nameStart - start));
    put(name, whole.substr(nameStart, dot - nameStart));
    put(extension, whole.substr(dot));
}

int _stat(const char* path, struct _stat* status) {
    if (path == nullptr || status == nullptr) {
        errno = EINVAL;
        return -1;
    }
    struct stat info {};
    if (stat(platform::hostPath(path).c_str(), &info) != 0) return -1;
    if (info.st_size > INT32_MAX) {
        errno = EOVERFLOW;
        return -1;
    }
    status->st_mode = static_cast<unsigned short>(info.st_mode & 0xFFFF);
    status->st_size = static_cast<std::int32_t>(info.st_size);
    return 0;
}

extern "C" {

__attribute__((visibility("hidden"))) int remove(const char* path) noexcept {
    if (path == nullptr) {
        errno = EINVAL;
        return -1;
    }
    return unlink(platform::hostPath(path).c_str());
}

__attribute__((visibility("hidden"))) wchar_t* fgetws(wchar_t* buffer, int count,
                                                     std::FILE* stream) {
    if (buffer == nullptr || count <= 0 || stream == nullptr) {
        errno = EINVAL;
        return nullptr;
    }
    int stored = 0;
    if (platform::isBinaryStream(stream)) {
        while (stored < count - 1) {
            const int low = std::fgetc(stream);
            if (low == EOF) break;
            const int high = std::fgetc(stream);
            if (high == EOF) break;
            buffer[stored++] = static_cast<wchar_t>(low | high << 8);
            if (buffer[stored - 1] == L'\n') break;
        }
        if (stored == 0) return nullptr;
        buffer[stored] = L'\0';
        return buffer;
    }
    while (stored < count - 1) {
        int c = std::fgetc(stream);
        if (c == EOF) break;
        if (c == '\r') {
            int following = std::fgetc(stream);
            if (following == '\n') {
                c = '\n';
            } else if (following != EOF) {
                std::ungetc(following, stream);
            }
        }
        buffer[stored++] = platform::cp1252::toWide(static_cast<unsigned char>(c));
        if (c == '\n') break;
    }
    if (stored == 0) return nullptr;
    buffer[stored] = L'\0';
    return buffer;
}

}  // extern "C"
