#include <climits>

#include <gtest/gtest.h>

#include "platform/win32.h"

namespace {

int compare(const char* first, const char* second) {
    return _mbscmp(reinterpret_cast<const unsigned char*>(first),
                   reinterpret_cast<const unsigned char*>(second));
}

int compareNoCase(const char* first, const char* second) {
    return _mbsicmp(reinterpret_cast<const unsigned char*>(first),
                    reinterpret_cast<const unsigned char*>(second));
}

TEST(Mbscmp, ComparesUnsignedBytes) {
    EXPECT_EQ(compare("Haus", "Haus"), 0);
    EXPECT_LT(compare("Hau", "Haus"), 0);
    EXPECT_GT(compare("Haus", "Hau"), 0);
    EXPECT_LT(compare("Haus", "haus"), 0);
    // ä (0xE4) comes after every ASCII letter.
    EXPECT_GT(compare("\xE4", "z"), 0);
    EXPECT_LT(compare("z", "\xE4"), 0);
}

TEST(Mbsicmp, IgnoresTheCaseOfWindows1252Letters) {
    EXPECT_EQ(compareNoCase("M\xDCLLER", "m\xFCller"), 0);
    EXPECT_EQ(compareNoCase("\x8A\x8C\x8E\x9F", "\x9A\x9C\x9E\xFF"), 0);
    EXPECT_NE(compareNoCase("\xD7", "\xF7"), 0);
    EXPECT_LT(compareNoCase("apfel", "BIRNE"), 0);
    EXPECT_GT(compareNoCase("\xC4pfel", "APFEL"), 0);
}

TEST(Mbsicmp, ComparesTheLowerCaseForms) {
    // '[' lies between the capitals and the small letters: against lower
    // case it comes first.
    EXPECT_LT(compareNoCase("[", "A"), 0);
    EXPECT_LT(compareNoCase("[", "a"), 0);
}

TEST(Mbscmp, NullArgumentsAnswerTheRuntimesErrorValue) {
    EXPECT_EQ(_mbscmp(nullptr, reinterpret_cast<const unsigned char*>("a")), INT_MAX);
    EXPECT_EQ(_mbsicmp(reinterpret_cast<const unsigned char*>("a"), nullptr), INT_MAX);
}

}  // namespace
