// Whole files as the tests read and write them: every byte as it is (binary
// mode), through the host's file access, which takes the build's paths in
// UTF-8 on Linux.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace testsupport {

// The file's bytes; empty when there is no such file, as for a log that
// nothing has been written to yet.
std::string readFile(const std::filesystem::path& path);
std::vector<unsigned char> readBytes(const std::filesystem::path& path);

// Makes or replaces the file with these bytes; throws when it cannot be
// written, so that no test goes on with a file it only thinks it made.
void writeFile(const std::filesystem::path& path, std::string_view bytes);
void writeBytes(const std::filesystem::path& path, const std::vector<unsigned char>& bytes);

// The bytes a stream opened in text mode writes for text: on Windows the C
// runtime writes "\r\n" for each "\n".
std::string textModeBytes(std::string text);

}  // namespace testsupport
