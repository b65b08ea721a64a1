#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "platform/testing.h"
#include "platform/win32.h"
#include "platform/window/messageboxdialog.h"

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

TEST(MessageBox, DialogTextWrapsAtBlanksAndBreaksAWordWiderThanALineAtItsEdge) {
    using platform::window::textWidth;
    using platform::window::wrapText;
    EXPECT_EQ(wrapText("eins zwei drei\nvier", textWidth("eins zwei")),
              (std::vector<std::string>{"eins zwei", "drei", "vier"}));

    std::string umlauts;
    for (int i = 0; i < 300; ++i) umlauts += "\xC3\xA4";
    for (const std::string& word : {std::string(300, 'w'), umlauts}) {
        const double width = textWidth(word.substr(0, 80));
        const std::vector<std::string> lines = wrapText("kurz " + word, width);
        ASSERT_GT(lines.size(), 2u);
        EXPECT_EQ(lines[0], "kurz");
        std::string joined;
        for (std::size_t i = 1; i < lines.size(); ++i) {
            EXPECT_LE(textWidth(lines[i]), width);
            // Full lines but the last; no character is cut in two.
            if (i + 1 < lines.size()) {
                EXPECT_GT(textWidth(lines[i] + word.substr(0, 2)), width);
            }
            EXPECT_NE(static_cast<unsigned char>(lines[i][0]) & 0xC0, 0x80);
            joined += lines[i];
        }
        EXPECT_EQ(joined, word);
    }
}
