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

// The last error of an operation other than "open"; no other call answers it.
constexpr DWORD ERROR_NO_ASSOCIATION = 1155;

// ShellExecute answers with codes of its own, the old ones below 32, and
// the last error names the failure as every other service does; a failure
// without a code of its own (a name too long, too many open files) answers
// the nearest.
INT_PTR shellCodeOf(DWORD error) {
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_FILENAME_EXCED_RANGE: return SE_ERR_FNF;
    case ERROR_PATH_NOT_FOUND: return SE_ERR_PNF;
    case ERROR_NOT_ENOUGH_MEMORY: return SE_ERR_OOM;
    case ERROR_BAD_EXE_FORMAT: return ERROR_BAD_FORMAT;
    case ERROR_SHARING_VIOLATION: return SE_ERR_SHARE;
    case ERROR_NO_ASSOCIATION: return SE_ERR_NOASSOC;
    case ERROR_MOD_NOT_FOUND: return SE_ERR_DLLNOTFOUND;
    default: return SE_ERR_ACCESSDENIED;
    }
}

HINSTANCE fail(DWORD error) {
    SetLastError(error);
    return reinterpret_cast<HINSTANCE>(shellCodeOf(error));
}

// Why a start failed, at a step other than kStarted.
DWORD errorOf(const platform::SpawnResult& result, const std::string& program) {
    if (result.step == platform::SpawnResult::kResources) return ERROR_NOT_ENOUGH_MEMORY;
    if (result.step == platform::SpawnResult::kDirectory) {
        return result.error == EACCES ? ERROR_ACCESS_DENIED : ERROR_PATH_NOT_FOUND;
    }
    // The file is there, so what is missing is what runs it.
    if (result.error == ENOENT && exists(program)) return ERROR_MOD_NOT_FOUND;
    return platform::errorOfErrno(result.error, program);
}

}  // namespace

HINSTANCE ShellExecuteA(HWND, LPCSTR operation, LPCSTR file, LPCSTR parameters, LPCSTR directory,
                        INT) {
    if (!isOpen(operation)) return fail(ERROR_NO_ASSOCIATION);
    if (file == nullptr || *file == '\0') return fail(ERROR_FILE_NOT_FOUND);
    std::string program = from(currentDirectory(), platform::hostPath(file));
    std::string workingDirectory;
    if (directory != nullptr) workingDirectory = platform::hostPath(directory);

    std::vector<std::string> arguments{program};
    for (const std::string& argument : platform::splitCommandLine(parameters ? parameters : "")) {
        arguments.push_back(platform::hostArgument(argument, workingDirectory));
    }
    platform::SpawnResult result = platform::spawnDetached(program, arguments, workingDirectory);
    if (result.step != platform::SpawnResult::kStarted) return fail(errorOf(result, program));
    // What Windows answers for a started program.
    return reinterpret_cast<HINSTANCE>(42);
}
