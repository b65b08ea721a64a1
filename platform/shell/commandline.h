// Splitting a command line into arguments by Windows' rules, as
// CommandLineToArgvW splits what follows the program name:
//
// - outside quotes, blanks (spaces and tabs) separate arguments;
// - 2n backslashes before a quote become n backslashes, and the quote opens
//   or closes a quoted part; 2n + 1 backslashes before a quote become n
//   backslashes and a quote that is text;
// - backslashes before anything else are text;
// - inside a quoted part, two quotes become one quote that is text and
//   close the part.
//
// So "" is an empty argument, and a blank command line has none.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace platform {

std::vector<std::string> splitCommandLine(std::string_view commandLine);

// The blanks that separate arguments, and the program's name from them.
inline bool isBlank(char c) { return c == ' ' || c == '\t'; }

// An argument as a program of this machine should see it: one that holds a
// "\" and whose host form (code page 1252 to UTF-8, each "\" a "/") names an
// existing file or directory, relative ones from directory (a host path,
// empty for the current one), is given in host form; any other is given as
// it is, in UTF-8.
std::string hostArgument(const std::string& argument, const std::string& directory);

}  // namespace platform
