#include "platform/registry/regfile.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using platform::registry::Key;
using platform::registry::readRegFile;
using platform::registry::ReadResult;

ReadResult read8(const std::string& text) {
    return readRegFile(reinterpret_cast<const BYTE*>(text.data()), text.size());
}

// The text as regedit writes it: a byte-order mark, then UTF-16LE.
ReadResult read16(const std::u16string& text) {
    std::vector<BYTE> bytes{0xFF, 0xFE};
    for (char16_t unit : text) {
        bytes.push_back(static_cast<BYTE>(unit & 0xFF));
        bytes.push_back(static_cast<BYTE>(unit >> 8));
    }
    return readRegFile(bytes.data(), bytes.size());
}

std::vector<BYTE> utf16z(const std::u16string& text) {
    std::vector<BYTE> bytes;
    for (char16_t unit : text) {
        bytes.push_back(static_cast<BYTE>(unit & 0xFF));
        bytes.push_back(static_cast<BYTE>(unit >> 8));
    }
    bytes.push_back(0);
    bytes.push_back(0);
    return bytes;
}

const platform::registry::Value* valueOf(const ReadResult& result, const std::u16string& key,
                                         const std::u16string& name) {
    const Key* found = result.tree.findKey(key);
    return found == nullptr ? nullptr : found->findValue(name);
}

constexpr char16_t kKey[] = u"HKEY_LOCAL_MACHINE\\SOFTWARE\\Brenvall\\Quillory\\3.0";

TEST(RegFile, Utf16WithCrlfAsRegeditWritesIt) {
    ReadResult result = read16(
        u"Windows Registry Editor Version 5.00\r\n\r\n"
        u"[HKEY_LOCAL_MACHINE\\SOFTWARE\\Brenvall\\Quillory\\3.0]\r\n"
        u"\"RootDirectory\"=\"C:\\\\Programme\\\\Quillory \\\"3\\\"\"\r\n"
        u"\"Language\"=\"W\u00F6rter \u0142\"\r\n"
        u"@=\"default\"\r\n");
    EXPECT_EQ(result.unsoundLines, 0u) << result.firstProblem;
    auto* root =
        valueOf(result, u"hkey_local_machine\\software\\BRENVALL\\quillory\\3.0", u"ROOTDIRECTORY");
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->type, REG_SZ);
    EXPECT_EQ(root->data, utf16z(u"C:\\Programme\\Quillory \"3\""));
    EXPECT_EQ(valueOf(result, kKey, u"language")->data, utf16z(u"W\u00F6rter \u0142"));
    EXPECT_EQ(valueOf(result, kKey, u"")->data, utf16z(u"default"));
    // Parents exist; names keep their first spelling.
    EXPECT_EQ(result.tree.findKey(u"HKEY_LOCAL_MACHINE\\software\\brenvall")->path,
              u"HKEY_LOCAL_MACHINE\\SOFTWARE\\Brenvall");
}

TEST(RegFile, EightBitTextWithLfAndEveryDataForm) {
    ReadResult result = read8(
        "REGEDIT4\n"
        "; a comment\n"
        "[HKEY_CURRENT_USER\\Software\\Q]\n"
        "\"Name\"=\"W\xF6rter\"\n"
        "\"Count\" = dword:0000002A\n"
        "\"Bin\"=hex:01,ff,\\\n"
        "  7f\n"
        "\"Bare\"=hex(1):45,00,6e,00\n"
        "\"Expand\"=hex(2):25,41,25,00\n"
        "\"Empty\"=hex:\n");
    EXPECT_EQ(result.unsoundLines, 0u) << result.firstProblem;
    std::u16string key = u"HKEY_CURRENT_USER\\Software\\Q";
    EXPECT_EQ(valueOf(result, key, u"Name")->data, utf16z(u"W\u00F6rter"));
    EXPECT_EQ(valueOf(result, key, u"Count")->data, (std::vector<BYTE>{0x2A, 0, 0, 0}));
    EXPECT_EQ(valueOf(result, key, u"Bin")->data, (std::vector<BYTE>{0x01, 0xFF, 0x7F}));
    // A REGEDIT4 file holds string bytes as 8-bit text; kept as UTF-16LE.
    EXPECT_EQ(valueOf(result, key, u"Bare")->data,
              (std::vector<BYTE>{0x45, 0, 0, 0, 0x6E, 0, 0, 0}));
    EXPECT_EQ(valueOf(result, key, u"Expand")->type, REG_EXPAND_SZ);
    EXPECT_EQ(valueOf(result, key, u"Expand")->data, utf16z(u"%A%"));
    EXPECT_TRUE(valueOf(result, key, u"Empty")->data.empty());
}

TEST(RegFile, RemovalsAndRepeatsAsAnImportWould) {
    ReadResult result = read8(
        "Windows Registry Editor Version 5.00\r\n"
        "[HKEY_USERS\\A]\r\n\"x\"=\"1\"\r\n\"X\"=dword:1\r\n\"y\"=\"2\"\r\n\"y\"=-\r\n"
        "[HKEY_USERS\\A\\B\\Deep]\r\n[HKEY_USERS\\A\\C]\r\n"
        "[-HKEY_USERS\\a\\b]\r\n\"ignored\"=\"after a removed key\"\r\n");
    EXPECT_EQ(result.unsoundLines, 0u) << result.firstProblem;
    EXPECT_EQ(result.tree.findKey(u"HKEY_USERS\\A\\B"), nullptr);
    EXPECT_EQ(result.tree.findKey(u"HKEY_USERS\\A\\B\\Deep"), nullptr);
    EXPECT_NE(result.tree.findKey(u"HKEY_USERS\\A\\C"), nullptr);
    const Key* key = result.tree.findKey(u"HKEY_USERS\\A");
    ASSERT_EQ(key->values.size(), 1u);
    EXPECT_EQ(key->values[0].name, u"x");
    EXPECT_EQ(key->values[0].type, REG_DWORD);
}

TEST(RegFile, WhatIsNotSoundIsCountedAndTheRestRead) {
    struct Case {
        const char* body;  // after the header and a sound key with "ok"
        std::size_t firstLine;
        std::size_t lines;
    };
    const Case cases[] = {
        {"garbage\n", 4, 1},
        {"\"a\"=\"C:\\Quillory\"\n", 4, 1},  // "\Q" is no escape
        {"\"a\"=\"open\n", 4, 1},
        {"\"a\"=\"x\" y\n", 4, 1},
        {"\"a\" \"x\"\n", 4, 1},
        {"\"a\"=dword:123456789\n", 4, 1},
        {"\"a\"=dword:\n", 4, 1},
        {"\"a\"=hex:1,zz,\\\n  02\n", 4, 2},
        {"\"a\"=hex(:01\n", 4, 1},
        {"\"a\"=text\n", 4, 1},
        {"[HKEY_NOWHERE\\X]\n\"a\"=\"1\"\n\"b\"=\"2\"\n", 4, 3},
        {"[HKEY_USERS\\X\n", 4, 1},
        {"[HKEY_USERS\\\\X]\n", 4, 1},
        {"[-HKEY_USERS]\n", 4, 1},
    };
    for (const Case& c : cases) {
        std::string text = "Windows Registry Editor Version 5.00\n[HKEY_USERS\\K]\n\"ok\"=\"1\"\n";
        text += c.body;
        text += "[HKEY_USERS\\L]\n\"later\"=\"2\"\n";
        ReadResult result = read8(text);
        EXPECT_EQ(result.firstUnsoundLine, c.firstLine) << c.body;
        EXPECT_EQ(result.unsoundLines, c.lines) << c.body;
        EXPECT_FALSE(result.firstProblem.empty());
        EXPECT_NE(valueOf(result, u"HKEY_USERS\\K", u"ok"), nullptr) << c.body;
        EXPECT_NE(valueOf(result, u"HKEY_USERS\\L", u"later"), nullptr) << c.body;
    }
}

TEST(RegFile, HeaderAndEncodingFaults) {
    // No header: counted, yet the line in its place is read.
    ReadResult result = read8("[HKEY_USERS\\K]\n\"ok\"=\"1\"\n");
    EXPECT_EQ(result.firstUnsoundLine, 1u);
    EXPECT_NE(valueOf(result, u"HKEY_USERS\\K", u"ok"), nullptr);
    // A value before any key.
    result = read8("\n\nWindows Registry Editor Version 5.00\n\"a\"=\"1\"\n");
    EXPECT_EQ(result.firstUnsoundLine, 4u);
    // An odd byte at the end of UTF-16.
    const char odd[] =
        "\xFF\xFE"
        "R\0E\0G\0E\0D\0I\0T\0"
        "4\0\n\0x";
    result = read8(std::string(odd, sizeof odd - 1));
    EXPECT_EQ(result.unsoundLines, 1u);
    EXPECT_EQ(result.firstUnsoundLine, 1u);
    // Nothing at all is an empty registry, not a fault.
    EXPECT_EQ(read8("").unsoundLines, 0u);
    EXPECT_EQ(read8(" \r\n\n").unsoundLines, 0u);
    EXPECT_EQ(read16(u"").unsoundLines, 0u);
}

bool sameTree(const platform::registry::Tree& first, const platform::registry::Tree& second) {
    if (first.keys().size() != second.keys().size()) return false;
    for (const auto& [folded, key] : first.keys()) {
        const Key* other = second.findKey(folded);
        if (other == nullptr || other->path != key.path ||
            other->values.size() != key.values.size()) {
            return false;
        }
        for (std::size_t i = 0; i < key.values.size(); ++i) {
            const auto& a = key.values[i];
            const auto& b = other->values[i];
            if (a.name != b.name || a.type != b.type || a.data != b.data) return false;
        }
    }
    return true;
}

TEST(RegFile, WrittenAsRegeditWritesItAndReadBackTheSame) {
    std::string bytes;
    for (int i = 0; i < 40; ++i) bytes += (i ? ",a" : "a") + std::to_string(i % 10);
    ReadResult original = read8(
        "Windows Registry Editor Version 5.00\n[HKEY_CURRENT_USER\\Software\\Q]\n@=\"d\"\n"
        "\"N \\\"q\\\" \\\\\"=\"W\xF6rter \\\\ \\\"x\\\"\"\n"
        "\"Count\"=dword:2a\n\"Bin\"=hex:" +
        bytes +
        "\n\"Bare\"=hex(1):45,00\n"
        "\"Lines\"=hex(1):0a,00,00,00\n"
        "[HKEY_CURRENT_USER\\Software\\Q\\Empty]\n[HKEY_USERS]\n\"AtRoot\"=\"\"\n");
    ASSERT_EQ(original.unsoundLines, 0u) << original.firstProblem;
    std::string written = platform::registry::writeRegFile(original.tree);
    ReadResult again = readRegFile(reinterpret_cast<const BYTE*>(written.data()), written.size());
    EXPECT_EQ(again.unsoundLines, 0u) << again.firstProblem;
    EXPECT_TRUE(sameTree(original.tree, again.tree));

    std::u16string text(written.size() / 2, u'\0');
    for (std::size_t i = 0; i < text.size(); ++i) {
        text[i] = static_cast<char16_t>(static_cast<BYTE>(written[2 * i]) |
                                        (static_cast<BYTE>(written[2 * i + 1]) << 8));
    }
    EXPECT_EQ(text.substr(0, 39), u"\xFEFFWindows Registry Editor Version 5.00\r\n");
    for (std::u16string_view line : {u"\r\n[HKEY_CURRENT_USER\\Software\\Q]\r\n@=\"d\"\r\n",
                                     u"\"N \\\"q\\\" \\\\\"=\"W\u00F6rter \\\\ \\\"x\\\"\"\r\n",
                                     u"\"Count\"=dword:0000002a\r\n", u"\"Bare\"=hex(1):45,00\r\n",
                                     u",\\\r\n  a", u"[HKEY_USERS]\r\n\"AtRoot\"=\"\"\r\n"}) {
        EXPECT_NE(text.find(line), std::u16string::npos) << line.size();
    }
    EXPECT_EQ(text.find(u"[HKEY_LOCAL_MACHINE]"), std::u16string::npos);
}

}  // namespace
