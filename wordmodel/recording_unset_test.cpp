// Recording names before the word library has been set up, as the audio
// library meets them when a recording is played before any set-up: no media
// directory, no language codes, audio kind 0. A program of its own, since the
// set-up cannot be undone.
#include <gtest/gtest.h>

#include <string>

#include "platform/win32.h"
#include "wordmodel/library.h"
#include "wordmodel/recording.h"
#include "wordmodel/word.h"

namespace {

TEST(RecordingBeforeSetUp, NamesHaveEmptyParts) {
    ASSERT_FALSE(wordLibraryInitialised);
    LX_Word word(languageGerman, 0);
    word.setAudioName(languageGerman, L"w1234a");

    ::testing::internal::CaptureStdout();
    EXPECT_EQ(createCompleteDllFileName(languageGerman, audioKind, 1), "de_de\\aud___02.dll");
    EXPECT_EQ(word.getResourceDllName(languageGerman), "de_de\\aud___02.dll");
    EXPECT_EQ(::testing::internal::GetCapturedStdout(),
              "createCompleteDllFileName 000: 2 0 1\n"
              "createCompleteDllFileName 000: 2 0 1\n");
    EXPECT_EQ(word.getAudioFilePath(languageGerman, 4), "de_de\\mp3\\center\\w1234a.mp3");

    // Unless such a file happens to exist, there is nothing to play from.
    char text[512] = "";
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                   ERROR_MOD_NOT_FOUND, 1024, text, sizeof text, nullptr);
    ::testing::internal::CaptureStdout();
    EXPECT_EQ(word.getResourceModule(), nullptr);
    EXPECT_EQ(::testing::internal::GetCapturedStdout(),
              std::string("createCompleteDllFileName 000: 2 0 1\n"
                          "ERROR: Could not load DLL de_de\\aud___02.dll => FAILED with error "
                          "126: ") +
                  text + "\n");
}

}  // namespace
