// The main function of every test program. The program's temporary
// directory is a scratch folder of its own, removed when the tests end:
// whatever a test, GoogleTest's captured output or a program a test starts
// leaves there, even after a failure, goes with it, and test programs that
// run at once never meet in it.
#include <gtest/gtest.h>

#include "testsupport/environment.h"
#include "testsupport/scratchfolder.h"

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    const testsupport::ScratchFolder temporary("quill-test-");
    const std::string path = temporary.path().string();
    // GoogleTest looks at TEST_TMPDIR first; Windows programs at TMP and TEMP.
    for (const char* name : {"TMPDIR", "TEST_TMPDIR", "TMP", "TEMP"}) {
        testsupport::setEnv(name, path.c_str());
    }
    return RUN_ALL_TESTS();
}
