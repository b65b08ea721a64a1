// A program with resources of its own: resdll/program.dll of the test data
// is embedded into this test (quill_embed_resources).
#include <gtest/gtest.h>

#include <vector>

#include "platform/module/module.h"
#include "testsupport/testdata.h"
#include "testsupport/wholefile.h"

namespace {

std::vector<BYTE> testBitmap() {
    const std::vector<BYTE> bytes = testsupport::readBytes(testsupport::testData("test.bmp"));
    return bytes.size() > 14 ? std::vector<BYTE>(bytes.begin() + 14, bytes.end()) : bytes;
}

}  // namespace

TEST(EmbeddedResources, AreTheProgramModulesResources) {
    HMODULE program = GetModuleHandleA(nullptr);
    ASSERT_NE(program, nullptr);
    for (HMODULE module : {program, HMODULE{}}) {
        HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(107), RT_BITMAP);
        ASSERT_NE(found, nullptr) << GetLastError();
        const auto* bytes = static_cast<const BYTE*>(LockResource(LoadResource(module, found)));
        ASSERT_NE(bytes, nullptr);
        std::vector<BYTE> bitmap(bytes, bytes + SizeofResource(module, found));
        EXPECT_EQ(bitmap, testBitmap());
    }
}

TEST(EmbeddedResources, HoldTheProgramsStrings) {
    char text[1024];
    EXPECT_EQ(LoadStringA(nullptr, 113, text, sizeof text), 17);
    EXPECT_STREQ(text, "Quillory Launcher");
    EXPECT_GT(LoadStringA(GetModuleHandleA(nullptr), 115, text, sizeof text), 0);
    EXPECT_STREQ(text, "Version %s");
    EXPECT_GT(LoadStringA(nullptr, 118, text, sizeof text), 0);
    EXPECT_STREQ(text, "Sch\xF6ne Gr\xFC\xDF" "e");

    SetLastError(ERROR_SUCCESS);
    EXPECT_EQ(LoadStringA(nullptr, 114, text, sizeof text), 0);
    EXPECT_EQ(GetLastError(), ERROR_RESOURCE_NAME_NOT_FOUND);
    SetLastError(ERROR_SUCCESS);
    EXPECT_EQ(FindResourceA(nullptr, MAKEINTRESOURCEA(1702), "MP3"), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_RESOURCE_TYPE_NOT_FOUND);
}
