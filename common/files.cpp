#include "common/files.h"

#include <algorithm>
#include <memory>

#include "common/strings.h"
#include "platform/win32.h"

namespace {

constexpr int kWideLineLength = 1024;

using Stream = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;

Stream openStream(const std::string& path, const char* mode) {
    return Stream(_fsopen(path.c_str(), mode, _SH_DENYNO), std::fclose);
}

void dropLineFeed(wchar_t* text) {
    std::size_t length = std::wcslen(text);
    if (length > 0 && text[length - 1] == L'\n') text[length - 1] = L'\0';
}

bool isDotEntry(const char* name) {
    return compareMbcs(name, ".") == 0 || compareMbcs(name, "..") == 0;
}

// A folder by its volume and index: a link (a junction, a symbolic link)
// can lead back into a folder above under a path of its own, and a search
// that went in would go round for ever.
struct FolderIdentity {
    DWORD volume = 0;
    DWORD indexHigh = 0;
    DWORD indexLow = 0;
    bool operator==(const FolderIdentity&) const = default;
};

bool identityOf(const std::string& folder, FolderIdentity& identity) {
    HANDLE handle = CreateFileA(folder.c_str(), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return false;
    BY_HANDLE_FILE_INFORMATION information{};
    bool known = GetFileInformationByHandle(handle, &information) != FALSE;
    CloseHandle(handle);
    identity = {information.dwVolumeSerialNumber, information.nFileIndexHigh,
                information.nFileIndexLow};
    return known;
}

// way holds the folders the search came down through to directory,
// directory included; a folder that cannot be identified is entered all the
// same.
void findFilesBelow(const std::string& pattern, const std::string& directory,
                    std::vector<std::string>& files, bool recursive,
                    std::vector<FolderIdentity>& way) {
    _finddata_t entry{};
    if (recursive) {
        std::intptr_t search = _findfirst((directory + "\\*").c_str(), &entry);
        if (search != -1) {
            do {
                if ((entry.attrib & _A_SUBDIR) == 0 || isDotEntry(entry.name)) continue;
                const std::string folder = directory + "\\" + entry.name;
                FolderIdentity identity;
                bool known = identityOf(folder, identity);
                if (known && std::find(way.begin(), way.end(), identity) != way.end()) continue;
                if (known) way.push_back(identity);
                findFilesBelow(pattern, folder, files, recursive, way);
                if (known) way.pop_back();
            } while (_findnext(search, &entry) == 0);
            _findclose(search);
        }
    }
    std::intptr_t search = _findfirst((directory + "\\" + pattern).c_str(), &entry);
    if (search != -1) {
        do {
            if ((entry.attrib & _A_SUBDIR) == 0 && !isDotEntry(entry.name)) {
                files.push_back(directory + "\\" + entry.name);
            }
        } while (_findnext(search, &entry) == 0);
        _findclose(search);
    }
}

}  // namespace

std::string& readLine(std::FILE* stream, std::string& line) {
    line.clear();
    int c;
    while ((c = std::fgetc(stream)) != EOF) {
        line.push_back(static_cast<char>(c));
        if (c == '\n') break;
    }
    if (!line.empty() && line.back() == '\n') {
        line.pop_back();
        if (!line.empty() && line.back() == '\r') line.pop_back();
    }
    return line;
}

char* readLineBuf(std::FILE* stream, char* buffer, int length) {
    if (buffer == nullptr || length < 1) return buffer;
    int stored = 0;
    while (stored < length) {
        int c = std::fgetc(stream);
        if (c == EOF) break;
        buffer[stored++] = static_cast<char>(c);
        if (c == '\n') break;
    }
    if (stored > 0 && buffer[stored - 1] == '\n') {
        --stored;
        if (stored > 0 && buffer[stored - 1] == '\r') --stored;
    } else if (stored == length) {
        // The line is longer than the buffer: the byte the NUL takes the
        // place of begins the next call.
        std::ungetc(static_cast<unsigned char>(buffer[--stored]), stream);
    }
    buffer[stored] = '\0';
    return buffer;
}

std::wstring& readLineW(std::FILE* stream, std::wstring& line) {
    wchar_t buffer[kWideLineLength];
    if (fgetws(buffer, kWideLineLength, stream) == nullptr) return line;
    dropLineFeed(buffer);
    line = buffer;
    return line;
}

wchar_t* readLineBufW(std::FILE* stream, wchar_t* buffer, int length) {
    if (buffer == nullptr || length < 1) return buffer;
    if (fgetws(buffer, length, stream) == nullptr) {
        buffer[0] = L'\0';
        return buffer;
    }
    dropLineFeed(buffer);
    return buffer;
}

std::string& readLineSkipComments(std::FILE* stream, std::string& line) {
    do {
        readLine(stream, line);
    } while (!line.empty() && line[0] == '#');
    return line;
}

std::vector<std::string>& findFiles(const std::string& pattern, const std::string& directory,
                                    std::vector<std::string>& files, bool recursive) {
    std::vector<FolderIdentity> way;
    FolderIdentity top;
    if (recursive && identityOf(directory, top)) way.push_back(top);
    findFilesBelow(pattern, directory, files, recursive, way);
    return files;
}

bool fileExists(const std::string& path) { return _access(path.c_str(), 0) == 0; }

bool fileIsWritable(const std::string& path) { return _access(path.c_str(), 2) == 0; }

bool fileIsReadable(const std::string& path) { return _access(path.c_str(), 4) == 0; }

bool fileIsReadWrite(const std::string& path) { return _access(path.c_str(), 6) == 0; }

void splitPath(const std::string& path, std::string& drive, std::string& directory,
               std::string& name, std::string& extension) {
    // No part is longer than the path itself.
    std::string parts[4];
    for (std::string& part : parts) part.assign(path.size() + 1, '\0');
    _splitpath(path.c_str(), parts[0].data(), parts[1].data(), parts[2].data(), parts[3].data());
    drive = parts[0].c_str();
    directory = parts[1].c_str();
    name = parts[2].c_str();
    extension = parts[3].c_str();
}

std::string fileNameOf(const std::string& path, bool withExtension) {
    std::string drive, directory, name, extension;
    splitPath(path, drive, directory, name, extension);
    return withExtension ? name + extension : name;
}

std::string directoryOf(const std::string& path, bool withDrive) {
    std::string drive, directory, name, extension;
    splitPath(path, drive, directory, name, extension);
    return withDrive ? drive + directory : directory;
}

bool copyFileBytes(const std::string& source, const std::string& destination) {
    if (!fileExists(source)) return false;
    std::string bytes(static_cast<std::size_t>(fileSize(source)), '\0');
    {
        Stream in = openStream(source, "rb");
        if (!in) return false;
        if (std::fread(bytes.data(), 1, bytes.size(), in.get()) != bytes.size()) return false;
        // A file that grew, or whose size could not be told, is not copied
        // in part.
        if (std::fgetc(in.get()) != EOF) return false;
    }
    Stream out = openStream(destination, "wb");
    if (!out) return false;
    bool written = std::fwrite(bytes.data(), 1, bytes.size(), out.get()) == bytes.size();
    written = std::fclose(out.release()) == 0 && written;
    // What was written in part goes; a device (a full one, say) stays.
    struct _stat status {};
    if (!written && _stat(destination.c_str(), &status) == 0 &&
        (status.st_mode & _S_IFMT) == _S_IFREG) {
        removeFile(destination);
    }
    return written;
}

bool removeFile(const std::string& path) { return remove(path.c_str()) == 0; }

long fileSize(const std::string& path) {
    struct _stat status {};
    if (_stat(path.c_str(), &status) != 0) return 0;
    return status.st_size;
}

std::string desktopDirectory() {
    char path[MAX_PATH] = {};
    if (!SHGetSpecialFolderPathA(nullptr, path, CSIDL_DESKTOPDIRECTORY, FALSE)) return {};
    return path;
}
