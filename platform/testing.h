// Test controls of the platform layer. Only tests include this file.
//
// Each control makes a service answer as it would when the system runs out
// of something, or records what a service showed, so that the code above the
// layer can be tested on that road without exhausting the machine or waiting
// for a person.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/core/types.h"

namespace platform::testing {

// The next count calls of LoadLibraryA fail with ERROR_NOT_ENOUGH_MEMORY
// and load nothing; 0 ends a run of failures early.
void failNextLibraryLoads(int count);

// The next LoadLibraryA that reads a library's file calls whileReading just
// before it reads, as a slow disk would hold it up there.
void holdNextLibraryRead(std::function<void()> whileReading);

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

// The next count calls of DirectSoundCreate answer result (a failure code)
// and open nothing; 0 ends a run early.
void failNextSoundCreates(HRESULT result, int count);

// The next Lock or Play of a secondary buffer answers DSERR_BUFFERLOST; the
// buffer then stays lost (Lock and Play refused, DSBSTATUS_BUFFERLOST set,
// not playing) until Restore, which leaves its contents silent.
void loseNextSoundBuffer();

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

namespace platform::testing {

// The next count calls of GlobalAlloc fail with ERROR_NOT_ENOUGH_MEMORY;
// 0 ends a run of failures early. The same holds for the calls below.
void failNextGlobalAllocs(int count);
// CreateStreamOnHGlobal answers E_OUTOFMEMORY and makes no stream.
void failNextStreamCreations(int count);
// WMCreateSyncReader answers E_OUTOFMEMORY and makes no reader.
void failNextSyncReaderCreations(int count);
// A sync reader's QueryInterface for IWMHeaderInfo answers E_NOINTERFACE.
void failNextHeaderInfoQueries(int count);
// GetAttributeByName for "Duration" answers ASF_E_NOTFOUND, as for a clip
// whose length the reader cannot tell.
void failNextDurationQueries(int count);
// acmStreamOpen answers result (an MMRESULT) and opens nothing.
void failNextAcmStreamOpens(int count, UINT result);
// ReadFile fails with ERROR_READ_FAULT and reads nothing.
void failNextFileReads(int count);
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
// The next count calls of CreateWindowExA fail with ERROR_NOT_ENOUGH_MEMORY
// and make no window; 0 ends a run early.
void failNextWindowCreations(int count);
// The next count attempts to open the X display fail, as when the server
// refuses a connection; 0 ends a run early.
void failNextDisplayOpens(int count);
// The X11 window that shows a window; 0 headless or while never shown.
unsigned long x11WindowOf(HWND window);

// Starts an X server of the test's own (Xvfb, 1024 x 768, 24 bits) and
// points DISPLAY at it; false, changing nothing, where Xvfb is missing or
// does not start. Call it before the first window or message box of the
// process: the choice between a display and none is made then, once.
bool startXvfb();
void stopXvfb();

// The next count calls of WaitForSingleObject answer WAIT_FAILED with
// ERROR_INVALID_HANDLE, as for a handle closed under the waiter; 0 ends a
// run early.
void failNextWaits(int count);

}  // namespace platform::testing
