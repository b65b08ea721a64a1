#include "platform/registry/regfile.h"

#include <string_view>
#include <utility>

#include "platform/core/littleendian.h"
#include "platform/text/cp1252.h"

namespace platform::registry {

namespace {

constexpr std::u16string_view kHeader = u"Windows Registry Editor Version 5.00";
constexpr std::u16string_view kOldHeader = u"REGEDIT4";

bool isBlank(char16_t unit) { return unit == u' ' || unit == u'\t'; }

std::u16string_view trimmed(std::u16string_view text) {
    while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
    return text;
}

int hexDigit(char16_t unit) {
    if (unit >= u'0' && unit <= u'9') return unit - u'0';
    if (unit >= u'a' && unit <= u'f') return unit - u'a' + 10;
    if (unit >= u'A' && unit <= u'F') return unit - u'A' + 10;
    return -1;
}

// One to eight hex digits and nothing else.
bool parseHex(std::u16string_view digits, DWORD& number) {
    if (digits.empty() || digits.size() > 8) return false;
    number = 0;
    for (char16_t unit : digits) {
        int digit = hexDigit(unit);
        if (digit < 0) return false;
        number = (number << 4) | static_cast<DWORD>(digit);
    }
    return true;
}

bool startsWithNoCase(std::u16string_view text, std::u16string_view prefix) {
    if (text.size() < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        char16_t unit = text[i];
        if (unit >= u'A' && unit <= u'Z') unit = static_cast<char16_t>(unit + 0x20);
        if (unit != prefix[i]) return false;
    }
    return true;
}

void appendUnit(std::vector<BYTE>& bytes, char16_t unit) {
    bytes.push_back(static_cast<BYTE>(unit & 0xFF));
    bytes.push_back(static_cast<BYTE>(unit >> 8));
}

std::u16string decodeText(const BYTE* bytes, std::size_t size, bool& halfUnit) {
    std::u16string text;
    halfUnit = false;
    if (size >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE) {
        std::size_t units = (size - 2) / 2;
        halfUnit = (size - 2) % 2 != 0;
        text.resize(units);
        for (std::size_t i = 0; i < units; ++i) {
            text[i] = static_cast<char16_t>(readLittle16(bytes + 2 + 2 * i));
        }
    } else {
        text.resize(size);
        for (std::size_t i = 0; i < size; ++i) text[i] = cp1252::kToUnicode[bytes[i]];
    }
    return text;
}

class Reader {
public:
    explicit Reader(std::u16string text) : m_text(std::move(text)) {}

    ReadResult run(bool halfUnit);

private:
    // The next line without its end and without blanks at either end.
    bool nextLine(std::u16string_view& line);
    void unsound(std::size_t line, std::size_t count, const char* what);
    void readKey(std::u16string_view line, std::size_t number);
    void readValue(std::u16string_view line, std::size_t number);
    // Parses data into value, reading on into further lines where hex
    // bytes go on; counts the lines it takes in lines. Null or what is wrong.
    const char* parseData(std::u16string_view data, Value& value, bool& remove, std::size_t& lines);
    const char* parseBytes(std::u16string_view list, DWORD type, Value& value);

    std::u16string m_text;
    std::size_t m_position = 0;
    std::size_t m_lineNumber = 0;
    ReadResult m_result;
    Key* m_key = nullptr;
    bool m_keyRemoved = false;
    bool m_ansiStrings = false;
};

// A quoted text at text[position], which is a quote; moves position past
// the closing quote. Null or what is wrong.
const char* readQuoted(std::u16string_view text, std::size_t& position, std::u16string& out) {
    ++position;
    while (position < text.size()) {
        char16_t unit = text[position++];
        if (unit == u'"') return nullptr;
        if (unit == u'\\') {
            if (position == text.size()) break;
            unit = text[position++];
            if (unit != u'\\' && unit != u'"')
                return "a \"\\\" that is neither \"\\\\\" nor \"\\\"\"";
        }
        out += unit;
    }
    return "no closing quote";
}

bool Reader::nextLine(std::u16string_view& line) {
    if (m_position >= m_text.size()) return false;
    std::u16string_view rest = std::u16string_view(m_text).substr(m_position);
    std::size_t end = rest.find(u'\n');
    line = rest.substr(0, end);
    m_position = end == std::u16string_view::npos ? m_text.size() : m_position + end + 1;
    if (!line.empty() && line.back() == u'\r') line.remove_suffix(1);
    line = trimmed(line);
    ++m_lineNumber;
    return true;
}

void Reader::unsound(std::size_t line, std::size_t count, const char* what) {
    if (m_result.firstUnsoundLine == 0) {
        m_result.firstUnsoundLine = line;
        m_result.firstProblem = what;
    }
    m_result.unsoundLines += count;
}

ReadResult Reader::run(bool halfUnit) {
    std::u16string_view line;
    bool headerSeen = false;
    while (nextLine(line)) {
        std::size_t number = m_lineNumber;
        if (line.empty()) continue;
        if (!headerSeen) {
            headerSeen = true;
            if (line == kHeader) continue;
            if (line == kOldHeader) {
                m_ansiStrings = true;
                continue;
            }
            unsound(number, 1, "the first line is not \"Windows Registry Editor Version 5.00\"");
        }
        if (line.front() == u';') continue;
        if (line.front() == u'[') {
            readKey(line, number);
        } else if (line.front() == u'"' || line.front() == u'@') {
            readValue(line, number);
        } else {
            unsound(number, 1, "neither a key, a value nor a comment");
        }
    }
    if (halfUnit) {
        unsound(m_lineNumber > 0 ? m_lineNumber : 1, 1, "the file ends in half a UTF-16 character");
    }
    return std::move(m_result);
}

void Reader::readKey(std::u16string_view line, std::size_t number) {
    m_key = nullptr;
    m_keyRemoved = false;
    if (line.size() < 2 || line.back() != u']') {
        unsound(number, 1, "a key without its closing \"]\"");
        return;
    }
    std::u16string_view inner = line.substr(1, line.size() - 2);
    bool remove = !inner.empty() && inner.front() == u'-';
    if (remove) inner.remove_prefix(1);
    std::size_t rootEnd = inner.find(u'\\');
    std::optional<Root> root = rootNamed(inner.substr(0, rootEnd));
    if (!root) {
        unsound(number, 1, "a key below no root key that Windows knows");
        return;
    }
    std::u16string path(rootName(*root));
    if (rootEnd != std::u16string_view::npos && !appendKeyPath(path, inner.substr(rootEnd + 1))) {
        unsound(number, 1, "a key path with an empty name");
        return;
    }
    if (!remove) {
        m_key = &m_result.tree.createKey(path);
        return;
    }
    if (path.size() == rootName(*root).size()) {
        unsound(number, 1, "a root key cannot be removed");
        return;
    }
    m_result.tree.removeKey(path);
    m_keyRemoved = true;
}

void Reader::readValue(std::u16string_view line, std::size_t number) {
    Value value;
    std::size_t position = 1;
    const char* problem = nullptr;
    if (line.front() == u'"') {
        position = 0;
        problem = readQuoted(line, position, value.name);
    }
    std::size_t lines = 1;
    bool remove = false;
    if (problem == nullptr) {
        while (position < line.size() && isBlank(line[position])) ++position;
        if (position < line.size() && line[position] == u'=') {
            problem = parseData(trimmed(line.substr(position + 1)), value, remove, lines);
        } else {
            problem = "no \"=\" after the value's name";
        }
    }
    if (problem == nullptr && m_key == nullptr && !m_keyRemoved) {
        problem = "a value outside a key";
    }
    if (problem != nullptr) {
        unsound(number, lines, problem);
        return;
    }
    if (m_key == nullptr) return;
    if (remove) {
        m_key->removeValue(value.name);
    } else {
        m_key->setValue(std::move(value));
    }
}

const char* Reader::parseData(std::u16string_view data, Value& value, bool& remove,
                              std::size_t& lines) {
    if (data == u"-") {
        remove = true;
        return nullptr;
    }
    if (!data.empty() && data.front() == u'"') {
        std::u16string text;
        std::size_t position = 0;
        if (const char* problem = readQuoted(data, position, text)) return problem;
        if (position != data.size()) return "more after the text's closing quote";
        value.type = REG_SZ;
        for (char16_t unit : text) appendUnit(value.data, unit);
        appendUnit(value.data, 0);
        return nullptr;
    }
    if (startsWithNoCase(data, u"dword:")) {
        DWORD number = 0;
        if (!parseHex(data.substr(6), number)) return "a dword that is not one to eight hex digits";
        value.type = REG_DWORD;
        for (int shift = 0; shift < 32; shift += 8) {
            value.data.push_back(static_cast<BYTE>(number >> shift));
        }
        return nullptr;
    }
    if (!startsWithNoCase(data, u"hex")) return "data that is neither text, dword nor hex";
    std::size_t position = 3;
    DWORD type = REG_BINARY;
    if (position < data.size() && data[position] == u'(') {
        std::size_t close = data.find(u')', position);
        if (close == std::u16string_view::npos ||
            !parseHex(data.substr(position + 1, close - position - 1), type)) {
            return "a hex type that is not one to eight hex digits in brackets";
        }
        position = close + 1;
    }
    if (position >= data.size() || data[position] != u':') return "no \":\" after hex";
    std::u16string list(data.substr(position + 1));
    std::u16string_view next;
    while (!list.empty() && list.back() == u'\\' && nextLine(next)) {
        list.pop_back();
        list += next;
        ++lines;
    }
    // A "\" on the file's last line goes on into nothing.
    if (!list.empty() && list.back() == u'\\') list.pop_back();
    return parseBytes(list, type, value);
}

const char* Reader::parseBytes(std::u16string_view list, DWORD type, Value& value) {
    value.type = type;
    std::size_t start = 0;
    while (start < list.size()) {
        std::size_t end = list.find(u',', start);
        std::u16string_view digits = trimmed(list.substr(start, end - start));
        // One comma may end the list, as where it went on into another line.
        if (digits.empty() && end == std::u16string_view::npos && start > 0) break;
        DWORD byte = 0;
        if (digits.size() > 2 || !parseHex(digits, byte))
            return "a byte that is not two hex digits";
        value.data.push_back(static_cast<BYTE>(byte));
        if (end == std::u16string_view::npos) break;
        start = end + 1;
    }
    bool isString = type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ;
    if (m_ansiStrings && isString) {
        std::vector<BYTE> wide;
        for (BYTE byte : value.data) appendUnit(wide, cp1252::kToUnicode[byte]);
        value.data = std::move(wide);
    }
    return nullptr;
}

}  // namespace

ReadResult readRegFile(const BYTE* bytes, std::size_t size) {
    bool halfUnit = false;
    Reader reader(decodeText(bytes, size, halfUnit));
    return reader.run(halfUnit);
}

}  // namespace platform::registry
