// The command line a Windows program receives: its arguments after the
// program name, joined into one text the way a Windows shell joins them.
#pragma once

#include <string>
#include <vector>

// One argument as the Windows runtime will split it back: unchanged when it
// needs no quotes, otherwise in double quotes with quotes and the
// backslashes before them escaped.
std::string quoteArgument(const std::string& argument);
// The argument in double quotes whatever it holds, escaped the same way: a
// path that ends with a backslash ("C:\") must not escape its closing quote.
std::string quoteAlways(const std::string& argument);
// The arguments, each quoted as needed, separated by single blanks.
std::string joinCommandLine(const std::vector<std::string>& arguments);
