#include "platform/module/peimage.h"

#include <unicode/uchar.h>

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "platform/core/littleendian.h"
#include "platform/text/utf16.h"

namespace platform {

namespace {

// Offsets and sizes of the image format (Microsoft's "PE Format" description).
constexpr std::size_t kDosHeaderSize = 0x40;
constexpr std::size_t kPeOffsetField = 0x3C;
constexpr std::size_t kFileHeaderSize = 20;
constexpr std::size_t kSectionHeaderSize = 40;
// The Windows loader refuses images with more sections.
constexpr std::size_t kMaxSections = 96;
constexpr WORD kPe32Magic = 0x10B;
constexpr WORD kPe32PlusMagic = 0x20B;
constexpr std::size_t kResourceDirectoryIndex = 2;
constexpr std::size_t kDirectoryHeaderSize = 16;
constexpr std::size_t kDirectoryEntrySize = 8;
constexpr std::size_t kDataEntrySize = 16;
constexpr DWORD kHighBit = 0x80000000u;

// Whether [offset, offset + length) lies inside [0, limit). It never adds
// offset and length, so hostile values cannot wrap around.
bool fits(std::uint64_t offset, std::uint64_t length, std::uint64_t limit) {
    return offset <= limit && length <= limit - offset;
}

// Resource names compare as Windows compares them: both sides upper-cased.
UChar32 foldName(UChar32 c) { return u_toupper(c); }

}  // namespace

DWORD PeImage::readHeaders(std::uint64_t size, const Reader& read, Headers& headers) {
    BYTE dos[kDosHeaderSize];
    if (size < kDosHeaderSize || !read(0, kDosHeaderSize, dos)) return ERROR_BAD_EXE_FORMAT;
    if (dos[0] != 'M' || dos[1] != 'Z') return ERROR_BAD_EXE_FORMAT;

    std::uint64_t peOffset = readLittle32(dos + kPeOffsetField);
    BYTE pe[4 + kFileHeaderSize];
    if (!fits(peOffset, sizeof pe, size) || !read(peOffset, sizeof pe, pe)) {
        return ERROR_BAD_EXE_FORMAT;
    }
    if (pe[0] != 'P' || pe[1] != 'E' || pe[2] != 0 || pe[3] != 0) return ERROR_BAD_EXE_FORMAT;
    const BYTE* fileHeader = pe + 4;
    std::size_t sectionCount = readLittle16(fileHeader + 2);
    std::size_t optionalSize = readLittle16(fileHeader + 16);

    std::uint64_t optionalOffset = peOffset + sizeof pe;
    if (!fits(optionalOffset, optionalSize, size) || optionalSize < 2) {
        return ERROR_BAD_EXE_FORMAT;
    }
    std::vector<BYTE> optional(optionalSize);
    if (!read(optionalOffset, optionalSize, optional.data())) return ERROR_BAD_EXE_FORMAT;
    WORD magic = readLittle16(optional.data());
    std::size_t countField = 0;
    if (magic == kPe32Magic) {
        countField = 92;
    } else if (magic == kPe32PlusMagic) {
        countField = 108;
    } else {
        return ERROR_BAD_EXE_FORMAT;
    }
    std::size_t directoriesStart = countField + 4;
    if (optionalSize < directoriesStart) return ERROR_BAD_EXE_FORMAT;
    std::uint64_t directoryCount = readLittle32(optional.data() + countField);
    if (directoryCount * 8 > optionalSize - directoriesStart) return ERROR_BAD_EXE_FORMAT;

    if (sectionCount > kMaxSections) return ERROR_BAD_EXE_FORMAT;
    std::uint64_t sectionTable = optionalOffset + optionalSize;
    std::size_t tableSize = sectionCount * kSectionHeaderSize;
    if (!fits(sectionTable, tableSize, size)) return ERROR_BAD_EXE_FORMAT;
    std::vector<BYTE> table(tableSize);
    if (tableSize != 0 && !read(sectionTable, tableSize, table.data())) {
        return ERROR_BAD_EXE_FORMAT;
    }
    headers.sections.reserve(sectionCount);
    for (std::size_t i = 0; i < sectionCount; ++i) {
        const BYTE* header = table.data() + i * kSectionHeaderSize;
        Section section{readLittle32(header + 12), readLittle32(header + 16), readLittle32(header + 20)};
        if (section.rawSize != 0 && !fits(section.rawOffset, section.rawSize, size)) {
            return ERROR_BAD_EXE_FORMAT;
        }
        headers.sections.push_back(section);
    }

    if (directoryCount > kResourceDirectoryIndex) {
        const BYTE* entry = optional.data() + directoriesStart + kResourceDirectoryIndex * 8;
        DWORD rva = readLittle32(entry);
        DWORD length = readLittle32(entry + 4);
        if (rva != 0 && length != 0) {
            bool found = false;
            for (const Section& section : headers.sections) {
                if (rva >= section.virtualAddress &&
                    rva - section.virtualAddress < section.rawSize) {
                    headers.resourceStart = section.rawOffset + (rva - section.virtualAddress);
                    headers.resourceEnd = std::size_t{section.rawOffset} + section.rawSize;
                    found = true;
                    break;
                }
            }
            if (!found) return ERROR_BAD_EXE_FORMAT;
        }
    }
    headers.pe32Plus = magic == kPe32PlusMagic;
    headers.tableEnd = sectionTable + tableSize;
    return ERROR_SUCCESS;
}

DWORD PeImage::measure(std::uint64_t fileSize, const Reader& read, std::uint64_t& extent) {
    Headers headers;
    DWORD result = readHeaders(fileSize, read, headers);
    if (result != ERROR_SUCCESS) return result;
    extent = headers.tableEnd;
    for (const Section& section : headers.sections) {
        if (section.rawSize != 0) {
            extent = std::max(extent, std::uint64_t{section.rawOffset} + section.rawSize);
        }
    }
    return ERROR_SUCCESS;
}

DWORD PeImage::open(const BYTE* data, std::size_t size) {
    *this = PeImage();
    if (data == nullptr) return ERROR_BAD_EXE_FORMAT;
    auto inMemory = [data, size](std::uint64_t offset, std::size_t length, BYTE* out) {
        if (!fits(offset, length, size)) return false;
        std::memcpy(out, data + offset, length);
        return true;
    };
    Headers headers;
    DWORD result = readHeaders(size, inMemory, headers);
    if (result != ERROR_SUCCESS) return result;

    m_data = data;
    m_size = size;
    m_pe32Plus = headers.pe32Plus;
    m_sections = std::move(headers.sections);
    m_resourceStart = headers.resourceStart;
    m_resourceEnd = headers.resourceEnd;
    return ERROR_SUCCESS;
}

bool PeImage::mapRange(DWORD rva, DWORD size, std::size_t& offset) const {
    for (const Section& section : m_sections) {
        // A section without file data has no bytes to give, not even an
        // address inside the image.
        if (section.rawSize == 0 || rva < section.virtualAddress) continue;
        DWORD inside = rva - section.virtualAddress;
        if (inside <= section.rawSize && size <= section.rawSize - inside) {
            offset = std::size_t{section.rawOffset} + inside;
            return true;
        }
    }
    return false;
}

bool PeImage::readDirectory(DWORD offset, Directory& directory) const {
    std::uint64_t length = m_resourceEnd - m_resourceStart;
    if (!fits(offset, kDirectoryHeaderSize, length)) return false;
    const BYTE* header = m_data + m_resourceStart + offset;
    std::uint64_t count = std::uint64_t{readLittle16(header + 12)} + readLittle16(header + 14);
    std::uint64_t entries = std::uint64_t{offset} + kDirectoryHeaderSize;
    if (!fits(entries, count * kDirectoryEntrySize, length)) return false;
    directory.entries = entries;
    directory.count = count;
    return true;
}

bool PeImage::readEntry(const Directory& directory, std::size_t index, DWORD& name,
                        DWORD& target) const {
    if (index >= directory.count) return false;
    const BYTE* entry = m_data + m_resourceStart + directory.entries + index * kDirectoryEntrySize;
    name = readLittle32(entry);
    target = readLittle32(entry + 4);
    return true;
}

bool PeImage::nameText(DWORD name, const BYTE*& text, std::size_t& units) const {
    std::uint64_t length = m_resourceEnd - m_resourceStart;
    std::uint64_t offset = name & ~kHighBit;
    if (!fits(offset, 2, length)) return false;
    units = readLittle16(m_data + m_resourceStart + offset);
    if (!fits(offset + 2, units * 2, length)) return false;
    text = m_data + m_resourceStart + offset + 2;
    return true;
}

bool PeImage::matches(DWORD name, const ResourceKey& key) const {
    if (key.isId) return name == key.id;
    const BYTE* text = nullptr;
    std::size_t units = 0;
    if ((name & kHighBit) == 0 || !nameText(name, text, units)) return false;
    std::size_t position = 0;
    for (std::size_t i = 0; i < units;) {
        auto c = static_cast<UChar32>(utf16::decode(text, units, i));
        if (position >= key.name.size() ||
            foldName(c) != foldName(static_cast<UChar32>(key.name[position]))) {
            return false;
        }
        ++position;
    }
    return position == key.name.size();
}

bool PeImage::readKey(DWORD name, ResourceKey& key) const {
    if ((name & kHighBit) == 0) {
        if (name > 0xFFFF) return false;
        key = ResourceKey::fromId(static_cast<WORD>(name));
        return true;
    }
    const BYTE* text = nullptr;
    std::size_t units = 0;
    if (!nameText(name, text, units)) return false;
    std::wstring value;
    value.reserve(units);
    for (std::size_t i = 0; i < units;) {
        value.push_back(static_cast<wchar_t>(utf16::decode(text, units, i)));
    }
    key = ResourceKey::fromName(std::move(value));
    return true;
}

bool PeImage::readDataEntry(std::size_t offset, ResourceData& found) const {
    if (!fits(offset, kDataEntrySize, m_resourceEnd - m_resourceStart)) return false;
    const BYTE* entry = m_data + m_resourceStart + offset;
    DWORD rva = readLittle32(entry);
    DWORD size = readLittle32(entry + 4);
    std::size_t dataOffset = 0;
    if (!mapRange(rva, size, dataOffset)) return false;
    found.data = m_data + dataOffset;
    found.size = size;
    found.entry = entry;
    return true;
}

bool PeImage::findEntry(const Directory& directory, const ResourceKey& key,
                        DWORD& target) const {
    for (std::size_t i = 0; i < directory.count; ++i) {
        DWORD name = 0;
        readEntry(directory, i, name, target);
        if (matches(name, key)) return true;
    }
    return false;
}

DWORD PeImage::findResource(const ResourceKey& type, const ResourceKey& name,
                            ResourceData& found) const {
    Directory types{};
    if (!hasResources() || !readDirectory(0, types)) return ERROR_RESOURCE_DATA_NOT_FOUND;

    DWORD target = 0;
    if (!findEntry(types, type, target)) return ERROR_RESOURCE_TYPE_NOT_FOUND;
    // A type (or name) whose entry does not lead to a readable directory has
    // nothing in it: its names (or languages) are missing.
    Directory names{};
    if ((target & kHighBit) == 0 || !readDirectory(target & ~kHighBit, names)) {
        return ERROR_RESOURCE_NAME_NOT_FOUND;
    }
    Directory languages{};
    if (!findEntry(names, name, target) || (target & kHighBit) == 0 ||
        !readDirectory(target & ~kHighBit, languages) || languages.count == 0) {
        return ERROR_RESOURCE_NAME_NOT_FOUND;
    }
    // The first language whose data can be read; a subdirectory at this
    // depth would be a fourth level, which valid files never have.
    for (std::size_t i = 0; i < languages.count; ++i) {
        DWORD language = 0;
        readEntry(languages, i, language, target);
        if ((target & kHighBit) == 0 && readDataEntry(target, found)) return ERROR_SUCCESS;
    }
    return ERROR_RESOURCE_DATA_NOT_FOUND;
}

bool PeImage::resourceAt(const BYTE* entry, ResourceData& found) const {
    if (entry == nullptr || !hasResources()) return false;
    auto address = reinterpret_cast<std::uintptr_t>(entry);
    auto start = reinterpret_cast<std::uintptr_t>(m_data) + m_resourceStart;
    if (address < start) return false;
    return readDataEntry(address - start, found);
}

void PeImage::forEachResource(std::size_t entryLimit, const Visitor& visit) const {
    Directory types{};
    if (!hasResources() || !readDirectory(0, types)) return;
    std::size_t budget = entryLimit;
    auto spend = [&budget] {
        if (budget == 0) return false;
        --budget;
        return true;
    };
    for (std::size_t t = 0; t < types.count && spend(); ++t) {
        DWORD typeName = 0;
        DWORD typeTarget = 0;
        readEntry(types, t, typeName, typeTarget);
        ResourceKey type;
        Directory names{};
        if ((typeTarget & kHighBit) == 0 || !readKey(typeName, type) ||
            !readDirectory(typeTarget & ~kHighBit, names)) {
            continue;
        }
        for (std::size_t n = 0; n < names.count && spend(); ++n) {
            DWORD nameName = 0;
            DWORD nameTarget = 0;
            readEntry(names, n, nameName, nameTarget);
            ResourceKey name;
            Directory languages{};
            if ((nameTarget & kHighBit) == 0 || !readKey(nameName, name) ||
                !readDirectory(nameTarget & ~kHighBit, languages)) {
                continue;
            }
            for (std::size_t l = 0; l < languages.count && spend(); ++l) {
                DWORD language = 0;
                DWORD dataTarget = 0;
                readEntry(languages, l, language, dataTarget);
                ResourceData data;
                if ((dataTarget & kHighBit) != 0 || language > 0xFFFF ||
                    !readDataEntry(dataTarget, data)) {
                    continue;
                }
                visit(type, name, static_cast<WORD>(language), data);
            }
        }
    }
}

}  // namespace platform
