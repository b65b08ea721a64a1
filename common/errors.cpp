#include "common/errors.h"

#include "common/logger.h"
#include "common/strings.h"
#include "common/textconv.h"
#include "platform/win32.h"

namespace {

int ErrorFlag = 0;

constexpr DWORD kUserDefaultLanguage = MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT);

}  // namespace

std::string systemMessage(unsigned long code) {
    LPSTR text = nullptr;
    DWORD length = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, static_cast<DWORD>(code), kUserDefaultLanguage, reinterpret_cast<LPSTR>(&text),
        0, nullptr);
    std::string result = length != 0 && text != nullptr ? std::string(text, length) : std::string();
    if (text != nullptr) LocalFree(text);
    return result;
}

void reportError(const char* text, int level, bool showBox) {
    logPrint(level, "ERROR: %s\n", text);
    if (showBox) MessageBoxA(nullptr, text, "Error", MB_OK);
}

void reportErrorW(const wchar_t* text, int level, bool showBox) {
    // Narrowed first: the Windows runtime's own "%ls" fails on a character
    // its "C" locale cannot take, and the line would be lost.
    logPrint(level, "ERROR: %s\n", text != nullptr ? toNarrowAcp(text).c_str() : "(null)");
    if (showBox) MessageBoxW(nullptr, text, L"Error", MB_OK);
}

void reportErrorStr(std::string text, int level, bool showBox) {
    reportError(text.c_str(), level, showBox);
}

void reportErrorWStr(std::wstring text, int level, bool showBox) {
    reportErrorW(text.c_str(), level, showBox);
}

void setErrorFlag(int value) { ErrorFlag = value; }

int errorFlag() { return ErrorFlag; }

std::string failureText(const char* name, unsigned long code) {
    return formatString("%s failed with error %d: %s", name, static_cast<int>(code),
                        systemMessage(code).c_str());
}

std::string lastErrorText(const char* operation) {
    DWORD code = GetLastError();
    return failureText(operation, code);
}

std::string systemErrorText(int code) {
    return formatString("Error %d: %s", code,
                        systemMessage(static_cast<unsigned long>(code)).c_str());
}
