// The launcher's start-up: finds the installation, starts the Java runtime
// on Quillory.jar with the launcher's command line passed on, shows the
// splash window for four seconds and ends with 0. Every failure is shown in
// one message box and ends the launcher with -1. Progress marks go to
// "log.txt" in the current directory.
#pragma once

#include <optional>
#include <string>

#include "platform/win32.h"

// The program's entry. commandLine is what followed the program name (may
// be null); previous and showState are not used.
int launcherMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int showState);

// Values under HKEY_LOCAL_MACHINE\SOFTWARE\Brenvall\Quillory\3.0; nothing
// when the key or the value cannot be read. A value stored without its
// terminating zero is taken whole; one with an inner zero ends there.
std::optional<std::string> readRootDirectory();
std::optional<std::string> readLanguage();

// The directory as the installation directory is held: without trailing
// backslashes, which installers often write, but for the one of a root
// ("C:\", "\"), since "C:" and "" name other directories.
std::string withoutTrailingBackslashes(const std::string& directory);

// directory + "\" + name.
std::string joinPath(const std::string& directory, const std::string& name);
// Whether joinPath(directory, name) can be opened for reading.
bool fileExistsIn(const std::string& directory, const std::string& name);

// The current directory, however long.
std::string currentDirectory();
