#include "platform/shell/commandline.h"

#include <sys/stat.h>

#include "platform/files/path.h"
#include "platform/text/cp1252.h"

namespace platform {

std::vector<std::string> splitCommandLine(std::string_view commandLine) {
    std::vector<std::string> arguments;
    std::size_t position = 0;
    const std::size_t end = commandLine.size();
    while (true) {
        while (position < end && isBlank(commandLine[position])) ++position;
        if (position == end) break;
        std::string argument;
        bool quoted = false;
        while (position < end && (quoted || !isBlank(commandLine[position]))) {
            char c = commandLine[position];
            if (c == '\\') {
                std::size_t backslashes = 0;
                while (position < end && commandLine[position] == '\\') {
                    ++backslashes;
                    ++position;
                }
                if (position < end && commandLine[position] == '"') {
                    argument.append(backslashes / 2, '\\');
                    if (backslashes % 2 == 1) {
                        argument += '"';
                        ++position;
                    }
                } else {
                    argument.append(backslashes, '\\');
                }
            } else if (c == '"') {
                if (quoted && position + 1 < end && commandLine[position + 1] == '"') {
                    argument += '"';
                    ++position;
                }
                quoted = !quoted;
                ++position;
            } else {
                argument += c;
                ++position;
            }
        }
        arguments.push_back(std::move(argument));
    }
    return arguments;
}

std::string hostArgument(const std::string& argument, const std::string& directory) {
    if (argument.find('\\') != std::string::npos) {
        std::string host = hostPath(argument.c_str());
        std::string seen = host.empty() || host.front() == '/' || directory.empty()
                               ? host
                               : directory + "/" + host;
        struct stat status;
        if (stat(seen.c_str(), &status) == 0) return host;
    }
    return cp1252::toUtf8(argument.c_str());
}

}  // namespace platform
