#include <string>

#include <gtest/gtest.h>

#include "platform/win32.h"

namespace {

// Converts with a size query first, as the callers above the layer do, and
// checks that the query and the conversion agree.
std::wstring widen(UINT codePage, const std::string& bytes) {
    int size = static_cast<int>(bytes.size());
    int needed = MultiByteToWideChar(codePage, 0, bytes.data(), size, nullptr, 0);
    EXPECT_GT(needed, 0);
    std::wstring out(static_cast<std::size_t>(needed), L'#');
    EXPECT_EQ(MultiByteToWideChar(codePage, 0, bytes.data(), size, out.data(), needed), needed);
    return out;
}

std::string narrow(UINT codePage, const std::wstring& text) {
    int size = static_cast<int>(text.size());
    int needed = WideCharToMultiByte(codePage, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
    EXPECT_GT(needed, 0);
    std::string out(static_cast<std::size_t>(needed), '#');
    EXPECT_EQ(WideCharToMultiByte(codePage, 0, text.data(), size, out.data(), needed, nullptr,
                                  nullptr),
              needed);
    return out;
}

std::wstring replacements(std::size_t count) { return std::wstring(count, L'\xFFFD'); }

TEST(Utf8Decoding, DecodesValidText) {
    EXPECT_EQ(widen(CP_UTF8, "Gr\xC3\xB6\xC3\x9F" "e \xE2\x82\xAC \xF0\x9D\x84\x9E"),
              L"Größe € \U0001D11E");
    // The edges of the valid ranges.
    EXPECT_EQ(widen(CP_UTF8, "\xC2\x80\xED\x9F\xBF\xEE\x80\x80\xF4\x8F\xBF\xBF"),
              std::wstring(L"\x80\xD7FF\xE000\U0010FFFF"));
}

TEST(Utf8Decoding, ReplacesEachMaximalInvalidSubsequence) {
    // Unicode's own example: a truncated four-byte, a truncated three-byte
    // and a truncated two-byte sequence, then stray continuation bytes.
    EXPECT_EQ(widen(CP_UTF8, "a\xF1\x80\x80\xE1\x80\xC2" "b\x80" "c\x80\xBF" "d"),
              L"a\xFFFD\xFFFD\xFFFD" L"b\xFFFD" L"c\xFFFD\xFFFD" L"d");
}

TEST(Utf8Decoding, ReplacesTruncatedSequences) {
    EXPECT_EQ(widen(CP_UTF8, "\xC3"), replacements(1));
    EXPECT_EQ(widen(CP_UTF8, "ab\xE2\x82"), L"ab\xFFFD");
    EXPECT_EQ(widen(CP_UTF8, "\xF0\x9F\x98"), replacements(1));
    EXPECT_EQ(widen(CP_UTF8, "\xE2\x82x"), L"\xFFFDx");
}

TEST(Utf8Decoding, ReplacesOverlongForms) {
    EXPECT_EQ(widen(CP_UTF8, "\xC0\xAF"), replacements(2));
    EXPECT_EQ(widen(CP_UTF8, "\xC1\xBF"), replacements(2));
    EXPECT_EQ(widen(CP_UTF8, "\xE0\x80\xAF"), replacements(3));
    EXPECT_EQ(widen(CP_UTF8, "\xF0\x80\x80\xAF"), replacements(4));
    // Java's modified UTF-8 writes NUL as C0 80.
    EXPECT_EQ(widen(CP_UTF8, "a\xC0\x80" "b"), L"a\xFFFD\xFFFD" L"b");
}

TEST(Utf8Decoding, ReplacesEncodedSurrogates) {
    EXPECT_EQ(widen(CP_UTF8, "\xED\xA0\x80"), replacements(3));
    // Java's modified UTF-8 for U+1F600: a surrogate pair, six bytes.
    EXPECT_EQ(widen(CP_UTF8, "\xED\xA0\xBD\xED\xB8\x80"), replacements(6));
}

TEST(Utf8Decoding, ReplacesStrayBytesAndValuesAboveTheLastCodePoint) {
    EXPECT_EQ(widen(CP_UTF8, "\x80"), replacements(1));
    EXPECT_EQ(widen(CP_UTF8, "a\xBF" "b"), L"a\xFFFD" L"b");
    EXPECT_EQ(widen(CP_UTF8, "\xFE\xFF"), replacements(2));
    EXPECT_EQ(widen(CP_UTF8, "\xF4\x90\x80\x80"), replacements(4));
    EXPECT_EQ(widen(CP_UTF8, "\xF5\x80\x80\x80"), replacements(4));
}

TEST(Utf8Decoding, InvalidInputIsNoError) {
    SetLastError(ERROR_SUCCESS);
    wchar_t out[8];
    EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, "\xFF\xC3", 2, out, 8), 2);
    EXPECT_EQ(GetLastError(), ERROR_SUCCESS);
}

TEST(Utf8Encoding, EncodesEveryPlane) {
    EXPECT_EQ(narrow(CP_UTF8, L"Größe € \U0001D11E"),
              "Gr\xC3\xB6\xC3\x9F" "e \xE2\x82\xAC \xF0\x9D\x84\x9E");
}

TEST(Utf8Encoding, WritesTheReplacementForWhatIsNoCharacter) {
    const std::string replacement = "\xEF\xBF\xBD";
    EXPECT_EQ(narrow(CP_UTF8, std::wstring(1, static_cast<wchar_t>(0xD800))), replacement);
    EXPECT_EQ(narrow(CP_UTF8, std::wstring(1, static_cast<wchar_t>(0xDFFF))), replacement);
    EXPECT_EQ(narrow(CP_UTF8, std::wstring(1, static_cast<wchar_t>(0x110000))), replacement);
    EXPECT_EQ(narrow(CP_UTF8, std::wstring(1, static_cast<wchar_t>(-1))), replacement);
}

TEST(Utf8Encoding, RefusesASubstitute) {
    BOOL used = FALSE;
    char out[8];
    SetLastError(ERROR_SUCCESS);
    EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, L"a", 1, out, 8, "?", nullptr), 0);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    SetLastError(ERROR_SUCCESS);
    EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, L"a", 1, out, 8, nullptr, &used), 0);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
}

TEST(Lengths, MinusOneConvertsAndCountsTheTerminator) {
    for (UINT page : {CP_ACP, 1252u, CP_UTF8}) {
        SCOPED_TRACE(page);
        EXPECT_EQ(MultiByteToWideChar(page, 0, "abc", -1, nullptr, 0), 4);
        wchar_t wide[5] = {L'#', L'#', L'#', L'#', L'#'};
        EXPECT_EQ(MultiByteToWideChar(page, 0, "abc", -1, wide, 5), 4);
        EXPECT_EQ(std::wstring(wide, 5), std::wstring(L"abc\0#", 5));

        EXPECT_EQ(WideCharToMultiByte(page, 0, L"abc", -1, nullptr, 0, nullptr, nullptr), 4);
        char bytes[5] = {'#', '#', '#', '#', '#'};
        EXPECT_EQ(WideCharToMultiByte(page, 0, L"abc", -1, bytes, 5, nullptr, nullptr), 4);
        EXPECT_EQ(std::string(bytes, 5), std::string("abc\0#", 5));
    }
}

TEST(Lengths, EmbeddedNulIsAnOrdinaryCharacter) {
    for (UINT page : {CP_ACP, CP_UTF8}) {
        SCOPED_TRACE(page);
        EXPECT_EQ(widen(page, std::string("a\0b", 3)), std::wstring(L"a\0b", 3));
        EXPECT_EQ(narrow(page, std::wstring(L"a\0b", 3)), std::string("a\0b", 3));
    }
}

TEST(Lengths, ZeroOutputSizeAsksForTheSizeWhateverTheBuffer) {
    wchar_t wide[1];
    EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, "\xC3\xA4\xC3\xB6", 4, wide, 0), 2);
    char bytes[1];
    EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, L"äö", 2, bytes, 0, nullptr, nullptr), 4);
    EXPECT_EQ(WideCharToMultiByte(CP_ACP, 0, L"äö", 2, bytes, 0, nullptr, nullptr), 2);
}

TEST(Lengths, TooSmallBufferFailsWithoutWritingPastIt) {
    wchar_t wide[3] = {L'#', L'#', L'#'};
    SetLastError(ERROR_SUCCESS);
    EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, "abc", 3, wide, 2), 0);
    EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
    EXPECT_EQ(wide[2], L'#');
    SetLastError(ERROR_SUCCESS);
    EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "abc", -1, wide, 3), 0);
    EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);

    // "aä" needs three bytes; a two-byte sequence must not be half written.
    char bytes[3] = {'#', '#', '#'};
    SetLastError(ERROR_SUCCESS);
    EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, L"aä", 2, bytes, 2, nullptr, nullptr), 0);
    EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
    EXPECT_EQ(bytes[2], '#');
    EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, L"aä", 2, bytes, 3, nullptr, nullptr), 3);
    SetLastError(ERROR_SUCCESS);
    EXPECT_EQ(WideCharToMultiByte(CP_ACP, 0, L"abc", 3, bytes, 2, nullptr, nullptr), 0);
    EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
}

// Each call must fail with the given error and answer 0.
void expectFailure(DWORD error, int result) {
    EXPECT_EQ(result, 0);
    EXPECT_EQ(GetLastError(), error);
    SetLastError(ERROR_SUCCESS);
}

TEST(Parameters, AreCheckedAsWindowsDoes) {
    wchar_t wide[4];
    char bytes[4];
    SetLastError(ERROR_SUCCESS);
    expectFailure(ERROR_INVALID_PARAMETER, MultiByteToWideChar(CP_UTF8, 0, "a", 0, wide, 4));
    expectFailure(ERROR_INVALID_PARAMETER, MultiByteToWideChar(CP_ACP, 0, nullptr, -1, wide, 4));
    expectFailure(ERROR_INVALID_PARAMETER, MultiByteToWideChar(CP_ACP, 0, "a", -2, wide, 4));
    expectFailure(ERROR_INVALID_PARAMETER, MultiByteToWideChar(CP_ACP, 0, "a", 1, nullptr, 4));
    expectFailure(ERROR_INVALID_PARAMETER, MultiByteToWideChar(CP_ACP, 0, "a", 1, wide, -1));
    expectFailure(ERROR_INVALID_PARAMETER, MultiByteToWideChar(437, 0, "a", 1, wide, 4));
    expectFailure(ERROR_INVALID_PARAMETER, MultiByteToWideChar(1250, 0, "a", 1, wide, 4));
    expectFailure(ERROR_INVALID_FLAGS, MultiByteToWideChar(CP_UTF8, 0x8, "a", 1, wide, 4));
    expectFailure(ERROR_INVALID_FLAGS, MultiByteToWideChar(CP_ACP, 0x1, "a", 1, wide, 4));

    expectFailure(ERROR_INVALID_PARAMETER,
                  WideCharToMultiByte(CP_UTF8, 0, L"a", 0, bytes, 4, nullptr, nullptr));
    expectFailure(ERROR_INVALID_PARAMETER,
                  WideCharToMultiByte(CP_ACP, 0, nullptr, -1, bytes, 4, nullptr, nullptr));
    expectFailure(ERROR_INVALID_PARAMETER,
                  WideCharToMultiByte(CP_ACP, 0, L"a", 1, nullptr, 4, nullptr, nullptr));
    expectFailure(ERROR_INVALID_PARAMETER,
                  WideCharToMultiByte(850, 0, L"a", 1, bytes, 4, nullptr, nullptr));
    expectFailure(ERROR_INVALID_FLAGS,
                  WideCharToMultiByte(CP_ACP, 0x400, L"a", 1, bytes, 4, nullptr, nullptr));
}

TEST(Windows1252, EveryByteSurvivesTheRoundTrip) {
    std::string all;
    for (int byte = 1; byte < 256; ++byte) all.push_back(static_cast<char>(byte));
    EXPECT_EQ(narrow(CP_ACP, widen(CP_ACP, all)), all);
    EXPECT_EQ(widen(1252, all), widen(CP_ACP, all));
}

TEST(Windows1252, HighControlRangeHoldsTheWindowsCharacters) {
    std::string high;
    for (int byte = 0x80; byte < 0xA0; ++byte) high.push_back(static_cast<char>(byte));
    const std::wstring expected =
        L"€\x81‚ƒ„…†‡ˆ‰Š‹Œ\x8DŽ\x8F\x90‘’“”•–—˜™š›œ\x9DžŸ";
    EXPECT_EQ(widen(CP_ACP, high), expected);
    EXPECT_EQ(narrow(CP_ACP, expected), high);
    EXPECT_EQ(widen(CP_ACP, "K\xE4se \xDF"), L"Käse ß");
}

TEST(Windows1252, FoldsLatinExtendedALettersToTheirBase) {
    EXPECT_EQ(narrow(CP_ACP, L"ŁłąęśźżćńŐőĀčğıŉſĸŀ"), "LlaeszzcnOoAcginskl");
}

TEST(Windows1252, KeepsItsOwnLatinExtendedALetters) {
    EXPECT_EQ(narrow(CP_ACP, L"ŒœŠšŸŽž"), "\x8C\x9C\x8A\x9A\x9F\x8E\x9E");
}

TEST(Windows1252, ReplacesWhatItCannotHold) {
    std::wstring unmappable = L"日本\xFFFD\U0001F600Ĳĳ";
    unmappable += static_cast<wchar_t>(0x80);  // a C1 control that 0x80 does not stand for
    unmappable += static_cast<wchar_t>(0xD800);
    EXPECT_EQ(narrow(CP_ACP, unmappable), std::string(unmappable.size(), '?'));
}

TEST(Windows1252, HonoursTheCallersDefaultCharacter) {
    char out[8] = {};
    BOOL used = TRUE;
    EXPECT_EQ(WideCharToMultiByte(1252, 0, L"ä日ł", 3, out, 8, "*", &used), 3);
    EXPECT_EQ(std::string(out, 3), "\xE4*l");
    EXPECT_EQ(used, TRUE);

    // A best-fit letter is no substitute.
    used = TRUE;
    EXPECT_EQ(WideCharToMultiByte(CP_ACP, 0, L"äł", 2, out, 8, nullptr, &used), 2);
    EXPECT_EQ(used, FALSE);
    used = FALSE;
    EXPECT_EQ(WideCharToMultiByte(CP_ACP, 0, L"ä日", 2, nullptr, 0, nullptr, &used), 2);
    EXPECT_EQ(used, TRUE);
}

TEST(Windows1252, JavaRoadKeepsUmlautsAndReplacesTheRest) {
    // UTF-8 from Java, to wide, to the ANSI page, back to wide.
    std::wstring fromJava = widen(CP_UTF8, "\xC3\xA4\xC3\xB6\xC3\xBC\xC3\x9F \xF0\x9F\x98\x80");
    EXPECT_EQ(widen(CP_ACP, narrow(CP_ACP, fromJava)), L"äöüß ?");
}

}  // namespace
