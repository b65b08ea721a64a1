// One ALSA playback PCM, as the mixer uses it: opened without waiting for a
// device that another program holds, set to a format, written in whole
// frames, and closed after its queued sound has played or at once.
//
// Not thread-safe: one thread at a time.
#pragma once

#include <memory>
#include <string>

#include "platform/core/types.h"
#include "platform/core/waveformat.h"

typedef struct _snd_pcm snd_pcm_t;

namespace platform::sound {

class AlsaOutput {
public:
    // DS_OK; DSERR_ALLOCATED when the device is busy; DSERR_NODRIVER when
    // there is no such PCM or it cannot play.
    static HRESULT open(const std::string& name, std::unique_ptr<AlsaOutput>* out);
    ~AlsaOutput();
    AlsaOutput(const AlsaOutput&) = delete;
    AlsaOutput& operator=(const AlsaOutput&) = delete;

    // Drops what is queued and sets a mixable format (see pcmmix.h); false
    // when the device refuses it.
    bool configure(const WAVEFORMATEX& format);
    bool isConfigured() const { return m_blockAlign != 0; }
    // Writes count frames, recovering from an underrun; false when the
    // device fails.
    bool write(const BYTE* frames, DWORD count);
    // Lets the queued sound play out (drain) or drops it; then no more
    // writes.
    void finish(bool drain);

private:
    explicit AlsaOutput(snd_pcm_t* pcm) : m_pcm(pcm) {}

    snd_pcm_t* m_pcm;
    WORD m_blockAlign = 0;
};

}  // namespace platform::sound
