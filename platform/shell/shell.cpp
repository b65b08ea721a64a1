#include "platform/shell/shell.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>
#include <vector>

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

// The folder that holds path: everything before its last "/".
std::string parentOf(const std::string& path) {
    std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

INT_PTR programFailure(int error, const std::string& program) {
    switch (error) {
    case ENOENT:
        // The file is there, so what is missing is what runs it.
        if (exists(program)) return SE_ERR_DLLNOTFOUND;
        return exists(parentOf(program)) ? SE_ERR_FNF : SE_ERR_PNF;
    case ENOTDIR:
    case ELOOP: return SE_ERR_PNF;
    case ENAMETOOLONG: return SE_ERR_FNF;
    case ENOEXEC: return ERROR_BAD_FORMAT;
    case ETXTBSY: return SE_ERR_SHARE;
    case ENOMEM:
    case E2BIG:
    case EAGAIN: return SE_ERR_OOM;
    default: return SE_ERR_ACCESSDENIED;
    }
}

INT_PTR failure(const platform::SpawnResult& result, const std::string& program) {
    switch (result.step) {
    case platform::SpawnResult::kResources: return SE_ERR_OOM;
    case platform::SpawnResult::kDirectory:
        return result.error == EACCES ? SE_ERR_ACCESSDENIED : SE_ERR_PNF;
    case platform::SpawnResult::kProgram: return programFailure(result.error, program);
    case platform::SpawnResult::kStarted: break;
    }
    return 0;
}

DWORD lastErrorOf(INT_PTR code) {
    switch (code) {
    case SE_ERR_FNF: return ERROR_FILE_NOT_FOUND;
    case SE_ERR_PNF: return ERROR_PATH_NOT_FOUND;
    case SE_ERR_ACCESSDENIED: return ERROR_ACCESS_DENIED;
    case SE_ERR_OOM: return ERROR_NOT_ENOUGH_MEMORY;
    case ERROR_BAD_FORMAT: return ERROR_BAD_EXE_FORMAT;
    case SE_ERR_SHARE: return 32;      // ERROR_SHARING_VIOLATION
    case SE_ERR_NOASSOC: return 1155;  // ERROR_NO_ASSOCIATION
    case SE_ERR_DLLNOTFOUND: return ERROR_MOD_NOT_FOUND;
    default: return ERROR_INVALID_PARAMETER;
    }
}

HINSTANCE answer(INT_PTR code) {
    if (code <= 32) SetLastError(lastErrorOf(code));
    return reinterpret_cast<HINSTANCE>(code);
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
    if (result.step != platform::SpawnResult::kStarted) return answer(failure(result, program));
    // What Windows answers for a started program.
    return answer(42);
}
