#include <clocale>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "platform/win32.h"

namespace {

// Runs a test under the locale that a LANG value gives the process, and puts
// the environment and the C locale back afterwards.
class UnderLang : public testing::TestWithParam<const char*> {
protected:
    void SetUp() override {
        for (const char* name : {"LANG", "LC_ALL", "LC_CTYPE"}) {
            const char* value = std::getenv(name);
            m_saved.push_back({name, value ? std::optional<std::string>(value) : std::nullopt});
            unsetenv(name);
        }
        m_locale = std::setlocale(LC_ALL, nullptr);
        if (GetParam() != nullptr) setenv("LANG", GetParam(), 1);
        // Fails harmlessly for a locale that is not installed.
        std::setlocale(LC_ALL, "");
    }

    void TearDown() override {
        for (const auto& [name, value] : m_saved) {
            if (value) {
                setenv(name.c_str(), value->c_str(), 1);
            } else {
                unsetenv(name.c_str());
            }
        }
        std::setlocale(LC_ALL, m_locale.c_str());
    }

private:
    std::vector<std::pair<std::string, std::optional<std::string>>> m_saved;
    std::string m_locale;
};

std::string lowerA(std::string text) {
    EXPECT_EQ(CharLowerBuffA(text.data(), static_cast<DWORD>(text.size())), text.size());
    return text;
}

std::string upperA(std::string text) {
    EXPECT_EQ(CharUpperBuffA(text.data(), static_cast<DWORD>(text.size())), text.size());
    return text;
}

std::wstring lowerW(std::wstring text) {
    EXPECT_EQ(CharLowerBuffW(text.data(), static_cast<DWORD>(text.size())), text.size());
    return text;
}

std::wstring upperW(std::wstring text) {
    EXPECT_EQ(CharUpperBuffW(text.data(), static_cast<DWORD>(text.size())), text.size());
    return text;
}

TEST_P(UnderLang, NarrowTextFollowsTheLettersOfWindows1252) {
    // Ä Ö Ü À Þ, then Š Ž Œ Ÿ.
    EXPECT_EQ(lowerA("ABC \xC4\xD6\xDC\xC0\xDE \x8A\x8E\x8C\x9F"),
              "abc \xE4\xF6\xFC\xE0\xFE \x9A\x9E\x9C\xFF");
    EXPECT_EQ(upperA("abc \xE4\xF6\xFC\xE0\xFE \x9A\x9E\x9C\xFF"),
              "ABC \xC4\xD6\xDC\xC0\xDE \x8A\x8E\x8C\x9F");
    // × ÷ ß µ and the rest are no letters with a partner in the page.
    const std::string unchanged = "\xD7\xF7\xDF\xB5 1.\x80";
    EXPECT_EQ(lowerA(unchanged), unchanged);
    EXPECT_EQ(upperA(unchanged), unchanged);
}

TEST_P(UnderLang, WideTextFollowsUnicodeSimpleCaseMapping) {
    EXPECT_EQ(lowerW(L"ÄÖÜ ŁĘ ΣΑ ẞ ABC"), L"äöü łę σα ß abc");
    EXPECT_EQ(upperW(L"äöü łę σα ÿ abc"), L"ÄÖÜ ŁĘ ΣΑ Ÿ ABC");
    // No single capital: ß stays rather than becoming SS.
    EXPECT_EQ(upperW(L"Straße"), L"STRAßE");
    EXPECT_EQ(lowerW(L"\U00010400"), L"\U00010428");
}

INSTANTIATE_TEST_SUITE_P(CaseMapping, UnderLang,
                         testing::Values(nullptr, "C", "C.UTF-8", "de_DE.UTF-8"),
                         [](const testing::TestParamInfo<const char*>& param) -> std::string {
                             switch (param.index) {
                             case 0: return "LangUnset";
                             case 1: return "C";
                             case 2: return "CUtf8";
                             default: return "NotInstalled";
                             }
                         });

TEST(CaseMapping, MapsOnlyTheGivenLength) {
    std::string narrowText = "ABCD";
    EXPECT_EQ(CharLowerBuffA(narrowText.data(), 2), 2u);
    EXPECT_EQ(narrowText, "abCD");
    std::wstring wideText = L"äöüß";
    EXPECT_EQ(CharUpperBuffW(wideText.data(), 3), 3u);
    EXPECT_EQ(wideText, L"ÄÖÜß");
    EXPECT_EQ(CharUpperBuffW(wideText.data(), 0), 0u);
    EXPECT_EQ(CharLowerBuffA(nullptr, 4), 0u);
    EXPECT_EQ(CharLowerBuffW(nullptr, 4), 0u);
}

TEST(CaseMapping, LeavesWhatIsNoCharacter) {
    std::wstring text;
    for (std::int64_t code : {0xD800, 0x110000, -1}) text += static_cast<wchar_t>(code);
    const std::wstring original = text;
    EXPECT_EQ(lowerW(text), original);
    EXPECT_EQ(upperW(text), original);
}

// Narrow mapping is the wide one, wherever the wide result is in the page.
TEST(CaseMapping, NarrowAgreesWithWideWithinThePage) {
    for (int byte = 1; byte < 256; ++byte) {
        std::string one(1, static_cast<char>(byte));
        wchar_t wide = 0;
        ASSERT_EQ(MultiByteToWideChar(CP_ACP, 0, one.data(), 1, &wide, 1), 1);
        for (bool upper : {false, true}) {
            std::wstring single(1, wide);
            std::wstring mapped = upper ? upperW(single) : lowerW(single);
            char back = 0;
            BOOL substituted = FALSE;
            WideCharToMultiByte(CP_ACP, 0, mapped.data(), 1, &back, 1, nullptr, &substituted);
            std::string expected = substituted ? one : std::string(1, back);
            EXPECT_EQ(upper ? upperA(one) : lowerA(one), expected) << byte << " upper " << upper;
        }
    }
}

}  // namespace
