#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/testing.h"
#include "platform/win32.h"

TEST(MessageBox, HeadlessBoxesGoToStandardErrorAndAnswerTheFirstButton) {
    unsetenv("DISPLAY");
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(MessageBoxA(nullptr, "Datei fehlt: \xE4.txt", "ERROR", MB_OK | MB_ICONERROR), IDOK);
    EXPECT_EQ(MessageBoxW(GetDesktopWindow(), L"Weiter?", nullptr, MB_YESNO), IDYES);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(),
              "ERROR: Datei fehlt: \xC3\xA4.txt\nError: Weiter?\n");
}

TEST(MessageBox, RecordedWhenTestsAskForIt) {
    platform::testing::recordMessageBoxes(true);
    MessageBoxA(nullptr, "Text", "Caption", MB_ICONINFORMATION);
    auto shown = platform::testing::shownMessageBoxes();
    platform::testing::recordMessageBoxes(false);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].caption, "Caption");
    EXPECT_EQ(shown[0].text, "Text");
    EXPECT_EQ(shown[0].type, MB_ICONINFORMATION);
}
