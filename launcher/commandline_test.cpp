#include "launcher/commandline.h"

#include <gtest/gtest.h>

TEST(CommandLine, QuotesOnlyWhatWindowsWouldSplitOtherwiseOrAllWhenAsked) {
    const struct {
        const char* argument;
        const char* quoted;
        const char* always;
    } cases[] = {
        {"plain", "plain", "\"plain\""},
        {"C:\\a\\b", "C:\\a\\b", "\"C:\\a\\b\""},
        {"", "\"\"", "\"\""},
        {"two words", "\"two words\"", "\"two words\""},
        {"say \"hi\"", "\"say \\\"hi\\\"\"", "\"say \\\"hi\\\"\""},
        {"dir\\ with\\", "\"dir\\ with\\\\\"", "\"dir\\ with\\\\\""},
        {"a\\\\\"b", "\"a\\\\\\\\\\\"b\"", "\"a\\\\\\\\\\\"b\""},
        {"tab\there", "\"tab\there\"", "\"tab\there\""},
        // Roots, which keep their backslash.
        {"C:\\", "C:\\", "\"C:\\\\\""},
        {"\\", "\\", "\"\\\\\""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(quoteArgument(c.argument), c.quoted) << c.argument;
        EXPECT_EQ(quoteAlways(c.argument), c.always) << c.argument;
    }
    EXPECT_EQ(joinCommandLine({"-x", "two words", ""}), "-x \"two words\" \"\"");
    EXPECT_EQ(joinCommandLine({}), "");
}
