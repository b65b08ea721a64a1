#include "platform/module/module_testenv.h"

#include <algorithm>
#include <stdexcept>

#include "platform/core/littleendian.h"

namespace moduletesting {

namespace {

// A field of size bytes at offset must lie in the image: a test that damages
// one past its end fails there, instead of writing beyond the vector.
void checkField(const Bytes& bytes, std::size_t offset, std::size_t size) {
    if (offset > bytes.size() || bytes.size() - offset < size) {
        throw std::out_of_range("a field past the image's end");
    }
}

unsigned get16(const Bytes& bytes, std::size_t offset) {
    checkField(bytes, offset, 2);
    return readLittle16(bytes.data() + offset);
}

}  // namespace

DWORD get32(const Bytes& bytes, std::size_t offset) {
    checkField(bytes, offset, 4);
    return readLittle32(bytes.data() + offset);
}

void put16(Bytes& bytes, std::size_t offset, unsigned value) {
    checkField(bytes, offset, 2);
    writeLittle16(bytes.data() + offset, static_cast<std::uint16_t>(value));
}

void put32(Bytes& bytes, std::size_t offset, DWORD value) {
    checkField(bytes, offset, 4);
    writeLittle32(bytes.data() + offset, value);
}

Layout layoutOf(const Bytes& image) {
    Layout layout{};
    layout.fileHeader = get32(image, 0x3C) + 4;
    layout.optionalHeader = layout.fileHeader + 20;
    bool plus = get16(image, layout.optionalHeader) == 0x20B;
    layout.dataDirectories = layout.optionalHeader + (plus ? 112 : 96);
    layout.sectionTable = layout.optionalHeader + get16(image, layout.fileHeader + 16);
    DWORD rva = get32(image, layout.dataDirectories + 16);
    unsigned sections = get16(image, layout.fileHeader + 2);
    for (unsigned i = 0; i < sections; ++i) {
        std::size_t header = layout.sectionTable + 40 * i;
        DWORD address = get32(image, header + 12);
        DWORD rawSize = get32(image, header + 16);
        if (rva >= address && rva < address + rawSize) {
            layout.resources = get32(image, header + 20) + (rva - address);
        }
    }
    return layout;
}

std::size_t entryAt(std::size_t directory, std::size_t index) { return directory + 16 + 8 * index; }

std::size_t targetOf(const Bytes& image, const Layout& layout, std::size_t entry) {
    return layout.resources + (get32(image, entry + 4) & 0x7FFFFFFF);
}

Bytes toPe32Plus(const Bytes& image) {
    Layout layout = layoutOf(image);
    Bytes plus = image;
    std::size_t from = layout.optionalHeader;
    std::size_t to = layout.optionalHeader;
    std::size_t oldSize = get16(image, layout.fileHeader + 16);
    unsigned sections = get16(image, layout.fileHeader + 2);
    // Header space after the section table must take the 16 bytes more.
    std::fill(plus.begin() + static_cast<std::ptrdiff_t>(to),
              plus.begin() + static_cast<std::ptrdiff_t>(to + oldSize + 16 + 40 * sections), 0);
    std::copy(image.begin() + static_cast<std::ptrdiff_t>(from),
              image.begin() + static_cast<std::ptrdiff_t>(from + 24),
              plus.begin() + static_cast<std::ptrdiff_t>(to));
    put16(plus, to, 0x20B);
    put32(plus, to + 24, get32(image, from + 28));  // image base, now 64 bits
    std::copy(image.begin() + static_cast<std::ptrdiff_t>(from + 32),
              image.begin() + static_cast<std::ptrdiff_t>(from + 72),
              plus.begin() + static_cast<std::ptrdiff_t>(to + 32));
    for (std::size_t i = 0; i < 4; ++i) {  // stack and heap sizes, now 64 bits
        put32(plus, to + 72 + 8 * i, get32(image, from + 72 + 4 * i));
    }
    put32(plus, to + 104, get32(image, from + 88));
    put32(plus, to + 108, get32(image, from + 92));
    std::copy(image.begin() + static_cast<std::ptrdiff_t>(from + 96),
              image.begin() + static_cast<std::ptrdiff_t>(from + oldSize + 40 * sections),
              plus.begin() + static_cast<std::ptrdiff_t>(to + 112));
    put16(plus, layout.fileHeader, 0x8664);
    put16(plus, layout.fileHeader + 16, static_cast<unsigned>(oldSize + 16));
    return plus;
}

}  // namespace moduletesting
