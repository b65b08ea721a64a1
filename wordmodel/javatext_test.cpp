#include "wordmodel/javatext.h"

#include <gtest/gtest.h>

#include <string>

#include "common/textconv.h"

namespace {

std::wstring roundTrip(const std::string& chars) {
    return toWide(toNarrow(fromUtf8(chars.c_str(), -1), 0));
}

// The direct road must give exactly what the full round trip gives.
TEST(JavaText, SameAsTheRoundTripForEveryCharacterOfTheFirstPlanes) {
    for (unsigned c = 1; c < 0x10000; ++c) {
        if (c >= 0xD800 && c < 0xE000) {
            continue;
        }
        const std::string one = toUtf8(std::wstring(1, static_cast<wchar_t>(c)));
        const std::string word = "Stra" + one + "e";
        ASSERT_EQ(javaTextToWide(word.c_str()), roundTrip(word)) << c;
    }
}

TEST(JavaText, UnusualTexts) {
    const std::string texts[] = {
        "",
        "Haus",
        std::string(63, 'a') + "\xC3\xA4",   // 64 characters
        std::string(64, 'a') + "\xC3\xA4",   // too long for the direct road
        "\xC3",                              // cut short
        "a\xC3(b",                           // not a continuation
        "\xC0\x80",                          // modified UTF-8's NUL
        "\xED\xA0\xBD\xED\xB8\x80",          // a surrogate pair, encoded one by one
        "\xE2\x82\xAC uro",
        "\xC2\x80\xC2\x9F\xC2\xA0",
    };
    for (const std::string& text : texts) {
        EXPECT_EQ(javaTextToWide(text.c_str()), roundTrip(text)) << text;
    }
    EXPECT_EQ(javaTextToWide("Stra\xC3\x9F" "e"), L"Straße");
}

}  // namespace
