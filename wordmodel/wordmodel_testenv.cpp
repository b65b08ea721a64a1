// Sets the word library up once for every test of this program, as the
// first nativeInit of a process would.
#include <gtest/gtest.h>

#include "wordmodel/library.h"

namespace {

class WordLibraryEnvironment : public ::testing::Environment {
public:
    void SetUp() override { initWordLibrary(1, L"C:\\Quillory\\media", L""); }
};

[[maybe_unused]] ::testing::Environment* const environment =
    ::testing::AddGlobalTestEnvironment(new WordLibraryEnvironment);

}  // namespace
