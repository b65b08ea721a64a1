#include "launcher/commandline.h"

#include <gtest/gtest.h>

TEST(CommandLine, QuotesOnlyWhatWindowsWouldSplitOtherwise) {
    const struct {
        const char* argument;
        const char* quoted;
    } cases[] = {
        {"plain", "plain"},
        {"C:\\a\\b", "C:\\a\\b"},
        {"", "\"\""},
        {"two words", "\"two words\""},
        {"say \"hi\"", "\"say \\\"hi\\\"\""},
        {"dir\\ with\\", "\"dir\\ with\\\\\""},
        {"a\\\\\"b", "\"a\\\\\\\\\\\"b\""},
        {"tab\there", "\"tab\there\""},
    };
    for (const auto& c : cases) EXPECT_EQ(quoteArgument(c.argument), c.quoted) << c.argument;
    EXPECT_EQ(joinCommandLine({"-x", "two words", ""}), "-x \"two words\" \"\"");
    EXPECT_EQ(joinCommandLine({}), "");
}
