// resdll: writes a resource-only Windows library (PE32, i386, no code, one
// .rsrc section) from files and string-table texts. The recording libraries
// and the test libraries are made with it; see usage() for the command line.
//
// The file follows Microsoft's PE format description closely enough for the
// Windows loader and for independent readers (binutils' objdump) to accept
// it: directories sorted (names first, then ids), names stored in capitals
// as resource compilers store them, data aligned to 8 bytes, a checksum.
#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include <unicode/uchar.h>

#include "platform/core/littleendian.h"
#include "platform/text/utf16.h"
#include "platform/text/utf8.h"

namespace {

const char* const kUsage = R"(usage: resdll [-l LANGUAGE] -o OUTPUT ENTRY...

Writes a resource-only Windows library (PE32, i386, no code) holding the
resources given.

ENTRY is one of
  TYPE:NAME=FILE   the bytes of FILE as resource NAME of type TYPE
  STRING:ID=TEXT   string ID (0-65535) of the string table; TEXT is UTF-8
                   and is stored as UTF-16
  @LIST            the entries in file LIST, one a line; empty lines and
                   lines that start with '#' are skipped; its file names,
                   like all others, are relative to the current directory

TYPE      a number (10), BITMAP (type 2: the BMP file's 14-byte file header
          is dropped, as resource compilers do), or a name (MP3, WAVE)
NAME      a number (1702) or a name; "#123" is the number 123; names are
          stored in capitals (all letters, not only the ASCII ones)
LANGUAGE  the language id of every resource, decimal or 0x hexadecimal
          (default 0, neutral; 1031 is German)

Example:
  resdll -o aud_de_de_mc_02.dll MP3:1702=w1234a.mp3 MP3:1703=w1234b.mp3 \
         STRING:1=Schule
)";

constexpr std::uint16_t kBitmapType = 2;
constexpr std::uint16_t kStringType = 6;
constexpr std::uint32_t kFileAlignment = 0x200;
constexpr std::uint32_t kSectionAlignment = 0x1000;
constexpr std::uint32_t kPeOffset = 0x80;
constexpr std::uint32_t kOptionalHeaderSize = 224;
constexpr std::uint32_t kHeadersSize = 0x200;
constexpr std::uint32_t kSectionRva = 0x1000;
// Far below the format's limits; a bigger library is a mistake.
constexpr std::size_t kMaxSectionSize = 0x40000000;

struct Failure : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// A type or name: an id, or a name held as UTF-16 in capitals.
struct Key {
    bool isId = true;
    std::uint16_t id = 0;
    std::u16string name;

    // Names first, in order of their units, then ids in ascending order:
    // the order the directories must have.
    bool operator<(const Key& other) const {
        if (isId != other.isId) return !isId;
        return isId ? id < other.id : name < other.name;
    }
};

using Bytes = std::vector<std::uint8_t>;
using Resources = std::map<Key, std::map<Key, Bytes>>;

// Strict: input that is not UTF-8 is refused rather than replaced.
std::u16string utf16FromUtf8(const std::string& text) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    static constexpr unsigned char kReplacementBytes[] = {0xEF, 0xBF, 0xBD};
    std::u16string result;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t start = i;
        char32_t code = platform::utf8::decode(bytes, text.size(), i);
        // The decoder stands U+FFFD in for what it cannot read; only the
        // character's own three bytes are a real U+FFFD.
        if (code == platform::utf8::kReplacement &&
            (i - start != 3 || std::memcmp(bytes + start, kReplacementBytes, 3) != 0)) {
            throw Failure("not UTF-8: \"" + text + "\"");
        }
        char16_t units[2];
        result.append(units, platform::utf16::encode(code, units));
    }
    return result;
}

bool parseNumber(const std::string& text, unsigned long limit, unsigned long& value) {
    if (text.empty() || text.size() > 10) return false;
    int base = 10;
    std::string digits = text;
    if (digits.size() > 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X')) {
        base = 16;
        digits = digits.substr(2);
    }
    std::size_t used = 0;
    try {
        value = std::stoul(digits, &used, base);
    } catch (const std::exception&) {
        return false;
    }
    return used == digits.size() && std::isxdigit(static_cast<unsigned char>(digits[0])) &&
           value <= limit;
}

// For the keywords of the command line (STRING, BITMAP), which are ASCII.
std::string upper(std::string text) {
    for (char& c : text) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return text;
}

// Windows upper-cases a name it looks up unit by unit and compares it with
// the stored one exactly, so every unit is stored as that makes it: its
// simple upper-case mapping, where one exists within a unit.
std::u16string upper(std::u16string text) {
    for (char16_t& unit : text) {
        UChar32 mapped = u_toupper(static_cast<UChar32>(unit));
        if (mapped <= 0xFFFF) unit = static_cast<char16_t>(mapped);
    }
    return text;
}

Key keyOf(const std::string& text, const std::string& entry) {
    Key key;
    std::string number = text.size() > 1 && text[0] == '#' ? text.substr(1) : text;
    unsigned long value = 0;
    if (std::all_of(number.begin(), number.end(), [](char c) { return c >= '0' && c <= '9'; }) &&
        parseNumber(number, 0xFFFF, value)) {
        key.id = static_cast<std::uint16_t>(value);
        return key;
    }
    if (text.empty() || text[0] == '#' ||
        std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        throw Failure("bad type or name \"" + text + "\" in " + entry);
    }
    key.isId = false;
    key.name = upper(utf16FromUtf8(text));
    if (key.name.size() > 0xFFFF) throw Failure("name too long in " + entry);
    return key;
}

Bytes readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw Failure("cannot read " + path);
    Bytes bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) throw Failure("cannot read " + path);
    return bytes;
}

struct Input {
    Resources resources;
    std::map<std::uint16_t, std::u16string> strings;
};

void addEntry(const std::string& entry, Input& input);

void addList(const std::string& path, Input& input, int depth) {
    if (depth > 8) throw Failure("lists nested too deeply at " + path);
    std::ifstream in(path);
    if (!in) throw Failure("cannot read " + path);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == '#') continue;
        if (line[0] == '@') {
            addList(line.substr(1), input, depth + 1);
        } else {
            addEntry(line, input);
        }
    }
}

void addEntry(const std::string& entry, Input& input) {
    std::size_t colon = entry.find(':');
    std::size_t equals = colon == std::string::npos ? colon : entry.find('=', colon);
    if (equals == std::string::npos) throw Failure("not TYPE:NAME=VALUE: " + entry);
    std::string type = entry.substr(0, colon);
    std::string name = entry.substr(colon + 1, equals - colon - 1);
    std::string value = entry.substr(equals + 1);

    if (upper(type) == "STRING") {
        unsigned long id = 0;
        if (!parseNumber(name, 0xFFFF, id)) throw Failure("bad string id in " + entry);
        std::u16string text = utf16FromUtf8(value);
        if (text.size() > 0xFFFF) throw Failure("string too long in " + entry);
        if (!input.strings.emplace(static_cast<std::uint16_t>(id), text).second) {
            throw Failure("string " + name + " given twice");
        }
        return;
    }
    Key typeKey = upper(type) == "BITMAP" ? Key{true, kBitmapType, {}} : keyOf(type, entry);
    Bytes bytes = readFile(value);
    if (typeKey.isId && typeKey.id == kBitmapType) {
        if (bytes.size() < 14 || bytes[0] != 'B' || bytes[1] != 'M') {
            throw Failure("not a BMP file: " + value);
        }
        bytes.erase(bytes.begin(), bytes.begin() + 14);
    }
    if (!input.resources[typeKey].emplace(keyOf(name, entry), std::move(bytes)).second) {
        throw Failure("resource given twice: " + entry);
    }
}

// Sixteen strings a block, each a count of UTF-16 units and the units.
void addStringTables(Input& input) {
    std::map<std::uint16_t, std::vector<std::u16string>> blocks;
    for (const auto& [id, text] : input.strings) {
        auto& block = blocks[static_cast<std::uint16_t>(id / 16 + 1)];
        block.resize(16);
        block[id % 16] = text;
    }
    for (const auto& [blockId, texts] : blocks) {
        Bytes data;
        for (const std::u16string& text : texts) {
            data.push_back(static_cast<std::uint8_t>(text.size() & 0xFF));
            data.push_back(static_cast<std::uint8_t>(text.size() >> 8));
            for (char16_t unit : text) {
                data.push_back(static_cast<std::uint8_t>(unit & 0xFF));
                data.push_back(static_cast<std::uint8_t>(unit >> 8));
            }
        }
        Key name{true, blockId, {}};
        if (!input.resources[Key{true, kStringType, {}}].emplace(name, std::move(data)).second) {
            throw Failure("string table block " + std::to_string(blockId) + " given twice");
        }
    }
}

class Writer {
public:
    explicit Writer(Bytes& bytes) : m_bytes(bytes) {}
    void u8(std::size_t at, std::uint32_t value) {
        m_bytes.at(at) = static_cast<std::uint8_t>(value);
    }
    void u16(std::size_t at, std::uint32_t value) {
        writeLittle16(field(at, 2), static_cast<std::uint16_t>(value));
    }
    void u32(std::size_t at, std::uint32_t value) { writeLittle32(field(at, 4), value); }
    void text(std::size_t at, const char* chars, std::size_t length) {
        std::copy(chars, chars + length, m_bytes.begin() + static_cast<std::ptrdiff_t>(at));
    }

private:
    std::uint8_t* field(std::size_t at, std::size_t size) {
        if (at > m_bytes.size() || m_bytes.size() - at < size) {
            throw std::out_of_range("a field past the end of the image");
        }
        return m_bytes.data() + at;
    }

    Bytes& m_bytes;
};

std::size_t alignUp(std::size_t value, std::size_t alignment) {
    return (value + alignment - 1) / alignment * alignment;
}

// The .rsrc section: the directories (root, then the name directories, then
// the language directories), the names, the data entries and the data.
Bytes buildSection(const Resources& resources, std::uint16_t language) {
    std::size_t nameCount = 0;
    std::size_t namesSize = 0;
    auto addName = [&namesSize](const Key& key) {
        if (!key.isId) namesSize += 2 + 2 * key.name.size();
    };
    for (const auto& [type, names] : resources) {
        addName(type);
        for (const auto& [name, data] : names) {
            addName(name);
            ++nameCount;
        }
    }
    std::size_t directoriesSize = 16 + 8 * resources.size() + 16 * resources.size() +
                                  8 * nameCount + (16 + 8) * nameCount;
    std::size_t entriesStart = alignUp(directoriesSize + namesSize, 4);
    std::size_t dataStart = alignUp(entriesStart + 16 * nameCount, 8);
    std::size_t size = dataStart;
    for (const auto& [type, names] : resources) {
        for (const auto& [name, data] : names) {
            size = alignUp(size + data.size(), 8);
            if (size > kMaxSectionSize) throw Failure("the resources are too big");
        }
    }

    Bytes section(size, 0);
    Writer out(section);
    std::size_t nameDirectory = 16 + 8 * resources.size();
    std::size_t languageDirectory = nameDirectory + 16 * resources.size() + 8 * nameCount;
    std::size_t nameText = directoriesSize;
    std::size_t dataEntry = entriesStart;
    std::size_t data = dataStart;

    auto directoryHeader = [&out](std::size_t at, std::size_t named, std::size_t ids) {
        out.u16(at + 12, static_cast<std::uint32_t>(named));
        out.u16(at + 14, static_cast<std::uint32_t>(ids));
    };
    auto countNamed = [](const auto& map) {
        return static_cast<std::size_t>(std::count_if(
            map.begin(), map.end(), [](const auto& item) { return !item.first.isId; }));
    };
    auto entryName = [&](std::size_t at, const Key& key) {
        if (key.isId) {
            out.u32(at, key.id);
            return;
        }
        out.u32(at, static_cast<std::uint32_t>(0x80000000u | nameText));
        out.u16(nameText, static_cast<std::uint32_t>(key.name.size()));
        for (std::size_t i = 0; i < key.name.size(); ++i) {
            out.u16(nameText + 2 + 2 * i, key.name[i]);
        }
        nameText += 2 + 2 * key.name.size();
    };

    directoryHeader(0, countNamed(resources), resources.size() - countNamed(resources));
    std::size_t typeEntry = 16;
    for (const auto& [type, names] : resources) {
        entryName(typeEntry, type);
        out.u32(typeEntry + 4, static_cast<std::uint32_t>(0x80000000u | nameDirectory));
        typeEntry += 8;
        directoryHeader(nameDirectory, countNamed(names), names.size() - countNamed(names));
        std::size_t nameEntry = nameDirectory + 16;
        for (const auto& [name, bytes] : names) {
            entryName(nameEntry, name);
            out.u32(nameEntry + 4, static_cast<std::uint32_t>(0x80000000u | languageDirectory));
            nameEntry += 8;
            directoryHeader(languageDirectory, 0, 1);
            out.u32(languageDirectory + 16, language);
            out.u32(languageDirectory + 20, static_cast<std::uint32_t>(dataEntry));
            languageDirectory += 24;
            out.u32(dataEntry, static_cast<std::uint32_t>(kSectionRva + data));
            out.u32(dataEntry + 4, static_cast<std::uint32_t>(bytes.size()));
            dataEntry += 16;
            std::copy(bytes.begin(), bytes.end(),
                      section.begin() + static_cast<std::ptrdiff_t>(data));
            data = alignUp(data + bytes.size(), 8);
        }
        nameDirectory = nameEntry;
    }
    return section;
}

// The standard PE checksum: 16-bit one's-complement-style sum of the file
// with the checksum field taken as 0, plus the file's length.
std::uint32_t checksum(const Bytes& image, std::size_t checksumField) {
    std::uint64_t sum = 0;
    for (std::size_t i = 0; i + 1 < image.size(); i += 2) {
        if (i == checksumField || i == checksumField + 2) continue;
        sum += readLittle16(&image[i]);
        sum = (sum & 0xFFFF) + (sum >> 16);
    }
    sum = (sum & 0xFFFF) + (sum >> 16);
    return static_cast<std::uint32_t>(sum + image.size());
}

Bytes buildImage(const Resources& resources, std::uint16_t language) {
    Bytes section = buildSection(resources, language);
    std::size_t rawSize = alignUp(section.size(), kFileAlignment);
    Bytes image(kHeadersSize + rawSize, 0);
    Writer out(image);

    // DOS header and a stub that says the program needs Windows.
    out.text(0, "MZ", 2);
    out.u16(0x02, 0x90);
    out.u16(0x04, 3);
    out.u16(0x08, 4);
    out.u16(0x0C, 0xFFFF);
    out.u16(0x10, 0xB8);
    out.u16(0x18, 0x40);
    out.u32(0x3C, kPeOffset);
    static const std::uint8_t kStub[] = {0x0E, 0x1F, 0xBA, 0x0E, 0x00, 0xB4, 0x09, 0xCD,
                                         0x21, 0xB8, 0x01, 0x4C, 0xCD, 0x21};
    std::copy(std::begin(kStub), std::end(kStub), image.begin() + 0x40);
    const char kMessage[] = "This program cannot be run in DOS mode.\r\r\n$";
    out.text(0x4E, kMessage, sizeof kMessage - 1);

    std::size_t pe = kPeOffset;
    out.text(pe, "PE\0\0", 4);
    std::size_t file = pe + 4;
    out.u16(file, 0x14C);                // i386
    out.u16(file + 2, 1);                // one section
    out.u16(file + 16, kOptionalHeaderSize);
    out.u16(file + 18, 0x230E);          // image, DLL, 32-bit, stripped

    std::size_t optional = file + 20;
    std::uint32_t sectionSize = static_cast<std::uint32_t>(section.size());
    std::uint32_t imageSize =
        static_cast<std::uint32_t>(kSectionRva + alignUp(section.size(), kSectionAlignment));
    out.u16(optional, 0x10B);            // PE32
    out.u8(optional + 2, 1);             // linker version 1.0
    out.u32(optional + 8, static_cast<std::uint32_t>(rawSize));
    out.u32(optional + 24, kSectionRva);  // base of data
    out.u32(optional + 28, 0x10000000);   // image base
    out.u32(optional + 32, kSectionAlignment);
    out.u32(optional + 36, kFileAlignment);
    out.u16(optional + 40, 4);            // operating system 4.0
    out.u16(optional + 48, 4);            // subsystem 4.0
    out.u32(optional + 56, imageSize);
    out.u32(optional + 60, kHeadersSize);
    out.u16(optional + 68, 2);            // Windows GUI
    out.u16(optional + 70, 0x0540);       // relocatable, NX, no exception handlers
    out.u32(optional + 72, 0x100000);
    out.u32(optional + 76, 0x1000);
    out.u32(optional + 80, 0x100000);
    out.u32(optional + 84, 0x1000);
    out.u32(optional + 92, 16);
    out.u32(optional + 96 + 2 * 8, kSectionRva);
    out.u32(optional + 96 + 2 * 8 + 4, sectionSize);

    std::size_t header = optional + kOptionalHeaderSize;
    out.text(header, ".rsrc", 5);
    out.u32(header + 8, sectionSize);
    out.u32(header + 12, kSectionRva);
    out.u32(header + 16, static_cast<std::uint32_t>(rawSize));
    out.u32(header + 20, kHeadersSize);
    out.u32(header + 36, 0x40000040);     // initialised data, readable

    std::copy(section.begin(), section.end(), image.begin() + kHeadersSize);
    out.u32(optional + 64, checksum(image, optional + 64));
    return image;
}

int run(int argc, char** argv) {
    std::string output;
    unsigned long language = 0;
    Input input;
    bool anyEntry = false;
    for (int i = 1; i < argc; ++i) {
        std::string argument = argv[i];
        if (argument == "-h" || argument == "--help") {
            std::cout << kUsage;
            return 0;
        }
        if (argument == "-o" || argument == "-l") {
            if (i + 1 >= argc) throw std::invalid_argument(argument + " needs a value");
            std::string value = argv[++i];
            if (argument == "-o") {
                output = value;
            } else if (!parseNumber(value, 0xFFFF, language)) {
                throw std::invalid_argument("bad language " + value);
            }
        } else if (!argument.empty() && argument[0] == '@') {
            addList(argument.substr(1), input, 0);
            anyEntry = true;
        } else if (!argument.empty() && argument[0] == '-') {
            throw std::invalid_argument("unknown option " + argument);
        } else {
            addEntry(argument, input);
            anyEntry = true;
        }
    }
    if (output.empty() || !anyEntry) {
        throw std::invalid_argument("an output and entries are needed");
    }
    addStringTables(input);
    if (input.resources.empty()) throw Failure("no resources given");

    Bytes image = buildImage(input.resources, static_cast<std::uint16_t>(language));
    std::ofstream out(output, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(image.data()),
              static_cast<std::streamsize>(image.size()));
    out.close();
    if (!out) {
        std::remove(output.c_str());
        throw Failure("cannot write " + output);
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        return run(argc, argv);
    } catch (const std::invalid_argument& problem) {
        std::cerr << "resdll: " << problem.what() << "\n\n" << kUsage;
        return 2;
    } catch (const std::exception& problem) {
        std::cerr << "resdll: " << problem.what() << '\n';
        return 1;
    }
}
