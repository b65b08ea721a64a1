// What tests call of the platform layer. Only tests include this file.
//
// The test controls make a service answer as it would when the system runs
// out of something, or record what a service showed, so that the code above
// the layer can be tested on that road without exhausting the machine or
// waiting for a person. They are built into the layer beside the services
// that consult them, as SQLite builds in its fault injection, and each
// service declares its own in a header of its folder.
//
// The helpers declared here are test support the deliverables never link
// (the library platform_testing): they read what a window shows, start an X
// server, or stand a device list in for ALSA's.
#pragma once

#include <string>
#include <vector>

#include "platform/core/timecontrols.h"
#include "platform/core/types.h"
#include "platform/files/filecontrols.h"
#include "platform/module/modulecontrols.h"
#include "platform/mp3/mp3controls.h"
#include "platform/process/processcontrols.h"
#include "platform/sound/soundcontrols.h"
#include "platform/window/windowcontrols.h"

namespace platform::testing {

// The picture of a window as its device contexts left it, frame included:
// width x height colours, top row first; empty for no window. The client
// area starts at (clientLeft, clientTop).
struct WindowPicture {
    int width = 0;
    int height = 0;
    int clientLeft = 0;
    int clientTop = 0;
    std::vector<COLORREF> pixels;
    COLORREF at(int x, int y) const {
        return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                      static_cast<std::size_t>(x)];
    }
};
WindowPicture windowPicture(HWND window);
// The X11 window that shows a window; 0 headless or while never shown.
unsigned long x11WindowOf(HWND window);

// Starts an X server of the test's own (Xvfb, 1024 x 768, 24 bits) and
// points DISPLAY at it; false, changing nothing, where Xvfb is missing or
// does not start. Call it before the first window or message box of the
// process: the choice between a display and none is made then, once.
bool startXvfb();
void stopXvfb();

// While set, DirectSoundEnumerateA reports these devices instead of ALSA's,
// and DirectSoundCreate opens the PCM of the one whose GUID it is given. A
// device with an empty PCM name is reported with a null GUID. Clearing the
// list gives ALSA's back.
struct SoundDevice {
    std::string pcm;
    std::string description;
};
void setSoundDevices(std::vector<SoundDevice> devices);
void clearSoundDevices();

}  // namespace platform::testing
