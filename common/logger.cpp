#include "common/logger.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>

#include "common/strings.h"
#include "common/textconv.h"
#include "platform/win32.h"

namespace {

constexpr int kRingSlots = 100000;
constexpr int kSlotSize = 1000;
constexpr std::size_t kFileNameSize = 1000;

constexpr char kEndBanner[] =
    "* * * * * * * * * * * * * * * * * *   E N D   O F   L O G F I L E   "
    "* * * * * * * * * * * * * * * * * *\n";
static_assert(sizeof(kEndBanner) - 1 == 104);

struct LogRingBuffer {
    int LogLevel;
    bool doLogWriteAtEnd;
    bool toDebugger;
    bool toConsole;
    bool truncate;
    char logFileName[kFileNameSize];
    char logFileMode[10];
    int nextSlot;
    bool lockExists;
    CRITICAL_SECTION lock;
};

LogRingBuffer logState = {0, false, false, false, false, "log.txt", "", 0, false, {}};

// The ring stays out of the state record so that it lands in zero-initialised
// storage: about 100 MB that cost nothing until lines are kept.
char logRing[kRingSlots][kSlotSize];

void lockLog() {
    if (logState.lockExists) EnterCriticalSection(&logState.lock);
}

void unlockLog() {
    if (logState.lockExists) LeaveCriticalSection(&logState.lock);
}

std::FILE* openLogFile(const char* mode) {
    return _fsopen(logState.logFileName, mode, _SH_DENYNO);
}

// Console, debugger aside: the ring or the file. Called with the lock held.
void storeLine(const char* line) {
    if (logState.doLogWriteAtEnd) {
        std::snprintf(logRing[logState.nextSlot], kSlotSize, "%s", line);
        if (++logState.nextSlot == kRingSlots) logState.nextSlot = 0;
        std::snprintf(logRing[logState.nextSlot], kSlotSize, "%s", kEndBanner);
        return;
    }
    if (std::FILE* file = openLogFile("a")) {
        std::fputs(line, file);
        std::fclose(file);
    }
}

}  // namespace

void logInit(int level, const char* fileName, bool doLogWriteAtEnd, bool toDebugger,
             bool truncate, bool toConsole) {
    if (!logState.lockExists) {
        InitializeCriticalSection(&logState.lock);
        logState.lockExists = true;
    }
    logState.doLogWriteAtEnd = doLogWriteAtEnd;
    logState.toDebugger = toDebugger;
    logState.truncate = truncate;
    logState.toConsole = toConsole;
    logState.LogLevel = level;
    if (level == 0) return;

    // A longer name is cut rather than written past the array.
    if (fileName != nullptr) {
        std::snprintf(logState.logFileName, kFileNameSize, "%s", fileName);
    }
    std::snprintf(logState.logFileMode, sizeof logState.logFileMode, "%s",
                  truncate ? "w" : "a");

    lockLog();
    if (std::FILE* file = openLogFile(logState.logFileMode)) std::fclose(file);
    // Only the ring mode ever reads the slots back (logFinish writes them only
    // with doLogWriteAtEnd, which needs a logInit that clears them), so a file
    // mode log leaves the 100 MB untouched.
    if (doLogWriteAtEnd) {
        for (auto& slot : logRing) slot[0] = '\0';
    }
    unlockLog();
}

void logInitW(int level, const wchar_t* fileName, bool doLogWriteAtEnd, bool toDebugger,
              bool truncate) {
    if (fileName == nullptr) {
        // No name keeps the current one, as in logInit.
        logInit(level, nullptr, doLogWriteAtEnd, toDebugger, truncate, false);
        return;
    }
    std::string narrowName = toNarrowAcp(fileName, -1);
    logInit(level, narrowName.c_str(), doLogWriteAtEnd, toDebugger, truncate, false);
}

bool logEnabled(int level) {
    return level != 0 && logState.LogLevel != 0 && level <= logState.LogLevel;
}

void logPrint(int level, const char* format, ...) {
    if (!logEnabled(level)) return;
    lockLog();
    va_list args;
    va_start(args, format);
    std::string line;
    if (formatStringV(line, format, args)) {
        if (logState.toDebugger) OutputDebugStringA(line.c_str());
        if (logState.toConsole) std::printf("%s", line.c_str());
        storeLine(line.c_str());
    }
    va_end(args);
    unlockLog();
}

void logPrintW(int level, const wchar_t* format, ...) {
    if (!logEnabled(level)) return;
    va_list args;
    va_start(args, format);
    std::wstring line;
    const bool formatted = formatStringVW(line, format, args);
    va_end(args);
    if (!formatted) return;

    // Console, ring and file all get the line in the ANSI code page, as the
    // runtime's wide output to a narrow stream would convert it.
    std::string narrowLine = toNarrowAcp(line.c_str(), -1);
    lockLog();
    if (logState.toDebugger) OutputDebugStringW(line.c_str());
    if (logState.toConsole) std::printf("%s", narrowLine.c_str());
    storeLine(narrowLine.c_str());
    unlockLog();
}

void logFinish() {
    lockLog();
    if (logState.doLogWriteAtEnd && logState.LogLevel != 0) {
        if (std::FILE* file = openLogFile(logState.logFileMode)) {
            std::fprintf(file, "LogLevel: %d doLogWriteAtEnd: %d\n", logState.LogLevel,
                         logState.doLogWriteAtEnd ? 1 : 0);
            for (const auto& slot : logRing) std::fputs(slot, file);
            std::fclose(file);
        }
    }
    if (logState.lockExists) {
        LeaveCriticalSection(&logState.lock);
        DeleteCriticalSection(&logState.lock);
        logState.lockExists = false;
    }
}
