#include "testsupport/testdata.h"

#include <cstdlib>
#include <filesystem>
#include <stdexcept>

namespace testsupport {

std::string testData(const std::string& name) {
    const char* folder = std::getenv("QUILL_TEST_DATA");
    if (folder == nullptr || folder[0] == '\0') {
        throw std::runtime_error("QUILL_TEST_DATA is not set: run the tests with ctest");
    }
    const std::string path = std::string(folder) + "/" + name;
    if (!std::filesystem::exists(path)) throw std::runtime_error("no test data " + path);
    return path;
}

}  // namespace testsupport
