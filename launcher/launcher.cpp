#include "launcher/launcher.h"

#include <cstdio>
#include <vector>

#include "common/logger.h"
#include "launcher/commandline.h"
#include "launcher/messageloop.h"
#include "launcher/palette.h"
#include "launcher/resourcetext.h"
#include "launcher/splash.h"

namespace {

constexpr char kRegistryKey[] = "SOFTWARE\\Brenvall\\Quillory\\3.0";
constexpr char kProduct[] = "Quillory";
constexpr char kArchive[] = "Quillory.jar";
constexpr char kJavaRuntime[] = "jre\\bin\\javaw.exe";
constexpr char kVersion[] = "3.0";
constexpr UINT kCaptionStringId = 113;

std::optional<std::string> readRegistryValue(const char* name) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kRegistryKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return std::nullopt;
    std::optional<std::string> value;
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExA(key, name, nullptr, &type, nullptr, &size) == ERROR_SUCCESS) {
        // One byte more than asked for: the value need not end with a zero.
        std::vector<BYTE> data(static_cast<std::size_t>(size) + 1, 0);
        DWORD read = size;
        if (RegQueryValueExA(key, name, nullptr, &type, data.data(), &read) == ERROR_SUCCESS &&
            read <= size) {
            value = std::string(reinterpret_cast<const char*>(data.data()));
        }
    }
    RegCloseKey(key);
    return value;
}

// What a failure leaves in the log, around its message box.
struct FailureMarks {
    const char* beforeCaption;
    const char* beforeBox;
    const char* afterBox;
    const char* atEnd;
};

void logMark(const char* mark) {
    if (mark != nullptr) logPrint(1, "%s", mark);
}

int failStart(HINSTANCE module, const std::string& text, const FailureMarks& marks) {
    logMark(marks.beforeCaption);
    const std::string caption = loadString(module, kCaptionStringId);
    logMark(marks.beforeBox);
    MessageBoxA(nullptr, text.c_str(), caption.c_str(), MB_ICONINFORMATION);
    logMark(marks.afterBox);
    canvasRelease();
    logMark(marks.atEnd);
    return -1;
}

}  // namespace

std::optional<std::string> readRootDirectory() { return readRegistryValue("RootDirectory"); }

std::optional<std::string> readLanguage() { return readRegistryValue("Language"); }

std::string withoutTrailingBackslashes(const std::string& directory) {
    const std::size_t last = directory.find_last_not_of('\\');
    const std::size_t length = last == std::string::npos ? 0 : last + 1;
    const bool root = length == 0 || (length == 2 && directory[1] == ':');
    return directory.substr(0, root && length < directory.size() ? length + 1 : length);
}

std::string joinPath(const std::string& directory, const std::string& name) {
    return directory + "\\" + name;
}

bool fileExistsIn(const std::string& directory, const std::string& name) {
    std::FILE* file = _fsopen(joinPath(directory, name).c_str(), "r", _SH_DENYNO);
    if (file == nullptr) return false;
    std::fclose(file);
    return true;
}

std::string currentDirectory() {
    std::vector<char> buffer(MAX_PATH);
    for (;;) {
        const DWORD length = GetCurrentDirectoryA(static_cast<DWORD>(buffer.size()), buffer.data());
        if (length == 0) return {};
        if (length < buffer.size()) return std::string(buffer.data(), length);
        // Too small: length is the size needed, terminator included.
        buffer.resize(static_cast<std::size_t>(length) + 1);
    }
}

int launcherMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
    canvasInit();
    logInit(10, "log.txt", false, false, true, false);

    const std::string startDirectory = currentDirectory();
    std::string rootDir = startDirectory;

    const std::optional<std::string> language = readLanguage();
    const std::string satellitePath = startDirectory + "\\bin\\" +
                                      (language ? *language : std::string("(null)")) +
                                      "\\Satellite.dll";
    logPrint(1, "Satellite path: %s\n", satellitePath.c_str());
    HINSTANCE resources = instance;
    if (HMODULE satellite = LoadLibraryA(satellitePath.c_str())) resources = satellite;

    registerSplashClass(resources);
    logPrint(1, "mark 100\n");

    const auto text = [resources](UINT id) { return loadString(resources, id); };

    if (!fileExistsIn(rootDir, kArchive)) {
        logPrint(1, "mark 110\n");
        const std::optional<std::string> registered = readRootDirectory();
        logPrint(1, "mark 111\n");
        if (!registered) {
            logPrint(1, "mark 112\n");
            const std::string message = std::string(kProduct) + " " + text(102) + ".\n" +
                                        text(103) + ".\n" + text(104) + ".";
            return failStart(resources, message,
                             {"mark 120\n", "mark 121\n", "mark 122\n", "mark 999 1\n"});
        }
        logPrint(1, "mark 130\n");
        rootDir = withoutTrailingBackslashes(*registered);
        if (!fileExistsIn(rootDir, kArchive)) {
            logPrint(1, "mark 135\n");
            const std::string message = std::string(kProduct) + " " + text(105) + " " + kArchive +
                                        " " + text(106) + "\n" + text(107) + "\n" + text(108);
            return failStart(resources, message,
                             {"mark 140\n", "mark 141\n", "mark 142\n", "mark 999 2\n"});
        }
    }

    logPrint(1, "mark 150\n");
    const std::string archivePath = joinPath(rootDir, kArchive);
    // Quoted by the rules the runtime splits by: a root keeps its backslash,
    // which must not escape the closing quote.
    const std::string jarOption = "-Dsun.java2d.d3d=false -jar " + quoteAlways(archivePath) +
                                  " " + quoteAlways(rootDir) + " " +
                                  (commandLine != nullptr ? commandLine : "");
    logPrint(1, "mark 210\n");

    if (!fileExistsIn(rootDir, kJavaRuntime)) {
        logPrint(1, "mark 300\n");
        const std::string message = std::string(kProduct) + " " + text(110) + "\n" +
                                    kJavaRuntime + " " + text(111) + "\n" + rootDir + "\n" +
                                    text(112);
        return failStart(resources, message, {nullptr, nullptr, nullptr, nullptr});
    }

    const std::string javaexePath = joinPath(rootDir, kJavaRuntime);
    logPrint(1, "mark 211: jarOption: %s\n", jarOption.c_str());
    logPrint(1, "mark 211: javaexePath: %s\n", javaexePath.c_str());
    logPrint(1, "mark 211: rootDir: %s\n", rootDir.c_str());

    HINSTANCE started = ShellExecuteA(nullptr, nullptr, javaexePath.c_str(), jarOption.c_str(),
                                      rootDir.c_str(), SW_SHOWNORMAL);
    if (reinterpret_cast<LONG_PTR>(started) <= 32) {
        logPrint(1, "mark 212\n");
        const std::string message = std::string(kProduct) + " " + text(109);
        return failStart(resources, message, {nullptr, nullptr, nullptr, "mark 999 3\n"});
    }

    logPrint(1, "mark 220\n");
    const std::string version = kVersion;
    logPrint(1, "mark 230\n");
    splashScreen.versionText = version;
    logPrint(1, "mark 251\n");
    splashScreen.create(kSplashBitmapId);
    logPrint(1, "mark 260\n");

    const int exitCode = runMessageLoop(nullptr);
    canvasRelease();
    return exitCode;
}
