#include "launcher/resourcetext.h"

#include <gtest/gtest.h>

#include "testsupport/ansipath.h"

TEST(VersionLine, TakesTheVersionForTheFirstPercentSOnly) {
    const struct {
        const char* pattern;
        const char* line;
    } cases[] = {
        {"Version %s", "Version 3.0"},
        {"%s", "3.0"},
        {"100%% %s", "100% 3.0"},
        {"%s %s %d %n", "3.0 %s %d %n"},
        {"Ende %", "Ende %"},
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(formatVersionLine(c.pattern, "3.0"), c.line) << c.pattern;
}

TEST(LoadString, ReadsTextsLongerThanAnyFirstBuffer) {
    HMODULE satellite = LoadLibraryA(testsupport::ansiPath(ENGLISH_SATELLITE).c_str());
    ASSERT_NE(satellite, nullptr);
    const std::string longText = loadString(satellite, 119);
    EXPECT_EQ(longText.size(), 3500u);
    EXPECT_EQ(longText.substr(longText.size() - 7), "W\xF6rter ");
    EXPECT_EQ(loadString(satellite, 113), "Quillory Launcher (English)");
    EXPECT_EQ(loadString(satellite, 4000), "");
    FreeLibrary(satellite);
}
