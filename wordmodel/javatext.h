// Java strings as the word model sees them.
//
// The JVM hands strings over as modified UTF-8. On Windows the libraries took
// them through the ANSI code page, so the word model only ever sees
// characters of code page 1252: every other character arrives as the code
// page's substitute. This keeps that round trip, and takes the usual words
// (ASCII and the Latin-1 letters such as ä, ö, ü, ß, which the round trip
// leaves as they are) straight through without the intermediate texts.
#pragma once

#include <string>

// The NUL-terminated modified UTF-8 text, decoded, narrowed to the ANSI code
// page and widened again.
std::wstring javaTextToWide(const char* chars);
