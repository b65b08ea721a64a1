#include "platform/sound/alsaoutput.h"

#include <alsa/asoundlib.h>

#include <cerrno>
#include <mutex>

#include "platform/sound/dsound.h"

namespace platform::sound {

namespace {

// Without a card ALSA prints its complaints on standard error; the caller
// gets a result code instead, as on Windows.
void quiet(const char*, int, const char*, int, const char*, ...) {}

void silenceAlsa() {
    static std::once_flag once;
    std::call_once(once, [] { snd_lib_error_set_handler(quiet); });
}

// Short enough that the queued tail is heard at once when the device is
// closed, long enough to ride out a busy machine.
constexpr unsigned kLatencyMicroseconds = 80000;

}  // namespace

HRESULT AlsaOutput::open(const std::string& name, std::unique_ptr<AlsaOutput>* out) {
    silenceAlsa();
    snd_pcm_t* pcm = nullptr;
    // Non-blocking, so that a busy device answers EBUSY instead of waiting.
    int error = snd_pcm_open(&pcm, name.c_str(), SND_PCM_STREAM_PLAYBACK, SND_PCM_NONBLOCK);
    if (error == -EBUSY || error == -EAGAIN) return DSERR_ALLOCATED;
    if (error == -ENOMEM) return DSERR_OUTOFMEMORY;
    if (error < 0) return DSERR_NODRIVER;
    snd_pcm_nonblock(pcm, 0);
    out->reset(new AlsaOutput(pcm));
    return DS_OK;
}

AlsaOutput::~AlsaOutput() { snd_pcm_close(m_pcm); }

bool AlsaOutput::configure(const WAVEFORMATEX& format) {
    snd_pcm_drop(m_pcm);
    snd_pcm_format_t sampleFormat = format.wBitsPerSample == 8 ? SND_PCM_FORMAT_U8 : SND_PCM_FORMAT_S16_LE;
    if (snd_pcm_set_params(m_pcm, sampleFormat, SND_PCM_ACCESS_RW_INTERLEAVED, format.nChannels,
                           format.nSamplesPerSec, 1, kLatencyMicroseconds) < 0) {
        m_blockAlign = 0;
        return false;
    }
    // Start with the first period, not with a full buffer: a short clip
    // would otherwise wait for the close to be heard.
    snd_pcm_uframes_t bufferSize = 0;
    snd_pcm_uframes_t periodSize = 0;
    snd_pcm_sw_params_t* software = nullptr;
    if (snd_pcm_get_params(m_pcm, &bufferSize, &periodSize) == 0 && snd_pcm_sw_params_malloc(&software) == 0) {
        if (snd_pcm_sw_params_current(m_pcm, software) == 0 &&
            snd_pcm_sw_params_set_start_threshold(m_pcm, software, periodSize) == 0) {
            snd_pcm_sw_params(m_pcm, software);
        }
        snd_pcm_sw_params_free(software);
    }
    m_blockAlign = format.nBlockAlign;
    return true;
}

bool AlsaOutput::write(const BYTE* frames, DWORD count) {
    if (m_blockAlign == 0) return false;
    while (count > 0) {
        snd_pcm_sframes_t written = snd_pcm_writei(m_pcm, frames, count);
        if (written < 0) {
            if (snd_pcm_recover(m_pcm, static_cast<int>(written), 1) < 0) return false;
            continue;
        }
        frames += static_cast<std::size_t>(written) * m_blockAlign;
        count -= static_cast<DWORD>(written);
    }
    return true;
}

void AlsaOutput::finish(bool drain) {
    if (drain && m_blockAlign != 0) {
        snd_pcm_drain(m_pcm);
    } else {
        snd_pcm_drop(m_pcm);
    }
}

}  // namespace platform::sound
