// Quillory: the program the user starts. Windows hands a GUI program its
// command line after the program name as one text in the ANSI code page;
// elsewhere main makes that text from the host's UTF-8 arguments.
#include <string>
#include <vector>

#include "common/textconv.h"
#include "launcher/commandline.h"
#include "launcher/launcher.h"

#ifdef _WIN32
int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int showState) {
    return launcherMain(instance, previous, commandLine, showState);
}
#else
int main(int argc, char** argv) {
    std::vector<std::string> arguments;
    for (int i = 1; i < argc; ++i) arguments.push_back(toNarrowAcp(fromUtf8(argv[i], -1)));
    std::string commandLine = joinCommandLine(arguments);
    return launcherMain(GetModuleHandleA(nullptr), nullptr, commandLine.data(), SW_SHOWNORMAL);
}
#endif
