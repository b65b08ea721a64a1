// Fuzz target of the PE reader and the module services on top of it.
//
// The input is read twice: by the reader straight from libFuzzer's buffer
// (every resource found is read byte by byte, so the sanitizer sees any read
// outside the input), and as a library file through LoadLibraryA,
// FindResourceA, LoadResource, SizeofResource and LoadStringA. Both must
// agree on whether the file is an image; anything else may fail, but only
// with a code the contract allows.
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "platform/module/module.h"
#include "platform/module/peimage.h"
#include "platform/text/text.h"

namespace {

struct Found {
    platform::ResourceKey type;
    platform::ResourceKey name;
};

// Bounds the work on trees whose directories share their subdirectories.
constexpr std::size_t kEntryLimit = 4096;
constexpr std::size_t kMostResources = 64;

void require(bool condition) {
    if (!condition) std::abort();
}

volatile unsigned sink;

void touch(const BYTE* data, DWORD size) {
    unsigned sum = 0;
    for (DWORD i = 0; i < size; ++i) sum += data[i];
    sink = sum;
}

bool isLookupError(DWORD error) {
    return error == ERROR_RESOURCE_DATA_NOT_FOUND || error == ERROR_RESOURCE_TYPE_NOT_FOUND ||
           error == ERROR_RESOURCE_NAME_NOT_FOUND;
}

// The key as FindResourceA takes it: an id, or the name in code page 1252.
std::string nameOf(const platform::ResourceKey& key) {
    if (key.isId) return {};
    std::wstring name = key.name.substr(0, key.name.find(L'\0'));
    if (name.empty()) return {};
    std::string narrow(name.size() * 4 + 1, '\0');
    int length = WideCharToMultiByte(CP_ACP, 0, name.c_str(), static_cast<int>(name.size()),
                                     narrow.data(), static_cast<int>(narrow.size()), nullptr,
                                     nullptr);
    narrow.resize(length > 0 ? static_cast<std::size_t>(length) : 0);
    return narrow;
}

void lookUpInModule(HMODULE module, const Found& found) {
    std::string type = nameOf(found.type);
    std::string name = nameOf(found.name);
    LPCSTR typeArgument = found.type.isId ? MAKEINTRESOURCEA(found.type.id) : type.c_str();
    LPCSTR nameArgument = found.name.isId ? MAKEINTRESOURCEA(found.name.id) : name.c_str();
    HRSRC resource = FindResourceA(module, nameArgument, typeArgument);
    if (resource == nullptr) {
        require(isLookupError(GetLastError()));
        return;
    }
    HGLOBAL loaded = LoadResource(module, resource);
    require(loaded != nullptr);
    const auto* bytes = static_cast<const BYTE*>(LockResource(loaded));
    touch(bytes, SizeofResource(module, resource));

    // Every string of a string table block.
    if (found.type.isId && found.type.id == 6 && found.name.isId && found.name.id > 0) {
        UINT first = (found.name.id - 1u) * 16u;
        for (UINT id = first; id < first + 16; ++id) {
            char text[64];
            int length = LoadStringA(module, id, text, sizeof text);
            require(length >= 0 && length < static_cast<int>(sizeof text) && text[length] == '\0');
        }
    }
}

// The input as a file; memfd keeps it off the disk.
std::string asFile(const std::uint8_t* data, std::size_t size, int& fd) {
    fd = memfd_create("pe-fuzz", MFD_CLOEXEC);
    if (fd < 0) std::abort();
    std::size_t written = 0;
    while (written < size) {
        ssize_t count = write(fd, data + written, size - written);
        if (count <= 0) std::abort();
        written += static_cast<std::size_t>(count);
    }
    return "/proc/self/fd/" + std::to_string(fd);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    platform::PeImage image;
    DWORD opened = image.open(data, size);
    require(opened == ERROR_SUCCESS || opened == ERROR_BAD_EXE_FORMAT);

    // The headers alone give the same verdict, and the image they measure
    // opens by itself.
    std::uint64_t extent = 0;
    auto inInput = [data, size](std::uint64_t offset, std::size_t length, BYTE* out) {
        if (offset > size || length > size - offset) return false;
        std::memcpy(out, data + offset, length);
        return true;
    };
    require(platform::PeImage::measure(size, inInput, extent) == opened);
    if (opened == ERROR_SUCCESS) {
        require(extent <= size);
        platform::PeImage prefix;
        require(prefix.open(data, static_cast<std::size_t>(extent)) == ERROR_SUCCESS);
    }

    std::vector<Found> resources;
    image.forEachResource(kEntryLimit, [&](const platform::ResourceKey& type,
                                           const platform::ResourceKey& name, WORD,
                                           const platform::ResourceData& found) {
        touch(found.data, found.size);
        if (resources.size() < kMostResources) resources.push_back({type, name});
    });
    for (const Found& found : resources) {
        platform::ResourceData resource;
        DWORD result = image.findResource(found.type, found.name, resource);
        if (result == ERROR_SUCCESS) {
            touch(resource.data, resource.size);
            platform::ResourceData again;
            require(image.resourceAt(resource.entry, again) && again.data == resource.data &&
                    again.size == resource.size);
        } else {
            require(isLookupError(result));
        }
    }

    int fd = -1;
    std::string path = asFile(data, size, fd);
    HMODULE module = LoadLibraryA(path.c_str());
    require((module != nullptr) == (opened == ERROR_SUCCESS));
    if (module == nullptr) {
        require(GetLastError() == ERROR_BAD_EXE_FORMAT);
    } else {
        for (const Found& found : resources) lookUpInModule(module, found);
        char text[8];
        LoadStringA(module, 0, text, sizeof text);
        require(FreeLibrary(module));
    }
    close(fd);
    return 0;
}
