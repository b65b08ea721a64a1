// Paths in Windows form turned into paths of the host file system.
//
// Above the layer a path is narrow text in code page 1252 with "\" between
// its parts ("D:\media\de_de\aud_de_de_mc_02.dll", "..\Wörter\a.dll"). The
// host names files in UTF-8 with "/" between the parts, so the text is
// converted and every backslash becomes a slash. Nothing else changes: a
// relative path stays relative to the current directory, and a drive letter
// is kept as part of the first name.
#pragma once

#include <string>

namespace platform {

std::string hostPath(const char* windowsPath);

}  // namespace platform
