// Test controls of the platform layer. Only tests include this file.
//
// Each control makes a service answer as it would when the system runs out
// of something, or records what a service showed, so that the code above the
// layer can be tested on that road without exhausting the machine or waiting
// for a person.
#pragma once

#include <string>
#include <vector>

#include "platform/core/types.h"

namespace platform::testing {

// The next count calls of LoadLibraryA fail with ERROR_NOT_ENOUGH_MEMORY
// and load nothing; 0 ends a run of failures early.
void failNextLibraryLoads(int count);

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

}  // namespace platform::testing
