#include "common/textconv.h"

#include <gtest/gtest.h>

namespace {

// "Käse" and friends in code page 1252.
const std::string kKaese = "K\xE4se";

TEST(TextConversion, EmptyInputGivesEmptyResult) {
    EXPECT_EQ(toWide(""), L"");
    EXPECT_EQ(toWideN("", 5), L"");
    EXPECT_EQ(toNarrow(L"", 0), "");
    EXPECT_EQ(toNarrowN(L"", 7, 0), "");
    EXPECT_EQ(toNarrowAcp(L"", -1), "");
    EXPECT_EQ(toUtf8(L""), "");
    EXPECT_EQ(ansiToUtf8(""), "");
    EXPECT_EQ(fromUtf8Str("", -1), L"");
    EXPECT_EQ(fromUtf8("", -1), L"");
    EXPECT_EQ(toWideN(nullptr, -1), L"");
    EXPECT_EQ(fromUtf8(static_cast<const char*>(nullptr), -1), L"");
}

TEST(TextConversion, LengthNeverCutsAConversion) {
    EXPECT_EQ(toWideN(kKaese.c_str(), 2), L"K\u00E4se");
    EXPECT_EQ(toWideN(kKaese.c_str(), -1), L"K\u00E4se");
    EXPECT_EQ(toNarrowN(L"K\u00E4se", 1, 0), kKaese);
    EXPECT_EQ(toNarrowN(L"K\u00E4se", 1000, 1252), kKaese);
}

TEST(TextConversion, StopsAtAnEmbeddedNul) {
    std::string narrow("ab\0cd", 5);
    std::wstring wide(L"ab\0cd", 5);
    EXPECT_EQ(toWide(narrow), L"ab");
    EXPECT_EQ(toNarrow(wide, 0), "ab");
    EXPECT_EQ(toUtf8(wide), "ab");
    EXPECT_EQ(fromUtf8Str(narrow, 5), L"ab");
    EXPECT_EQ(fromUtf8Str(narrow, -1), L"ab");
}

TEST(TextConversion, Utf8LengthsCountBytes) {
    const std::string groesse = "Gr\xC3\xB6\xC3\x9F" "e";  // "Größe"
    EXPECT_EQ(fromUtf8Str(groesse, -1), L"Gr\u00F6\u00DFe");
    EXPECT_EQ(fromUtf8Str(groesse, 4), L"Gr\u00F6");
    EXPECT_EQ(fromUtf8Str(groesse, 0), L"");
    EXPECT_EQ(fromUtf8Str(groesse, -2), L"");
    // A length past the text is clamped, never read beyond it.
    EXPECT_EQ(fromUtf8Str(groesse, 1000), L"Gr\u00F6\u00DFe");
    EXPECT_EQ(fromUtf8(groesse.c_str(), 4), L"Gr\u00F6");
    // A length that ends inside a character leaves a replacement for it.
    EXPECT_EQ(fromUtf8Str(groesse, 3), L"Gr\uFFFD");
}

TEST(TextConversion, InvalidUtf8IsReplacedNotAnError) {
    EXPECT_EQ(fromUtf8("a\xFF" "b", -1), L"a\uFFFDb");
    EXPECT_EQ(fromUtf8("\xC3", -1), L"\uFFFD");
    EXPECT_EQ(fromUtf8("x\x80y", -1), L"x\uFFFDy");
    // Overlong NUL, as Java's modified UTF-8 writes it.
    std::wstring overlong = fromUtf8("a\xC0\x80z", -1);
    EXPECT_EQ(overlong.front(), L'a');
    EXPECT_EQ(overlong.back(), L'z');
    EXPECT_EQ(overlong.find(L'\0'), std::wstring::npos);
}

TEST(TextConversion, Utf8RoundTrip) {
    std::wstring text = L"\u00C4rger \u0141\u00F3d\u017A \u20AC \U0001F600";
    EXPECT_EQ(fromUtf8(toUtf8(text).c_str(), -1), text);
    EXPECT_EQ(toUtf8(L"\u00E4", -1), "\xC3\xA4");
    EXPECT_EQ(toUtf8(L"abc", 2), "ab");
    EXPECT_EQ(ansiToUtf8(kKaese), "K\xC3\xA4se");
    EXPECT_EQ(ansiToUtf8(kKaese.c_str(), 2), "K\xC3\xA4se");
}

// The road every Java string takes: UTF-8, narrowed to the ANSI code page,
// widened again.
std::wstring javaRoad(const std::string& utf8) {
    return toWide(toNarrow(fromUtf8(utf8.c_str(), -1), 0));
}

TEST(TextConversion, JavaRoadKeepsGermanLettersAndReplacesTheRest) {
    EXPECT_EQ(javaRoad("\xC3\xA4\xC3\xB6\xC3\xBC\xC3\x9F\xC3\x84"), L"\u00E4\u00F6\u00FC\u00DF\u00C4");
    EXPECT_EQ(javaRoad("\xE2\x82\xAC"), L"\u20AC");  // the euro sign is in 1252
    EXPECT_EQ(javaRoad("\xE6\xB0\xB4"), L"?");        // a CJK character is not
    EXPECT_EQ(javaRoad("a\xFF" "b"), L"a?b");         // nor is the replacement character
    // Letters with diacritics outside 1252 take their base letter.
    EXPECT_EQ(javaRoad("\xC5\x81\xC3\xB3" "d\xC5\xBA"), L"L\u00F3dz");
}

TEST(TextConversion, NarrowingToAnUnknownCodePageGivesNothing) {
    EXPECT_EQ(toNarrow(L"abc", 4711), "");
}

TEST(TextConversion, WideInputFromUtf8ReadsWidenedBytes) {
    // "Ã¤": the UTF-8 bytes of "ä" read in code page 1252.
    EXPECT_EQ(fromUtf8(std::wstring(L"\u00C3\u00A4"), -1), L"\u00E4");
    EXPECT_EQ(fromUtf8(L"\u00C3\u00A4x", 2), L"\u00E4");
}

TEST(TextConversion, MakeStringTakesAtMostTheText) {
    EXPECT_EQ(makeString(kKaese.c_str(), 2), "K\xE4");
    EXPECT_EQ(makeString("ab", 10), "ab");
    EXPECT_EQ(makeString("ab", -1), "ab");
    EXPECT_EQ(makeStringN("abc", 2), "ab");
    EXPECT_EQ(makeStringN("ab", 10), "ab");
    EXPECT_EQ(makeWString(L"abc", 2), L"ab");
    EXPECT_EQ(makeWString(L"ab", 10), L"ab");
    EXPECT_EQ(makeWString(L"ab", -5), L"ab");
    EXPECT_EQ(makeString(nullptr, 3), "");
    EXPECT_EQ(copyString("x"), "x");
    EXPECT_EQ(copyWString(L"x"), L"x");
}

}  // namespace

// Past what the platform can count, a text is not cut or dropped: the
// conversion fails as an allocation would.
TEST(TextConversion, TextsTooLongToConvertWholeThrow) {
    {
        std::string huge(536870912, 'a');
        EXPECT_THROW(toWide(huge), std::bad_alloc);
        EXPECT_THROW(fromUtf8(huge.c_str(), -1), std::bad_alloc);
    }
    std::wstring huge(134217728, L'a');
    EXPECT_THROW(toNarrow(huge, 0), std::bad_alloc);
    EXPECT_THROW(toUtf8(huge), std::bad_alloc);
}
