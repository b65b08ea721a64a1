#include "common/strings.h"

#include <clocale>
#include <cstdarg>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "testsupport/environment.h"

namespace {

// Runs a check with LANG set as given (nullopt: unset) and the C library's
// locale taken from it, then puts both back.
class WithLang {
public:
    explicit WithLang(std::optional<std::string> lang) {
        if (const char* old = std::getenv("LANG")) saved = old;
        if (lang) {
            testsupport::setEnv("LANG", lang->c_str());
        } else {
            testsupport::unsetEnv("LANG");
        }
        std::setlocale(LC_ALL, "");
    }
    ~WithLang() {
        if (saved) {
            testsupport::setEnv("LANG", saved->c_str());
        } else {
            testsupport::unsetEnv("LANG");
        }
        std::setlocale(LC_ALL, "C");
    }

private:
    std::optional<std::string> saved;
};

TEST(CaseMapping, MapsGermanLettersWhateverTheLocale) {
    const std::vector<std::optional<std::string>> langs = {
        std::nullopt, "C", "C.UTF-8", "de_DE.UTF-8", "xx_NOT.INSTALLED"};
    for (const auto& lang : langs) {
        SCOPED_TRACE(lang.value_or("(unset)"));
        WithLang scope(lang);
        EXPECT_EQ(toLowerW(L"\u00C4RGER \u00D6L \u00DCBER STRA\u00DFE"),
                  L"\u00E4rger \u00F6l \u00FCber stra\u00DFe");
        EXPECT_EQ(toUpperW(L"\u00E4\u00F6\u00FC\u0142"), L"\u00C4\u00D6\u00DC\u0141");
        EXPECT_EQ(toLower("\xC4RGER"), "\xE4rger");
        EXPECT_EQ(toUpper("\xE4\xF6\xFC\xDF"), "\xC4\xD6\xDC\xDF");
    }
}

TEST(CaseMapping, NarrowFollowsCodePage1252Letters) {
    // À..Þ pair with à..þ, except × and ÷; Š Ž Œ Ÿ pair with š ž œ ÿ.
    EXPECT_EQ(toLower("\xC0\xDE\xD7\x8A\x8E\x8C\x9F"), "\xE0\xFE\xD7\x9A\x9E\x9C\xFF");
    EXPECT_EQ(toUpper("\xE0\xFE\xF7\x9A\x9E\x9C\xFF"), "\xC0\xDE\xF7\x8A\x8E\x8C\x9F");
    std::string text = "MiXeD";
    EXPECT_EQ(&toLowerInPlace(text), &text);
    EXPECT_EQ(text, "mixed");
    EXPECT_EQ(toUpperInPlace(text), "MIXED");
    std::wstring wide = L"\u00DCbel";
    EXPECT_EQ(toUpperInPlaceW(wide), L"\u00DCBEL");
    EXPECT_EQ(toLowerInPlaceW(wide), L"\u00FCbel");
    EXPECT_EQ(toLowerW(L""), L"");
}

TEST(Comparison, CaseInsensitiveBy1252Letters) {
#ifndef _WIN32
    // The Windows runtime compares a single-byte code page like _stricmp in
    // the "C" locale, which folds only A to Z; our layer folds every letter
    // of code page 1252.
    EXPECT_EQ(compareNoCase("\xC4rger", "\xE4RGER"), 0);
#endif
    EXPECT_LT(compareNoCase("abc", "ABD"), 0);
    EXPECT_GT(compareNoCase(std::string("b"), std::string("A")), 0);
    EXPECT_LT(compareMbcs("B", "a"), 0);
    EXPECT_EQ(compareMbcs("x", "x"), 0);
}

TEST(Comparison, GermanPhoneBookOrder) {
    // In a phone book ü sorts as ue: Mueller and Müller are neighbours, and
    // Muller comes first; the case difference sorts after at tertiary level.
    std::vector<std::wstring> names = {L"m\u00FCller", L"Muller", L"M\u00FCller", L"Mueller",
                                       L"Mulzer"};
    std::sort(names.begin(), names.end(),
              [](const auto& a, const auto& b) { return compareGermanW(a, b) < 0; });
    EXPECT_EQ(names[3], L"Muller");
    EXPECT_EQ(names[4], L"Mulzer");
#ifndef _WIN32
    // How ü against ue and the letter case rank below the phone book's own
    // order is the collation's: ICU ranks ü after ue before it looks at the
    // case; Wine's tables take Müller and Mueller as equal and rank by case.
    const std::vector<std::wstring> expected = {L"Mueller", L"m\u00FCller", L"M\u00FCller",
                                                L"Muller", L"Mulzer"};
    EXPECT_EQ(names, expected);
#endif
    EXPECT_LT(compareGermanW(L"M\u00FCller", L"Muller"), 0);
    EXPECT_GT(compareGerman("Muller", "M\xFCller"), 0);
    EXPECT_LT(compareGerman("Mueller", "M\xFCller"), 0);
}

TEST(Comparison, GermanIsZeroOnlyForIdenticalTexts) {
    EXPECT_EQ(compareGermanW(L"Haus", L"Haus"), 0);
    EXPECT_EQ(compareGerman("Stra\xDF" "e", "Stra\xDF" "e"), 0);
    EXPECT_NE(compareGermanW(L"haus", L"Haus"), 0);
    EXPECT_NE(compareGermanW(L"M\u00FCller", L"Mueller"), 0);
    // Opposite orders give opposite signs, also where only the tie-break decides.
    EXPECT_EQ(compareGermanW(L"M\u00FCller", L"Mueller"), -compareGermanW(L"Mueller", L"M\u00FCller"));
    EXPECT_EQ(compareGermanW(L"haus", L"Haus") < 0, compareGermanW(L"Haus", L"haus") > 0);
}

TEST(Comparison, TieBreakNeverLooksLikeAFailure) {
    // Control characters are ignorable in the linguistic order, so only the
    // character codes part these, and they differ by 2.
    EXPECT_EQ(compareGerman("a\x01", "a\x03"), -1);
    EXPECT_EQ(compareGerman("a\x03", "a\x01"), 1);
    EXPECT_EQ(compareGermanW(L"a\x01", L"a\x03"), -1);
}

TEST(Trimming, FixedSet) {
    std::string blank = " \t\n \n";
    trimInPlace(blank);
    EXPECT_EQ(blank, "");
    std::string text = "\t word \r\n";
    trimInPlace(text);
    EXPECT_EQ(text, "word \r");
    std::wstring wide = L"  w\u00F6rt ";
    EXPECT_EQ(trimmedW(wide), L"w\u00F6rt");
    EXPECT_EQ(wide, L"w\u00F6rt");  // the caller's string is trimmed too
    std::string narrow = " n ";
    EXPECT_EQ(trimmed(narrow), "n");
    EXPECT_EQ(narrow, "n");
    char buffer[] = "  inside\t";
    EXPECT_STREQ(trimBuffer(buffer), "inside");
    wchar_t wideBuffer[] = L"\n x y \n";
    EXPECT_STREQ(trimBufferW(wideBuffer), L"x y");
    char empty[] = "   ";
    EXPECT_STREQ(trimBuffer(empty), "");
}

TEST(Trimming, GivenSet) {
    EXPECT_EQ(trimRight("xxabxx", "x"), "xxab");
    EXPECT_EQ(trimLeft("xxabxx", "x"), "abxx");
    EXPECT_EQ(trimChars("-=ab=-", "=-"), "ab");
    EXPECT_EQ(trimChars("====", "="), "");
    EXPECT_EQ(trimRight("====", "="), "");
    EXPECT_EQ(trimLeft("====", "="), "");
    EXPECT_EQ(trimChars(" a ", ""), " a ");
    EXPECT_EQ(trimCharsW(L"..\u00E4..", L"."), L"\u00E4");
    EXPECT_EQ(trimRightW(L"ab  ", L" "), L"ab");
    EXPECT_EQ(trimLeftW(L"  ab", L" "), L"ab");
}

TEST(Formatting, WholeTextWhateverItsLength) {
    std::string big(5000, 'q');
    EXPECT_EQ(formatString("<%s>", big.c_str()), "<" + big + ">");
    std::string target = "old";
    EXPECT_EQ(formatStringShort(target, "%03d|%-4s|", 7, "ab"), "007|ab  |");
    EXPECT_EQ(target, "007|ab  |");
    std::wstring wideBig(5000, L'\u00E4');
    EXPECT_EQ(formatStringW(L"%s!", wideBig.c_str()), wideBig + L"!");
    EXPECT_EQ(formatString("%s", ""), "");
}

bool formatInto(std::string& text, const char* format, ...) {
    va_list args;
    va_start(args, format);
    const bool formatted = formatStringV(text, format, args);
    va_end(args);
    return formatted;
}

bool formatInto(std::wstring& text, const wchar_t* format, ...) {
    va_list args;
    va_start(args, format);
    const bool formatted = formatStringVW(text, format, args);
    va_end(args);
    return formatted;
}

TEST(Formatting, TheTargetMayBeAnArgumentAndNoFormatGivesNothing) {
    std::string text = "ab";
    EXPECT_TRUE(formatInto(text, "%s|%s", text.c_str(), text.c_str()));
    EXPECT_EQ(text, "ab|ab");
    EXPECT_EQ(formatStringShort(text, "<%s>", text.c_str()), "<ab|ab>");
    EXPECT_FALSE(formatInto(text, nullptr));
    EXPECT_EQ(text, "");
    std::wstring wide = L"\u00E4";
    EXPECT_TRUE(formatInto(wide, L"%s|%s", wide.c_str(), wide.c_str()));
    EXPECT_EQ(wide, L"\u00E4|\u00E4");
    EXPECT_EQ(formatStringShortW(wide, L"<%s>", wide.c_str()), L"<\u00E4|\u00E4>");
    EXPECT_FALSE(formatInto(wide, nullptr));
    EXPECT_EQ(wide, L"");
}

TEST(Formatting, WideFormatsTakeWideStringsAndCharacters) {
    // As in the Windows runtime: %s and %c of a wide format are wide.
    EXPECT_EQ(formatStringW(L"[%c]%c", L'\u00E4', L'\u00E4'), L"[\u00E4]\u00E4");
    EXPECT_EQ(formatStringW(L"%c[%c]", L'\u00DF', L'\u00DF'), L"\u00DF[\u00DF]");
    EXPECT_EQ(formatStringW(L"%s-%5s|%-3s|", L"\u0141\u00F3d\u017A", L"ab", L"c"),
              L"\u0141\u00F3d\u017A-   ab|c  |");
    std::wstring target;
    EXPECT_EQ(formatStringShortW(target, L"%d %ls %S", 3, L"x", "y\xE4"), L"3 x y\u00E4");
    EXPECT_EQ(target, L"3 x y\u00E4");
}

TEST(Splitting, RunsOfDelimitersAreOneSeparator) {
    std::vector<std::wstring> tokens = {L"kept"};
    splitW(L",a,,b,", tokens, L",");
    EXPECT_EQ(tokens, (std::vector<std::wstring>{L"kept", L"a", L"b"}));
    splitW(L"", tokens, L",");
    EXPECT_EQ(tokens.size(), 3u);
    std::vector<std::string> narrow;
    split("k=v = w", narrow, "= ");
    EXPECT_EQ(narrow, (std::vector<std::string>{"k", "v", "w"}));
    narrow.clear();
    split("whole text", narrow, "");
    EXPECT_EQ(narrow, (std::vector<std::string>{"whole text"}));
    narrow.clear();
    split(",,,", narrow, ",");
    EXPECT_TRUE(narrow.empty());
}

TEST(Replacing, SearchesFromTheStartEachTime) {
    std::string text = "abbb";
    EXPECT_EQ(replaceAll(text, "ab", "a"), "a");
    std::wstring wide = L"Stra\u00DFe Ma\u00DF";
    EXPECT_EQ(replaceAllW(wide, L"\u00DF", L"ss"), L"Strasse Mass");
    std::wstring unchanged = L"abc";
    EXPECT_EQ(replaceAllW(unchanged, L"x", L"y"), L"abc");
    std::wstring removed = L"a-b-c";
    EXPECT_EQ(replaceAllW(removed, L"-", L""), L"abc");
}

TEST(Replacing, PatternsThatWouldNeverEnd) {
    std::string text = "aa";
    EXPECT_EQ(replaceAll(text, "", "x"), "aa");
    EXPECT_EQ(replaceAll(text, "a", "ba"), "baba");
    std::wstring wide = L"[[x]]";
    EXPECT_EQ(replaceAllW(wide, L"[", L"[["), L"[[[[x]]");
}

TEST(Numbers, ReadTheLeadingNumber) {
    EXPECT_EQ(stringToInt("42abc"), 42);
    EXPECT_EQ(stringToInt("  -17"), -17);
    EXPECT_EQ(wstringToInt(L"1234"), 1234);
    EXPECT_EQ(wstringToInt(L"+5x"), 5);
    EXPECT_DOUBLE_EQ(stringToDouble("2.5e1z"), 25.0);
    EXPECT_DOUBLE_EQ(wstringToDouble(L" 0.125"), 0.125);
}

TEST(Numbers, TextWithoutANumberGivesZero) {
    EXPECT_EQ(stringToInt(""), 0);
    EXPECT_EQ(stringToInt("abc"), 0);
    EXPECT_EQ(wstringToInt(L""), 0);
    EXPECT_EQ(wstringToInt(L"99999999999"), 0);
    EXPECT_EQ(stringToDouble("x1"), 0.0);
}

TEST(Numbers, WriteWithoutGrouping) {
    EXPECT_EQ(intToString(-1234), "-1234");
    EXPECT_EQ(intToWString(1234567), L"1234567");
    EXPECT_EQ(doubleToString(0.5), "0.5");
    EXPECT_EQ(doubleToString(1234567.0), "1.23457e+06");
    EXPECT_EQ(doubleToWString(0.0001), L"0.0001");
    EXPECT_EQ(doubleToWString(0.00001), L"1e-05");
}

}  // namespace
