#include <sys/resource.h>
#include <unistd.h>

#include <clocale>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "platform/win32.h"
#include "testsupport/scratchfolder.h"
#include "testsupport/programs.h"
#include "testsupport/wholefile.h"

namespace {

// Measures, then formats into a buffer of exactly that size, the way the
// callers above the layer do; checks that both agree.
std::string format(const char* text, ...) {
    va_list args;
    va_start(args, text);
    va_list measureArgs;
    va_copy(measureArgs, args);
    int length = _vscprintf(text, measureArgs);
    va_end(measureArgs);
    std::string result;
    if (length >= 0) {
        result.assign(static_cast<std::size_t>(length) + 1, '#');
        EXPECT_EQ(_vsnprintf(result.data(), result.size(), text, args), length);
        EXPECT_EQ(result.back(), '\0');
        result.pop_back();
    } else {
        result = "<bad format>";
    }
    va_end(args);
    return result;
}

std::wstring formatW(const wchar_t* text, ...) {
    va_list args;
    va_start(args, text);
    va_list measureArgs;
    va_copy(measureArgs, args);
    int length = _vsnwprintf(nullptr, 0, text, measureArgs);
    va_end(measureArgs);
    va_copy(measureArgs, args);
    EXPECT_EQ(_vscwprintf(text, measureArgs), length);
    va_end(measureArgs);
    std::wstring result;
    if (length >= 0) {
        result.assign(static_cast<std::size_t>(length) + 1, L'#');
        EXPECT_EQ(_vsnwprintf(result.data(), result.size(), text, args), length);
        EXPECT_EQ(result.back(), L'\0');
        result.pop_back();
    } else {
        result = L"<bad format>";
    }
    va_end(args);
    return result;
}

TEST(WideFormats, PercentSAndCTakeWideArguments) {
    EXPECT_EQ(formatW(L"%s|%c", L"Wörter", L'ß'), L"Wörter|ß");
    EXPECT_EQ(formatW(L"%ls|%lc|%ws|%wc", L"ä", L'ö', L"ü", L'€'), L"ä|ö|ü|€");
    EXPECT_EQ(formatW(L"[%c]%c", L'ö', L'ö'), L"[ö]ö");
    EXPECT_EQ(formatW(L"%c[%c]", L'e', L'e'), L"e[e]");
    EXPECT_EQ(formatW(L"%s", L"\U0001F600"), L"\U0001F600");
}

TEST(WideFormats, CapitalSAndCTakeNarrowWindows1252Arguments) {
    EXPECT_EQ(formatW(L"%S %C", "K\xE4se", '\x80'), L"Käse €");
    EXPECT_EQ(formatW(L"%hs %hc", "Gr\xF6\xDF" "e", '\xFC'), L"Größe ü");
}

TEST(NarrowFormats, WideArgumentsBecomeWindows1252) {
    EXPECT_EQ(format("%ls", L"äu"), "\xE4u");
    EXPECT_EQ(format("%S|%C|%lc|%wc", L"Öl", L'€', L'ß', L'Ł'), "\xD6l|\x80|\xDF|L");
    EXPECT_EQ(format("%ls", L"Łódź 日本"), "L\xF3" "dz ??");
    EXPECT_EQ(format("%s|%hs|%c|%hc", "\xE4", "b", 'c', '\xFC'), "\xE4|b|c|\xFC");
}

TEST(Formats, TheTraceAndErrorLinesOfTheSystem) {
    EXPECT_EQ(format("%20s 050 :    [%2d] vc:%ls\n", "countSyllables", 3, L"ei"),
              "      countSyllables 050 :    [ 3] vc:ei\n");
    EXPECT_EQ(format("%20s 100 :    [%2d] %lc -> t:%d --> nb:%2d\n", "countSyllables", 4, L'ü',
                     1, 12),
              "      countSyllables 100 :    [ 4] \xFC -> t:1 --> nb:12\n");
    EXPECT_EQ(format("%20s 999 :    NbSyllables = %d\n", "countSyllables", 2),
              "      countSyllables 999 :    NbSyllables = 2\n");
    EXPECT_EQ(format(": %4d :     : %4ls, %20ls, %8ls, %2d : %4ls, %20ls, %8ls, %2d :\n", 12,
                     L"der", L"Bär", L"B0012", 5, L"the", L"bear", L"T0012", 7),
              ":   12 :     :  der,                  B\xE4r,    B0012,  5 :  the,"
              "                 bear,    T0012,  7 :\n");
    EXPECT_EQ(format("%-20s %s", "Haus", "house"), "Haus                 house");
    EXPECT_EQ(format("%02d:%02d", 7, 45), "07:45");
    EXPECT_EQ(format("mark 1000 : m_dwInstances = %10d\n", 3),
              "mark 1000 : m_dwInstances =          3\n");
    EXPECT_EQ(format("DSound Error [mark %4d]: %lu\n", 120, 2289565816ul),
              "DSound Error [mark  120]: 2289565816\n");
    EXPECT_EQ(format("%s failed with error %d: %s", "LoadLibraryA", 2, "Not found.\r\n"),
              "LoadLibraryA failed with error 2: Not found.\r\n");
    EXPECT_EQ(formatW(L"\n%20s 100 :    %ls contains '-' do not use it in Quillory\n",
                      L"LX_Word::postProcess", L"E-Mail"),
              L"\nLX_Word::postProcess 100 :    E-Mail contains '-' do not use it in Quillory\n");
    EXPECT_EQ(formatW(L"%d", -42), L"-42");
}

TEST(Formats, StringWidthPrecisionAndAlignment) {
    EXPECT_EQ(format("[%5s|%-5s|%.2s|%5.1s]", "ab", "ab", "abc", "xyz"), "[   ab|ab   |ab|    x]");
    EXPECT_EQ(format("[%*s|%*s|%.*s]", 4, "a", -4, "b", 1, "cd"), "[   a|b   |c]");
    EXPECT_EQ(formatW(L"[%5s|%-3c|%3C]", L"äö", L'ü', 'x'), L"[   äö|ü  |  x]");
    // With a precision the text need not end with a NUL.
    const char unterminated[3] = {'a', 'b', 'c'};
    EXPECT_EQ(format("%.3s", unterminated), "abc");
    const wchar_t unterminatedW[2] = {L'ä', L'ö'};
    EXPECT_EQ(format("%.2ls", unterminatedW), "\xE4\xF6");
}

TEST(Formats, NullStringsPrintAsTheWindowsRuntimeDoes) {
    EXPECT_EQ(format("%s", static_cast<const char*>(nullptr)), "(null)");
    EXPECT_EQ(format("%ls", static_cast<const wchar_t*>(nullptr)), "(null)");
    EXPECT_EQ(format("%.3s", static_cast<const char*>(nullptr)), "(nu");
    EXPECT_EQ(formatW(L"%s", static_cast<const wchar_t*>(nullptr)), L"(null)");
    EXPECT_EQ(formatW(L"%S", static_cast<const char*>(nullptr)), L"(null)");
}

TEST(Formats, Integers) {
    EXPECT_EQ(format("%d %i %u %o %x %X", -5, 7, 4000000000u, 8, 255, 255),
              "-5 7 4000000000 10 ff FF");
    EXPECT_EQ(format("%+d|% d|%#x|%#o|%-4d|%04d|%.3d", 5, 5, 255, 8, 1, -1, 7),
              "+5| 5|0xff|010|1   |-001|007");
    EXPECT_EQ(format("%hhd %hd %hu %hhu", 300, 70000, 70000, 257), "44 4464 4464 1");
    EXPECT_EQ(format("%ld %lld %I64d %I32d %I64u", -3l, -4ll, -5ll, -6, 18446744073709551615ull),
              "-3 -4 -5 -6 18446744073709551615");
    EXPECT_EQ(format("%zu %Iu %td %jd", std::size_t{9}, std::size_t{10}, std::ptrdiff_t{-11},
                     std::intmax_t{12}),
              "9 10 -11 12");
    EXPECT_EQ(formatW(L"%5d|%-5x|%lld", 42, 42, 1ll << 40), L"   42|2a   |1099511627776");
}

TEST(Formats, FloatsPointersAndPercent) {
    EXPECT_EQ(format("%.2f %e %g %8.3f %Lf", 3.14159, 1500.0, 0.0001, 2.5, 1.0L),
              "3.14 1.500000e+03 0.0001    2.500 1.000000");
    EXPECT_EQ(formatW(L"%.1f%%", 99.44), L"99.4%");
    EXPECT_EQ(format("%p", reinterpret_cast<void*>(0x1234abcd)), "000000001234ABCD");
    EXPECT_EQ(format("%c", '\0').size(), 1u);
}

TEST(Formats, BadFormatsAnswerMinusOne) {
    for (const char* bad : {"%n", "%y", "abc%", "%5", "%Ld", "%wd", "%lls", "%99999999999d"}) {
        SCOPED_TRACE(bad);
        int count = 0;
        EXPECT_EQ(_snprintf(nullptr, 0, bad, &count, 1), -1);
        char buffer[8] = "xxxxxxx";
        EXPECT_EQ(_snprintf(buffer, sizeof(buffer), bad, &count, 1), -1);
        EXPECT_STREQ(buffer, "");
        EXPECT_EQ(count, 0);
    }
    EXPECT_EQ(_snwprintf(nullptr, 0, L"%n", nullptr), -1);
    EXPECT_EQ(_snprintf(nullptr, 0, nullptr), -1);
}

TEST(Measuring, LongTextsAreMeasuredAndFormattedWhole) {
    std::string longText(5000, 'x');
    EXPECT_EQ(format("<%s>", longText.c_str()), "<" + longText + ">");
    EXPECT_EQ(format("%6000d", 1).size(), 6000u);
    std::wstring longWide(5000, L'ä');
    EXPECT_EQ(formatW(L"<%s>", longWide.c_str()), L"<" + longWide + L">");
    EXPECT_EQ(_snprintf(nullptr, 0, "%s-%d", "abc", 12), 6);
    EXPECT_EQ(_snwprintf(nullptr, 0, L"%s-%d", L"äbc", 12), 6);
}

TEST(Truncation, FollowsTheWindowsRuntime) {
    char buffer[8];
    std::memset(buffer, '#', sizeof(buffer));
    // Cut: the buffer is filled, no terminator, -1.
    EXPECT_EQ(_snprintf(buffer, 5, "%s", "abcdefgh"), -1);
    EXPECT_EQ(std::string(buffer, 6), "abcde#");
    // Exactly fits: no room for the terminator, none is written.
    std::memset(buffer, '#', sizeof(buffer));
    EXPECT_EQ(_snprintf(buffer, 5, "%s", "abcde"), 5);
    EXPECT_EQ(std::string(buffer, 6), "abcde#");
    // Room to spare: terminated.
    EXPECT_EQ(_snprintf(buffer, 6, "%s", "abcde"), 5);
    EXPECT_STREQ(buffer, "abcde");
    // Nothing to write into.
    EXPECT_EQ(_snprintf(buffer, 0, "%s", "a"), -1);
    EXPECT_EQ(_snprintf(nullptr, 5, "%s", "a"), -1);

    wchar_t wide[4] = {L'#', L'#', L'#', L'#'};
    EXPECT_EQ(_snwprintf(wide, 3, L"%s", L"äöüß"), -1);
    EXPECT_EQ(std::wstring(wide, 4), L"äöü#");
    EXPECT_EQ(_snwprintf(wide, 4, L"%d", 12), 2);
    EXPECT_STREQ(wide, L"12");
}

long peakKilobytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

TEST(Measuring, HugeWidthsAndPrecisionsAreCountedNotBuilt) {
    const long before = peakKilobytes();
    char buffer[16];
    EXPECT_EQ(_snprintf(buffer, 16, "%*d", 1500000000, 1), -1);
    EXPECT_EQ(std::string(buffer, 16), std::string(16, ' '));
    EXPECT_EQ(format("%.*d", 4, 7), "0007");
    EXPECT_EQ(_snprintf(nullptr, 0, "%2147483647s", ""), 2147483647);
    EXPECT_EQ(_snprintf(nullptr, 0, "%-2147483647.2000000000f", 0.5), 2147483647);
    EXPECT_EQ(_snprintf(nullptr, 0, "%.2147483647f", 0.5), -1);
    EXPECT_EQ(_snprintf(nullptr, 0, "%.2000000000d%s", 1, "x"), 2000000001);
    EXPECT_EQ(_snwprintf(nullptr, 0, L"%*s%*s", 1500000000, L"", 1500000000, L""), -1);
    EXPECT_EQ(_snprintf(nullptr, 0, "%2147483647sx", ""), -1);
    EXPECT_LT(peakKilobytes() - before, 64 * 1024) << "kilobytes more at the peak";
}

// Beyond the widths and precisions handed to the C library as they are, the
// text must still be what the C library makes of them.
template <typename T>
struct BeyondCase {
    const char* format;
    int width;
    int precision;
    T value;
};

// Our text for each case against the C library's own.
template <typename T, std::size_t N>
void expectLikeTheCLibrary(const BeyondCase<T> (&cases)[N]) {
    for (const BeyondCase<T>& c : cases) {
        int length = std::snprintf(nullptr, 0, c.format, c.width, c.precision, c.value);
        std::string expected(static_cast<std::size_t>(length), '\0');
        std::snprintf(expected.data(), expected.size() + 1, c.format, c.width, c.precision,
                      c.value);
        EXPECT_EQ(format(c.format, c.width, c.precision, c.value), expected) << c.format;
    }
}

TEST(Measuring, WidthsAndPrecisionsBeyondTheDirectRangeFormatAsTheCLibraryDoes) {
    const BeyondCase<double> floats[] = {
        {"%*.*f", 30000, 3, -2.5},       {"%-*.*f", 30000, 25000, 0.125},
        {"%0*.*f", 30000, 2, -1.5},      {"%0*.*f", 60000, 25000, 3.0},
        {"%*.*e", 30000, 25000, 1e300},  {"%+0*.*E", 40000, 22000, -7.25},
        {"%#*.*g", 3, 25000, 0.1},       {"%*.*g", 30000, 25000, 1.0 / 3},
        {"%*.*a", 3, 30000, 1.75},       {"%0*.*f", 30000, 1, 1.0 / 0.0},
    };
    expectLikeTheCLibrary(floats);
    const BeyondCase<int> integers[] = {
        {"%*.*d", 30000, 25000, -42}, {"%-*.*d", 50000, 25000, 42}, {"%0*.*d", 30000, -1, -42},
        {"%#*.*x", 3, 25000, 255},    {"%0#*.*x", 30000, -1, 255}, {"% *.*d", 30000, 21000, 0},
    };
    expectLikeTheCLibrary(integers);
}

// Runs localedef, its output into a file; "" when it made the locale, else
// why not.
std::string makeLocale(const std::string& locale, const std::string& output) {
    const int status =
        testsupport::runProgram({"localedef", "-i", "de_DE", "-f", "UTF-8", locale}, "", output);
    if (status == 0) return "";
    std::ostringstream why;
    why << "localedef cannot make de_DE.UTF-8 (status " << status << "): "
        << testsupport::readFile(output);
    return why.str();
}

// A JVM sets the C library's locale from LANG; numbers stay "C" numbers.
TEST(Numbers, AreFormattedInTheCLocaleWhateverTheProcessSet) {
    const testsupport::ScratchFolder folder("quill-format-locales-");
    const std::string german = folder.path("de_DE.UTF-8");
    const std::string why = makeLocale(german, folder.path("localedef.out"));
    if (!why.empty()) GTEST_SKIP() << why;
    setenv("LOCPATH", folder.path().c_str(), 1);
    if (std::setlocale(LC_ALL, "de_DE.UTF-8") == nullptr) {
        GTEST_SKIP() << "de_DE.UTF-8 does not load from " << german;
    }
    char host[16];
    std::snprintf(host, sizeof host, "%.1f", 0.5);
    EXPECT_STREQ(host, "0,5") << "the German locale is not in force";
    EXPECT_EQ(format("%.1f|%g|%8.3e", 0.5, 1234.5, -2.0), "0.5|1234.5|-2.000e+00");
    EXPECT_EQ(formatW(L"%.2f", 3.25), L"3.25");
    EXPECT_STREQ(std::setlocale(LC_NUMERIC, nullptr), "de_DE.UTF-8") << "left as it was";
    std::setlocale(LC_ALL, "C");
    unsetenv("LOCPATH");
}

}  // namespace
