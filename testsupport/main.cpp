// The main function of every test program. The program's temporary
// directory is a scratch folder of its own, removed when the tests end:
// whatever a test, GoogleTest's captured output or a program a test starts
// leaves there, even after a failure, goes with it, and test programs that
// run at once never meet in it.
#include <gtest/gtest.h>

#include <cstdio>
#include <exception>
#include <filesystem>
#include <optional>

#include "testsupport/environment.h"
#include "testsupport/scratchfolder.h"

namespace {

#ifdef _WIN32
// The narrow environment holds the folder in the ANSI code page, which need
// not have the letters of code page 1252.
constexpr char kPrefix[] = "quill-test-";
#else
// What a user's temporary directory may hold (tools/check-paths) and a
// shell, ALSA's device syntax or a printf format would read, and a letter of
// code page 1252 beyond ASCII: every test meets such a path on every run.
constexpr char kPrefix[] = "quill-test a b, c = 100% +@! (x) [y] & z'\xC3\x9C $x`u;v#w~-";
#endif

}  // namespace

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    // Listing the tests, as CTest does before it runs them, needs no folder:
    // a temporary directory the tests cannot use is then said by each test.
    if (GTEST_FLAG_GET(list_tests)) return RUN_ALL_TESTS();
    std::optional<testsupport::ScratchFolder> temporary;
    try {
        temporary.emplace(kPrefix);
    } catch (const std::exception& error) {
        // One line, and no test run: every test would fail on the folder.
        const std::string program = std::filesystem::path(argv[0]).filename().string();
        std::fprintf(stderr, "%s: %s\n", program.c_str(), error.what());
        return 1;
    }
#ifdef _WIN32
    const std::string path = temporary->ansiPath();  // as the narrow environment holds it
#else
    const std::string path = temporary->path().string();
#endif
    // GoogleTest looks at TEST_TMPDIR first; Windows programs at TMP and TEMP.
    for (const char* name : {"TMPDIR", "TEST_TMPDIR", "TMP", "TEMP"}) {
        testsupport::setEnv(name, path.c_str());
    }
    return RUN_ALL_TESTS();
}
