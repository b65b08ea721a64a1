#include <algorithm>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "platform/win32.h"

namespace {

constexpr LCID kPhoneBook =
    MAKELCID(MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN), SORT_GERMAN_PHONE_BOOK);
constexpr LCID kDictionary = MAKELCID(MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN), SORT_DEFAULT);

std::vector<std::wstring> sortedW(LCID locale, std::vector<std::wstring> words) {
    std::sort(words.begin(), words.end(), [locale](const auto& a, const auto& b) {
        return CompareStringW(locale, 0, a.c_str(), -1, b.c_str(), -1) == CSTR_LESS_THAN;
    });
    return words;
}

std::vector<std::string> sortedA(LCID locale, std::vector<std::string> words) {
    std::sort(words.begin(), words.end(), [locale](const auto& a, const auto& b) {
        return CompareStringA(locale, 0, a.c_str(), -1, b.c_str(), -1) == CSTR_LESS_THAN;
    });
    return words;
}

TEST(PhoneBookOrder, ReadsUmlautsAsVowelPlusE) {
    // ü sorts as ue: Müller among the Muellers and before Muff. Within equal
    // letters, lower case before upper case, plain e before the umlaut.
    EXPECT_EQ(sortedW(kPhoneBook, {L"Muller", L"Müller", L"Muff", L"MÜLLER", L"müller",
                                   L"Mueller", L"mueller", L"Mull"}),
              (std::vector<std::wstring>{L"mueller", L"Mueller", L"müller", L"Müller",
                                         L"MÜLLER", L"Muff", L"Mull", L"Muller"}));
}

TEST(PhoneBookOrder, DiffersFromTheDictionaryOrder) {
    EXPECT_EQ(sortedW(kDictionary, {L"Müller", L"Muff", L"Mueller", L"Muller"}),
              (std::vector<std::wstring>{L"Mueller", L"Muff", L"Muller", L"Müller"}));
    // A German system's default order is the dictionary one.
    EXPECT_EQ(CompareStringW(LOCALE_USER_DEFAULT, 0, L"Müller", -1, L"Muff", -1),
              CSTR_GREATER_THAN);
    EXPECT_EQ(CompareStringW(LOCALE_SYSTEM_DEFAULT, 0, L"Müller", -1, L"Muff", -1),
              CSTR_GREATER_THAN);
}

TEST(PhoneBookOrder, NarrowTextIsWindows1252) {
    EXPECT_EQ(sortedA(kPhoneBook, {"Muller", "M\xFCller", "Muff", "M\xDCLLER", "m\xFCller",
                                   "Mueller", "mueller", "Mull"}),
              (std::vector<std::string>{"mueller", "Mueller", "m\xFCller", "M\xFCller",
                                        "M\xDCLLER", "Muff", "Mull", "Muller"}));
    // Š (0x8A) is a letter S with a caron, not a control character.
    EXPECT_EQ(CompareStringA(kPhoneBook, 0, "\x8A" "a", -1, "Sb", -1), CSTR_LESS_THAN);
}

TEST(PhoneBookOrder, EqualOnlyForTextsTheOrderCannotTellApart) {
    EXPECT_EQ(CompareStringW(kPhoneBook, 0, L"Müller", -1, L"Müller", -1), CSTR_EQUAL);
    EXPECT_EQ(CompareStringW(kPhoneBook, 0, L"Müller", -1, L"Mueller", -1), CSTR_GREATER_THAN);
    EXPECT_EQ(CompareStringW(kPhoneBook, 0, L"müller", -1, L"Müller", -1), CSTR_LESS_THAN);
    // A decomposed ü is the same text.
    EXPECT_EQ(CompareStringW(kPhoneBook, 0, L"Mu\x0308ller", -1, L"Müller", -1), CSTR_EQUAL);
    EXPECT_EQ(CompareStringW(kPhoneBook, 0, L"", -1, L"", -1), CSTR_EQUAL);
    EXPECT_EQ(CompareStringW(kPhoneBook, 0, L"", -1, L"a", -1), CSTR_LESS_THAN);
}

// Windows' word sort: hyphen and apostrophe weigh nothing until all else is
// equal; umlauts and ß keep the phone-book order.
TEST(PhoneBookOrder, HyphensAndApostrophesDecideOnlyBetweenOtherwiseEqualTexts) {
    const std::vector<std::wstring> windowsOrder = {
        L"coop",   L"co-op",  L"co-op-",  L"Eimer", L"Email", L"E-Mail", L"Mueller", L"Müller",
        L"Rock",   L"Rock'n'Roll", L"Rockn-Roll", L"Strasse-", L"Straße", L"Tasche",  L"T-Shirt",
        L"Zähne"};
    EXPECT_EQ(sortedW(kPhoneBook, {L"T-Shirt", L"Zähne", L"Rockn-Roll", L"E-Mail", L"Straße",
                                   L"co-op-", L"Müller", L"coop", L"Rock'n'Roll", L"Tasche",
                                   L"Email", L"Mueller", L"Strasse-", L"Rock", L"Eimer",
                                   L"co-op"}),
              windowsOrder);
    EXPECT_EQ(CompareStringA(kPhoneBook, 0, "T-Shirt", -1, "Tasche", -1), CSTR_GREATER_THAN);
    EXPECT_EQ(CompareStringA(kPhoneBook, 0, "E-Mail", -1, "EMail", -1), CSTR_GREATER_THAN);
    EXPECT_EQ(CompareStringW(kDictionary, 0, L"co-op", -1, L"coop", -1), CSTR_GREATER_THAN);
    EXPECT_EQ(CompareStringW(kPhoneBook, 0, L"a-b", -1, L"a-b", -1), CSTR_EQUAL);
    // Case still counts before the marks do.
    EXPECT_EQ(CompareStringW(kPhoneBook, 0, L"e-mail", -1, L"Email", -1), CSTR_LESS_THAN);
}

TEST(PhoneBookOrder, ExplicitLengthsCount) {
    EXPECT_EQ(CompareStringW(kPhoneBook, 0, L"Müllerei", 6, L"Müller", -1), CSTR_EQUAL);
    EXPECT_EQ(CompareStringA(kPhoneBook, 0, "Hausboot", 4, "Haus", 4), CSTR_EQUAL);
    EXPECT_EQ(CompareStringA(kPhoneBook, 0, "Hausboot", 5, "Haus", 4), CSTR_GREATER_THAN);
}

TEST(PhoneBookOrder, CharactersBeyondTheBasicPlaneAndBrokenOnesCompare) {
    EXPECT_EQ(CompareStringW(kPhoneBook, 0, L"a\U0001F600", -1, L"a\U0001F600", -1), CSTR_EQUAL);
    std::wstring broken = L"a";
    broken += static_cast<wchar_t>(0xD800);
    EXPECT_EQ(CompareStringW(kPhoneBook, 0, broken.c_str(), -1, L"a\xFFFD", -1), CSTR_EQUAL);
}

TEST(PhoneBookOrder, LongTextsCompare) {
    std::wstring first(1000, L'ä');
    std::wstring second = first;
    second.back() = L'b';
    EXPECT_EQ(CompareStringW(kPhoneBook, 0, first.c_str(), -1, second.c_str(), -1),
              CSTR_LESS_THAN);
}

TEST(PhoneBookOrder, ServesSeveralThreadsAtOnce) {
    std::vector<std::thread> threads;
    std::vector<int> wrong(4, 0);
    for (std::size_t t = 0; t < wrong.size(); ++t) {
        threads.emplace_back([&wrong, t] {
            for (int i = 0; i < 2000; ++i) {
                if (CompareStringW(kPhoneBook, 0, L"Müller", -1, L"Muff", -1) != CSTR_LESS_THAN) {
                    ++wrong[t];
                }
            }
        });
    }
    for (auto& thread : threads) thread.join();
    EXPECT_EQ(wrong, std::vector<int>(4, 0));
}

TEST(CompareFailures, AnswerZeroWithTheReason) {
    auto expectFailure = [](DWORD error, int result) {
        EXPECT_EQ(result, 0);
        EXPECT_EQ(GetLastError(), error);
        SetLastError(ERROR_SUCCESS);
    };
    SetLastError(ERROR_SUCCESS);
    expectFailure(ERROR_INVALID_PARAMETER, CompareStringW(kPhoneBook, 0, nullptr, -1, L"a", -1));
    expectFailure(ERROR_INVALID_PARAMETER, CompareStringA(kPhoneBook, 0, "a", -1, nullptr, -1));
    expectFailure(ERROR_INVALID_PARAMETER, CompareStringW(0x0409, 0, L"a", -1, L"b", -1));
    expectFailure(ERROR_INVALID_PARAMETER, CompareStringA(0x040C, 0, "a", -1, "b", -1));
    expectFailure(ERROR_INVALID_FLAGS, CompareStringW(kPhoneBook, 0x1, L"a", -1, L"A", -1));
    expectFailure(ERROR_INVALID_FLAGS, CompareStringA(kPhoneBook, 0x1000, "a", -1, "A", -1));
}

}  // namespace
