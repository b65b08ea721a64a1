#include "common/process.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/testing.h"

TEST(RunCommand, CollectsBothStreamsOfARealChildInOrder) {
    std::string output = "before|";
    std::string error = "untouched";
    // More than one read buffer's worth, written on both streams.
    EXPECT_TRUE(runCommand("/bin/sh",
                           "-c \"echo out; echo err >&2; printf '%25000s' | tr ' ' x; "
                           "echo; sleep 0.2; echo late\"",
                           output, error));
    const std::string expected = "before|out\nerr\n" + std::string(25000, 'x') + "\nlate\n";
    EXPECT_EQ(output.size(), expected.size());
    EXPECT_TRUE(output == expected) << output.substr(0, 40);
    EXPECT_EQ(error, "untouched");

    std::string quiet = "kept";
    EXPECT_TRUE(runCommand("/bin/true", "", quiet, error));
    EXPECT_EQ(quiet, "kept");
}

TEST(RunCommand, AMissingProgramIsExplainedInABoxAndTheErrorText) {
    platform::testing::recordMessageBoxes(true);
    std::string output = "kept";
    std::string error;
    EXPECT_FALSE(runCommand("/no/such/program", "x", output, error));
    auto boxes = platform::testing::shownMessageBoxes();
    platform::testing::recordMessageBoxes(false);
    EXPECT_EQ(error.rfind("/no/such/program failed with error 2: ", 0), 0u) << error;
    EXPECT_GT(error.size(), std::string("/no/such/program failed with error 2: ").size());
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, "Error");
    EXPECT_EQ(boxes[0].text, error);
    EXPECT_EQ(boxes[0].type, MB_OK);
    EXPECT_EQ(output, "kept");
}
