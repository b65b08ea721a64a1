#include "platform/core/errortext.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

#include "platform/core/localmemory.h"

namespace {

constexpr DWORD kFlags = FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS |
                         FORMAT_MESSAGE_ALLOCATE_BUFFER;
constexpr DWORD kNeutral = MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT);

// The text as the system's error reports fetch it.
std::string systemText(DWORD code, DWORD language = kNeutral) {
    LPSTR text = nullptr;
    DWORD length = FormatMessageA(kFlags, nullptr, code, language,
                                  reinterpret_cast<LPSTR>(&text), 0, nullptr);
    if (length == 0) {
        EXPECT_EQ(text, nullptr);
        return {};
    }
    EXPECT_EQ(length, std::strlen(text));
    std::string result(text, length);
    EXPECT_EQ(LocalFree(text), nullptr);
    return result;
}

}  // namespace

TEST(FormatMessage, HasATextForEveryCodeTheLayerSets) {
    const DWORD codes[] = {ERROR_SUCCESS,
                           ERROR_FILE_NOT_FOUND,
                           ERROR_PATH_NOT_FOUND,
                           ERROR_TOO_MANY_OPEN_FILES,
                           ERROR_ACCESS_DENIED,
                           ERROR_INVALID_HANDLE,
                           ERROR_NOT_ENOUGH_MEMORY,
                           ERROR_INVALID_PARAMETER,
                           ERROR_INSUFFICIENT_BUFFER,
                           ERROR_MOD_NOT_FOUND,
                           ERROR_BAD_EXE_FORMAT,
                           ERROR_MR_MID_NOT_FOUND,
                           ERROR_INVALID_FLAGS,
                           ERROR_NO_UNICODE_TRANSLATION,
                           ERROR_RESOURCE_DATA_NOT_FOUND,
                           ERROR_RESOURCE_TYPE_NOT_FOUND,
                           ERROR_RESOURCE_NAME_NOT_FOUND,
                           ERROR_RESOURCE_LANG_NOT_FOUND,
                           11, 13, 29, 30, 32, 109, 112, 158, 161, 206, 234, 259, 267, 1015,
                           1018, 1400, 1407, 1410, 1450};
    std::set<std::string> texts;
    for (DWORD code : codes) {
        std::string text = systemText(code);
        ASSERT_GT(text.size(), 4u) << code;
        EXPECT_EQ(text.substr(text.size() - 2), "\r\n") << code;
        EXPECT_EQ(text.find('%'), std::string::npos) << code;
        EXPECT_EQ(text.find('\n'), text.size() - 1) << "one line: " << code;
        texts.insert(text);
    }
    EXPECT_EQ(texts.size(), std::size(codes)) << "each code has its own text";
    EXPECT_EQ(systemText(ERROR_MOD_NOT_FOUND, 0), systemText(ERROR_MOD_NOT_FOUND));
}

TEST(FormatMessage, FailsForCodesWithoutText) {
    for (DWORD code : {1u, 999u, 0xFFFFFFFFu}) {
        SetLastError(ERROR_SUCCESS);
        EXPECT_EQ(systemText(code), "");
        EXPECT_EQ(GetLastError(), ERROR_MR_MID_NOT_FOUND) << code;
    }
    SetLastError(ERROR_SUCCESS);
    EXPECT_EQ(systemText(ERROR_MOD_NOT_FOUND, MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN)), "");
    EXPECT_EQ(GetLastError(), ERROR_RESOURCE_LANG_NOT_FOUND);
}

TEST(FormatMessage, FillsACallersBufferOnlyWhenTheTextFits) {
    std::string expected = systemText(ERROR_FILE_NOT_FOUND);
    constexpr DWORD flags = FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS;
    char buffer[1000];
    EXPECT_EQ(FormatMessageA(flags, nullptr, ERROR_FILE_NOT_FOUND, kNeutral, buffer, sizeof buffer,
                             nullptr),
              expected.size());
    EXPECT_EQ(std::string(buffer), expected);

    auto exact = static_cast<DWORD>(expected.size() + 1);
    EXPECT_EQ(
        FormatMessageA(flags, nullptr, ERROR_FILE_NOT_FOUND, kNeutral, buffer, exact, nullptr),
        expected.size());
    SetLastError(ERROR_SUCCESS);
    EXPECT_EQ(FormatMessageA(flags, nullptr, ERROR_FILE_NOT_FOUND, kNeutral, buffer, exact - 1,
                             nullptr),
              0u);
    EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
}

TEST(FormatMessage, AllocatesAtLeastTheSizeAskedFor) {
    LPSTR text = nullptr;
    DWORD length = FormatMessageA(kFlags, nullptr, ERROR_SUCCESS, kNeutral,
                                  reinterpret_cast<LPSTR>(&text), 4096, nullptr);
    ASSERT_NE(text, nullptr);
    ASSERT_GT(length, 0u);
    std::memset(text, 'x', 4096);  // the sanitizer checks the size
    EXPECT_EQ(LocalFree(text), nullptr);
}

TEST(FormatMessage, ServesOnlyTheSystemsTexts) {
    char buffer[100];
    for (DWORD flags : {FORMAT_MESSAGE_FROM_STRING, FORMAT_MESSAGE_FROM_HMODULE,
                        FORMAT_MESSAGE_FROM_SYSTEM | 80u}) {
        SetLastError(ERROR_SUCCESS);
        EXPECT_EQ(FormatMessageA(flags, "text", 2, 0, buffer, sizeof buffer, nullptr), 0u);
        EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER) << flags;
    }
    EXPECT_EQ(FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM, nullptr, 2, 0, nullptr, 100, nullptr), 0u);
}

TEST(LocalMemory, AllocatesFixedBlocks) {
    auto* zeroed = static_cast<unsigned char*>(LocalAlloc(LPTR, 64));
    ASSERT_NE(zeroed, nullptr);
    for (int i = 0; i < 64; ++i) EXPECT_EQ(zeroed[i], 0);
    EXPECT_EQ(LocalFree(zeroed), nullptr);

    void* empty = LocalAlloc(LMEM_FIXED, 0);
    EXPECT_NE(empty, nullptr);
    LocalFree(empty);
    EXPECT_EQ(LocalFree(nullptr), nullptr);

    SetLastError(ERROR_SUCCESS);
    EXPECT_EQ(LocalAlloc(LMEM_MOVEABLE, 16), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
}

// As GlobalFree does, where the C library would end the process.
TEST(LocalMemory, RefusesToFreeWhatItDidNotHandOutOrFreedAlready) {
    void* freed = LocalAlloc(LMEM_FIXED, 16);
    auto* kept = static_cast<char*>(LocalAlloc(LPTR, 64));
    ASSERT_NE(freed, nullptr);
    ASSERT_NE(kept, nullptr);
    EXPECT_EQ(LocalFree(freed), nullptr);
    int notABlock = 0;
    for (void* refused : {freed, static_cast<void*>(&notABlock), static_cast<void*>(kept + 1)}) {
        SetLastError(ERROR_SUCCESS);
        EXPECT_EQ(LocalFree(refused), refused);
        EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    }
    EXPECT_EQ(kept[63], 0) << "the block lives on";
    EXPECT_EQ(LocalFree(kept), nullptr);
}
