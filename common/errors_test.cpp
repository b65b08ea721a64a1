#include "common/errors.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "common/logger.h"
#include "platform/testing.h"
#include "platform/win32.h"
#include "testsupport/scratchfolder.h"
#include "testsupport/wholefile.h"

TEST(ErrorReports, LogTheLineAndShowTheBoxOnlyWhenAsked) {
    const testsupport::ScratchFolder scratch("quill-errors-");
    const std::filesystem::path log = scratch.path() / "log.txt";
    logInit(5, scratch.ansiPath("log.txt").c_str(), false, false, true, false);
    platform::testing::recordMessageBoxes(true);
    reportError("Datei fehlt", 1, false);
    reportErrorW(L"Wörter fehlen", 2, true);
    reportErrorStr("zu leise", 9, false);  // above the level: nothing
    reportErrorWStr(L"kein Ton", 3, true);
    auto boxes = platform::testing::shownMessageBoxes();
    platform::testing::recordMessageBoxes(false);
    logInit(0, scratch.ansiPath("log.txt").c_str(), false, false, false, false);

    EXPECT_EQ(testsupport::readFile(log),
              "ERROR: Datei fehlt\nERROR: W\xF6rter fehlen\nERROR: kein Ton\n");
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].caption, "Error");
    EXPECT_EQ(boxes[0].text, "W\xC3\xB6rter fehlen");
    EXPECT_EQ(boxes[0].type, MB_OK);
    EXPECT_EQ(boxes[1].text, "kein Ton");
    std::filesystem::remove(log);
}

TEST(ErrorReports, SystemTextsOfCodes) {
    const auto text = [](DWORD code) {
        char buffer[200] = {};
        FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM, nullptr, code, 1024, buffer, sizeof buffer,
                       nullptr);
        return std::string(buffer);
    };
    ASSERT_FALSE(text(2).empty());
    SetLastError(ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(lastErrorText("CreateFileA"), "CreateFileA failed with error 2: " + text(2));
    EXPECT_EQ(systemErrorText(5), "Error 5: " + text(5));
    // No text for the code: the result ends after the colon and its blank.
    EXPECT_EQ(systemErrorText(987654), "Error 987654: ");
    SetLastError(987654);
    EXPECT_EQ(lastErrorText("x"), "x failed with error 987654: ");
    setErrorFlag(7);
    EXPECT_EQ(errorFlag(), 7);
    setErrorFlag(0);
}
