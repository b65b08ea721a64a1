// Internal to the window services: a message box as a real dialog on the
// X server named by DISPLAY, drawn in the classic Windows look: the text
// with its line breaks beside the icon of its type, the buttons of its set
// (German labels, as on the system the program was made for) below. The
// text wraps within five eighths of the screen's width (see wrapText), so a
// long text makes a taller box, not a wider one; the box is never placed
// off the screen.
//
// Enter and the space bar choose the focused button (the first at the
// start), Tab moves the focus, a click chooses a button; Escape and the
// window's close button answer IDCANCEL where the set has Cancel and IDOK
// for a lone OK. The dialog has its own X connection, so it may be shown
// from any thread; other windows are not served while it is open.
#pragma once

#include <string>
#include <vector>

#include "platform/core/types.h"

namespace platform::window {

// Caption and text in UTF-8. Answers the button chosen, or 0 when there is
// no display to show it on: none named, none that opens within about a
// second, or one whose server went away before the box was answered.
int showDialog(const std::string& caption, const std::string& text, UINT type);

// The text's lines in the dialog's type: its own line breaks, breaks at
// blanks where a line would pass maxWidth pixels, and a word wider than a
// line broken where it reaches the edge.
std::vector<std::string> wrapText(const std::string& text, double maxWidth);
// How wide a line of text is in the dialog's type, in pixels.
double textWidth(const std::string& line);

}  // namespace platform::window
