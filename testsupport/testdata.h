// The files the build makes for the tests, in the folder that CTest names
// in QUILL_TEST_DATA.
#pragma once

#include <string>

namespace testsupport {

// The host path (UTF-8) of a file of the test data, or of the folder itself,
// ending with "/", for an empty name. Throws when QUILL_TEST_DATA is unset or
// the file is missing: a test run by hand, outside CTest, says so at once
// instead of failing later on an empty file.
std::string testData(const std::string& name = "");

}  // namespace testsupport
