#include "platform/shell/commandline.h"

#include <gtest/gtest.h>

namespace {

using Arguments = std::vector<std::string>;

TEST(CommandLine, SplitByWindowsRules) {
    struct Case {
        const char* line;
        Arguments arguments;
    };
    const Case cases[] = {
        {"", {}},
        {" \t ", {}},
        {"a b\tc", {"a", "b", "c"}},
        {"-jar \"C:\\Program Files\\Q\\Quillory.jar\" \"C:\\Program Files\\Q\" x",
         {"-jar", "C:\\Program Files\\Q\\Quillory.jar", "C:\\Program Files\\Q", "x"}},
        {"\"\" a \"\"", {"", "a", ""}},
        {"a\\\\b\\c", {"a\\\\b\\c"}},  // backslashes before no quote stay
        {"a\\\"b", {"a\"b"}},          // 1 before a quote: a quote that is text
        {"a\\\\\"b c\"", {"a\\b c"}},  // 2: one, and the quote opens
        {"a\\\\\\\"b", {"a\\\"b"}},    // 3: one and a quote that is text
        {"\"dir\\\\\" next", {"dir\\", "next"}},
        {"\"a\"\"b\"", {"a\"b"}},  // "" inside quotes: a quote, and they close
        {"\"a\"\"b c\"", {"a\"b", "c"}},
        {"\"\"\"", {"\""}},
        {"ab\"c d\"e f", {"abc de", "f"}},
        {"\"open to the end  ", {"open to the end  "}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(platform::splitCommandLine(c.line), c.arguments) << c.line;
}

}  // namespace
