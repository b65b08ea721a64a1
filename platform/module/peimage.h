// A bounds-checked reader of a Windows PE image (PE32 or PE32+) in memory:
// its headers, its section table and its resource tree.
//
// open() checks the headers once. The resource tree is read only when asked,
// and every offset, count and size in it is checked against the image before
// it is used, so a damaged or hostile file is refused or its resources are
// reported missing; nothing outside [data, data + size) is ever read. The
// tree is walked exactly three levels deep (type, name, language), so a
// directory that points back at itself cannot make a lookup loop.
//
// The reader keeps a pointer to the bytes; they must outlive it. It holds no
// lock and changes nothing after open(), so any number of threads may read
// through one reader at once.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/core/types.h"

namespace platform {

// A resource type or name as the directory holds it: an integer id, or a
// name that is compared without regard to case.
struct ResourceKey {
    bool isId = true;
    WORD id = 0;
    std::wstring name;

    static ResourceKey fromId(WORD value) { return ResourceKey{true, value, {}}; }
    static ResourceKey fromName(std::wstring value) {
        return ResourceKey{false, 0, std::move(value)};
    }
};

// One resource's bytes. entry is the resource's data entry inside the image;
// it identifies the resource (it is what FindResourceA hands out).
struct ResourceData {
    const BYTE* data = nullptr;
    DWORD size = 0;
    const BYTE* entry = nullptr;
};

class PeImage {
public:
    // Checks the DOS, PE and optional headers, the section table (every
    // section's file data lies inside the image) and that the resource
    // directory, if there is one, starts inside a section's file data.
    // Answers ERROR_SUCCESS or ERROR_BAD_EXE_FORMAT; after a failure the
    // reader holds no resources.
    DWORD open(const BYTE* data, std::size_t size);

    // Reads length bytes at offset of a file into out; false when they
    // cannot all be read.
    using Reader = std::function<bool(std::uint64_t offset, std::size_t length, BYTE* out)>;

    // How many bytes from the start of a file of fileSize bytes its image
    // takes: the headers, the section table and every section's file data.
    // Only the headers are read, so a file that is no image is refused at
    // the cost of reading them, whatever its size, and nothing beyond the
    // image need ever be read. Answers ERROR_SUCCESS or ERROR_BAD_EXE_FORMAT,
    // the same verdict as open() gives on the whole file and on its first
    // extent bytes.
    static DWORD measure(std::uint64_t fileSize, const Reader& read, std::uint64_t& extent);

    // Looks up a resource and takes its first language. Answers
    // ERROR_SUCCESS, ERROR_RESOURCE_DATA_NOT_FOUND (no usable resource tree,
    // or the resource's data lies outside the image),
    // ERROR_RESOURCE_TYPE_NOT_FOUND or ERROR_RESOURCE_NAME_NOT_FOUND.
    DWORD findResource(const ResourceKey& type, const ResourceKey& name,
                       ResourceData& found) const;

    // Reads again the data entry that findResource handed out as
    // found.entry; false when entry is no readable data entry of this image.
    bool resourceAt(const BYTE* entry, ResourceData& found) const;

    // Visits every resource in directory order (type, name, language),
    // skipping damaged parts. At most entryLimit directory entries are
    // looked at in all, which bounds the work on a tree whose directories
    // share their subdirectories.
    using Visitor = std::function<void(const ResourceKey& type, const ResourceKey& name,
                                       WORD language, const ResourceData& data)>;
    void forEachResource(std::size_t entryLimit, const Visitor& visit) const;

    bool isPe32Plus() const { return m_pe32Plus; }
    bool hasResources() const { return m_resourceEnd > m_resourceStart; }

private:
    struct Section {
        DWORD virtualAddress;
        DWORD rawSize;
        DWORD rawOffset;
    };
    // What the headers say, checked against an image of a given size.
    struct Headers {
        bool pe32Plus = false;
        std::vector<Section> sections;
        std::uint64_t tableEnd = 0;  // where the section table ends
        std::size_t resourceStart = 0;
        std::size_t resourceEnd = 0;
    };
    struct Directory {
        std::size_t entries;  // offset of the first entry in the resource tree
        std::size_t count;
    };

    static DWORD readHeaders(std::uint64_t size, const Reader& read, Headers& headers);
    bool mapRange(DWORD rva, DWORD size, std::size_t& offset) const;
    bool readDirectory(DWORD offset, Directory& directory) const;
    bool readEntry(const Directory& directory, std::size_t index, DWORD& name,
                   DWORD& target) const;
    bool nameText(DWORD name, const BYTE*& text, std::size_t& units) const;
    bool matches(DWORD name, const ResourceKey& key) const;
    bool readKey(DWORD name, ResourceKey& key) const;
    bool readDataEntry(std::size_t offset, ResourceData& found) const;
    bool findEntry(const Directory& directory, const ResourceKey& key, DWORD& target) const;

    const BYTE* m_data = nullptr;
    std::size_t m_size = 0;
    bool m_pe32Plus = false;
    std::vector<Section> m_sections;
    // The resource tree: its offsets are counted from m_resourceStart and it
    // may use the rest of the section it starts in.
    std::size_t m_resourceStart = 0;
    std::size_t m_resourceEnd = 0;
};

}  // namespace platform
