// A stand-in for the Java runtime's jre\bin\javaw.exe where there is no
// Windows JVM: it records how it was started into launch-record.txt beside
// itself and ends. The record, in UTF-8, one item a line:
//   cwd=<current directory>
//   cmdline=<the whole command line>
//   arg=<each argument after the program name, split by Windows' rules>
// The record is written under another name and renamed, so that whoever
// waits for it never reads half of it.
#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "windows/utf8.h"

namespace {

std::wstring ownDirectory() {
    std::vector<wchar_t> path(32768);
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    std::wstring directory(path.data(), length);
    return directory.substr(0, directory.find_last_of(L'\\'));
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    std::vector<wchar_t> cwd(32768);
    const DWORD cwdLength = GetCurrentDirectoryW(static_cast<DWORD>(cwd.size()), cwd.data());
    const wchar_t* commandLine = GetCommandLineW();

    std::string record = "cwd=" + toUtf8(std::wstring(cwd.data(), cwdLength)) + "\n" +
                         "cmdline=" + toUtf8(commandLine) + "\n";
    int count = 0;
    if (wchar_t** arguments = CommandLineToArgvW(commandLine, &count)) {
        for (int i = 1; i < count; ++i) record += "arg=" + toUtf8(arguments[i]) + "\n";
        LocalFree(arguments);
    }

    const std::wstring finished = ownDirectory() + L"\\launch-record.txt";
    const std::wstring partial = finished + L".part";
    HANDLE file = CreateFileW(partial.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 1;
    DWORD written = 0;
    const BOOL wrote = WriteFile(file, record.data(), static_cast<DWORD>(record.size()), &written,
                                 nullptr);
    CloseHandle(file);
    if (!wrote || written != record.size() ||
        !MoveFileExW(partial.c_str(), finished.c_str(), MOVEFILE_REPLACE_EXISTING))
        return 1;
    return 0;
}
