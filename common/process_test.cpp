#include "common/process.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <iterator>
#include <string>

#include "platform/testing.h"

namespace {

std::ptrdiff_t openDescriptors() {
    return std::distance(std::filesystem::directory_iterator("/proc/self/fd"),
                         std::filesystem::directory_iterator());
}

}  // namespace

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

TEST(RunCommand, FailuresLeaveNoPipeEndOpenAndNoLoopRunning) {
    platform::testing::recordMessageBoxes(true);
    std::string output;
    std::string error;
    EXPECT_FALSE(runCommand("/no/such/program", "", output, error));
    const std::ptrdiff_t before = openDescriptors();
    EXPECT_FALSE(runCommand("/no/such/program", "", output, error));
    EXPECT_EQ(openDescriptors(), before);
    platform::testing::recordMessageBoxes(false);

    // A wait that fails cannot tell whether the child ends: the loop stops
    // at once rather than keep waiting on it.
    platform::testing::failNextWaits(1);
    EXPECT_TRUE(runCommand("/bin/sh", "-c \"sleep 3; echo late\"", output, error));
    platform::testing::failNextWaits(0);
    EXPECT_EQ(output, "");
    EXPECT_EQ(openDescriptors(), before);
}

TEST(ReadPipe, ABufferWithRoomOnlyForTheNulTakesNothing) {
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    ASSERT_TRUE(CreatePipe(&readEnd, &writeEnd, nullptr, 0));
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = writeEnd;
    PROCESS_INFORMATION child{};
    char commandLine[] = "/bin/sh -c \"printf abc\"";
    ASSERT_TRUE(CreateProcessA(nullptr, commandLine, nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                               &startup, &child));
    EXPECT_EQ(WaitForSingleObject(child.hProcess, 10000), WAIT_OBJECT_0);
    CloseHandle(child.hThread);
    CloseHandle(child.hProcess);

    char buffer[8];
    for (DWORD size : {0u, 1u}) {
        std::memset(buffer, 'x', sizeof buffer);
        EXPECT_EQ(readPipe(readEnd, buffer, size), 0u) << size;
        EXPECT_EQ(std::string(buffer, sizeof buffer),
                  std::string(size, '\0') + std::string(sizeof buffer - size, 'x'));
    }
    EXPECT_EQ(readPipe(readEnd, buffer, sizeof buffer), 3u);
    EXPECT_STREQ(buffer, "abc");
    CloseHandle(readEnd);
    CloseHandle(writeEnd);
}
