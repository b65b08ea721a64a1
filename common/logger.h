// The process-wide log.
//
// A line is written when its level is not 0 and not above the level given to
// logInit; before logInit (level 0) every call returns at once. Lines go to the
// file (opened, appended to and closed for each line), or, with
// doLogWriteAtEnd, into a ring of 100000 lines that logFinish writes out.
// The caller supplies each line's own "\n".
#pragma once

void logInit(int level, const char* fileName, bool doLogWriteAtEnd, bool toDebugger,
             bool truncate, bool toConsole);
void logInitW(int level, const wchar_t* fileName, bool doLogWriteAtEnd, bool toDebugger,
              bool truncate);
void logPrint(int level, const char* format, ...)
#if defined(__GNUC__) && !defined(_WIN32)
    __attribute__((format(printf, 2, 3)))
#endif
    ;
void logPrintW(int level, const wchar_t* format, ...);
void logFinish();

// Whether a line of this level would be written now; lets callers skip
// building the arguments of trace lines that nobody will see.
bool logEnabled(int level);
