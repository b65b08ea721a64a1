#include <cstdio>
#include <string>
#include <string_view>

#include "platform/core/littleendian.h"
#include "platform/registry/regfile.h"

namespace platform::registry {

namespace {

class Writer {
public:
    std::string finish() { return std::move(m_bytes); }

    void text(std::u16string_view text) {
        for (char16_t unit : text) {
            m_bytes += static_cast<char>(unit & 0xFF);
            m_bytes += static_cast<char>(unit >> 8);
        }
        m_column += text.size();
    }
    void ascii(std::string_view text) {
        for (char c : text) text16(static_cast<char16_t>(c));
    }
    void text16(char16_t unit) { text(std::u16string_view(&unit, 1)); }
    void endLine() {
        ascii("\r\n");
        m_column = 0;
    }
    void quoted(std::u16string_view text) {
        text16(u'"');
        for (char16_t unit : text) {
            if (unit == u'\\' || unit == u'"') text16(u'\\');
            text16(unit);
        }
        text16(u'"');
    }
    std::size_t column() const { return m_column; }

private:
    std::string m_bytes;
    std::size_t m_column = 0;
};

// The text of REG_SZ data that "..." gives back as it is, if it has one.
bool plainText(const Value& value, std::u16string& text) {
    const std::vector<BYTE>& data = value.data;
    if (value.type != REG_SZ || data.size() < 2 || data.size() % 2 != 0) return false;
    std::size_t units = data.size() / 2;
    for (std::size_t i = 0; i < units; ++i) {
        auto unit = static_cast<char16_t>(readLittle16(data.data() + 2 * i));
        bool last = i + 1 == units;
        if ((unit == 0) != last || unit == u'\n') return false;
        if (!last) text += unit;
    }
    return true;
}

void writeValue(Writer& out, const Value& value) {
    if (value.name.empty()) {
        out.text16(u'@');
    } else {
        out.quoted(value.name);
    }
    out.text16(u'=');
    std::u16string text;
    if (plainText(value, text)) {
        out.quoted(text);
        return;
    }
    char buffer[24];
    if (value.type == REG_DWORD && value.data.size() == 4) {
        DWORD number = readLittle32(value.data.data());
        std::snprintf(buffer, sizeof buffer, "dword:%08x", number);
        out.ascii(buffer);
        return;
    }
    if (value.type == REG_BINARY) {
        out.ascii("hex:");
    } else {
        std::snprintf(buffer, sizeof buffer, "hex(%x):", value.type);
        out.ascii(buffer);
    }
    for (std::size_t i = 0; i < value.data.size(); ++i) {
        std::snprintf(buffer, sizeof buffer, "%02x", value.data[i]);
        out.ascii(buffer);
        if (i + 1 == value.data.size()) break;
        out.text16(u',');
        // regedit keeps lines within 80 columns.
        if (out.column() > 76) {
            out.text16(u'\\');
            out.endLine();
            out.ascii("  ");
        }
    }
}

}  // namespace

std::string writeRegFile(const Tree& tree) {
    Writer out;
    out.text16(u'\xFEFF');
    out.text(u"Windows Registry Editor Version 5.00");
    out.endLine();
    for (const auto& [folded, key] : tree.keys()) {
        if (key.values.empty() && rootNamed(key.path)) continue;
        out.endLine();
        out.text16(u'[');
        out.text(key.path);
        out.text16(u']');
        out.endLine();
        for (const Value& value : key.values) {
            writeValue(out, value);
            out.endLine();
        }
    }
    return out.finish();
}

}  // namespace platform::registry
