// The test controls of the window services: refused windows and displays,
// and message boxes that answer at once. The services keep them and consult
// them; tests reach them through platform/testing.h.
#pragma once

#include <string>
#include <vector>

#include "platform/core/types.h"

namespace platform::testing {

// The next count calls of CreateWindowExA fail with ERROR_NOT_ENOUGH_MEMORY
// and make no window; 0 ends a run early.
void failNextWindowCreations(int count);
// The next count attempts to open the X display fail, as when the server
// refuses a connection; 0 ends a run early.
void failNextDisplayOpens(int count);

// While on, message boxes are recorded instead of shown and answer their
// first button; turning it on or off forgets what was recorded. Caption and
// text in UTF-8.
struct ShownMessageBox {
    std::string caption;
    std::string text;
    UINT type;
};
void recordMessageBoxes(bool on);
std::vector<ShownMessageBox> shownMessageBoxes();

}  // namespace platform::testing
