// A hidden process whose output is captured.
#pragma once

#include <string>

#include "platform/win32.h"

// Starts program (quoted) with arguments, collects what it writes to standard
// output and standard error while it runs (appended to output as text, each
// chunk up to its first NUL), and returns true once it has ended. When it
// cannot be started, shows "<program> failed with error <code>: <system
// text>" in a message box captioned "Error", puts the same text in error and
// returns false.
bool runCommand(const char* program, const char* arguments, std::string& output,
                std::string& error);

// Clears buffer, and when the pipe holds data reads at most size - 1 bytes of
// it; answers the count read. A size below 2 reads nothing.
DWORD readPipe(HANDLE pipe, char* buffer, DWORD size);
