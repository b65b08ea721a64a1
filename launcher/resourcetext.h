// Texts of the launcher's string table.
#pragma once

#include <string>

#include "platform/win32.h"

// String id of the module's string table, whole however long (a string
// table entry holds at most 65535 characters). A string the module lacks
// comes from the program's own table: a language library may hold only
// some of the strings, and a message without its words explains nothing.
// Empty when neither has it.
std::string loadString(HINSTANCE module, UINT id);

// The version line from its pattern in the string table, which a language
// library may supply: the first "%s" stands for the version and "%%" for a
// percent sign; every other '%' is shown as it is, so no pattern can make
// the formatting read arguments that are not there.
std::string formatVersionLine(const std::string& pattern, const std::string& version);
