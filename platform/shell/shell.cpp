#include "platform/shell/shell.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/core/hosterror.h"
#include "platform/files/path.h"
#include "platform/shell/commandline.h"
#include "platform/shell/spawn.h"
#include "platform/text/cp1252.h"

namespace {

bool exists(const std::string& path) {
    struct stat status;
    return stat(path.c_str(), &status) == 0;
}

bool isOpen(LPCSTR operation) {
    if (operation == nullptr) return true;
    std::string verb(operation);
    for (char& c : verb) {
        c = static_cast<char>(platform::cp1252::toLower(static_cast<unsigned char>(c)));
    }
    return verb.empty() || verb == "open";
}

std::string currentDirectory() {
    char* current = getcwd(nullptr, 0);
    if (current == nullptr) return {};
    std::string path(current);
    std::free(current);
    return path;
}

// A relative path starts from base, itself relative to the current
// directory when it is.
std::string from(const std::string& base, const std::string& path) {
    if (path.empty() || path.front() == '/' || base.empty()) return path;
    return base + "/" + path;
}

// ShellExecute answers with codes of its own, the old ones below 32; a
// failure without one of them (a name too long, too many open files) answers
// the nearest, and the last error tells it as every other service does.
INT_PTR shellCodeOf(DWORD error) {
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_FILENAME_EXCED_RANGE: return SE_ERR_FNF;
    case ERROR_PATH_NOT_FOUND: return SE_ERR_PNF;
    case ERROR_NOT_ENOUGH_MEMORY: return SE_ERR_OOM;
    case ERROR_BAD_EXE_FORMAT: return ERROR_BAD_FORMAT;
    case ERROR_SHARING_VIOLATION: return SE_ERR_SHARE;
    default: return SE_ERR_ACCESSDENIED;
    }
}

DWORD lastErrorOf(INT_PTR code) {
    switch (code) {
    case SE_ERR_FNF: return ERROR_FILE_NOT_FOUND;
    case SE_ERR_PNF: return ERROR_PATH_NOT_FOUND;
    case SE_ERR_ACCESSDENIED: return ERROR_ACCESS_DENIED;
    case SE_ERR_OOM: return ERROR_NOT_ENOUGH_MEMORY;
    case SE_ERR_NOASSOC: return 1155;  // ERROR_NO_ASSOCIATION
    case SE_ERR_DLLNOTFOUND: return ERROR_MOD_NOT_FOUND;
    default: return ERROR_INVALID_PARAMETER;
    }
}

HINSTANCE answer(INT_PTR code, DWORD error) {
    SetLastError(error);
    return reinterpret_cast<HINSTANCE>(code);
}

HINSTANCE answer(INT_PTR code) {
    if (code <= 32) return answer(code, lastErrorOf(code));
    return reinterpret_cast<HINSTANCE>(code);
}

HINSTANCE programFailure(int error, const std::string& program) {
    // The file is there, so what is missing is what runs it.
    if (error == ENOENT && exists(program)) return answer(SE_ERR_DLLNOTFOUND);
    DWORD windowsError = platform::errorOfErrno(error, program);
    return answer(shellCodeOf(windowsError), windowsError);
}

HINSTANCE failure(const platform::SpawnResult& result, const std::string& program) {
    switch (result.step) {
    case platform::SpawnResult::kResources: return answer(SE_ERR_OOM);
    case platform::SpawnResult::kDirectory:
        return answer(result.error == EACCES ? SE_ERR_ACCESSDENIED : SE_ERR_PNF);
    case platform::SpawnResult::kProgram: return programFailure(result.error, program);
    case platform::SpawnResult::kStarted: break;
    }
    return answer(0);
}

}  // namespace

HINSTANCE ShellExecuteA(HWND, LPCSTR operation, LPCSTR file, LPCSTR parameters, LPCSTR directory,
                        INT) {
    if (!isOpen(operation)) return answer(SE_ERR_NOASSOC);
    if (file == nullptr || *file == '\0') return answer(SE_ERR_FNF);
    std::string program = from(currentDirectory(), platform::hostPath(file));
    std::string workingDirectory;
    if (directory != nullptr) workingDirectory = platform::hostPath(directory);

    std::vector<std::string> arguments{program};
    for (const std::string& argument : platform::splitCommandLine(parameters ? parameters : "")) {
        arguments.push_back(platform::hostArgument(argument, workingDirectory));
    }
    platform::SpawnResult result = platform::spawnDetached(program, arguments, workingDirectory);
    if (result.step != platform::SpawnResult::kStarted) return failure(result, program);
    // What Windows answers for a started program.
    return answer(42);
}
