// A secondary buffer: a sound in memory that the device's mixer plays.

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstring>
#include <mutex>
#include <new>
#include <thread>

#include "platform/sound/buffers.h"
#include "platform/sound/pcmmix.h"
#include "platform/sound/soundcontrols.h"

namespace platform::sound {

namespace {

// How far ahead of the play cursor the write cursor runs while playing.
constexpr DWORD kWriteLeadMilliseconds = 10;

// Set by a test: the next Lock or Play loses its buffer (platform/testing.h).
std::atomic<bool> losingNextBuffer{false};

BYTE silenceOf(const WAVEFORMATEX& format) { return format.wBitsPerSample == 8 ? BYTE{128} : BYTE{0}; }

class SecondaryBuffer final : public ComObject<IDirectSoundBuffer, IID_IDirectSoundBuffer> {
public:
    explicit SecondaryBuffer(std::shared_ptr<Mixer> mixer) : m_mixer(std::move(mixer)) {}

    Voice& voice() { return m_voice; }

    void attach() {
        std::lock_guard<std::mutex> guard(m_mixer->lock());
        m_mixer->attach(&m_voice);
    }

    HRESULT STDMETHODCALLTYPE GetCurrentPosition(LPDWORD playCursor, LPDWORD writeCursor) override {
        if (playCursor == nullptr && writeCursor == nullptr) return DSERR_INVALIDPARAM;
        std::lock_guard<std::mutex> guard(m_mixer->lock());
        DWORD frame = m_voice.cursorFrame(Clock::now());
        if (playCursor != nullptr) *playCursor = frame * m_voice.format.nBlockAlign;
        if (writeCursor != nullptr) *writeCursor = writeFrame(frame) * m_voice.format.nBlockAlign;
        return DS_OK;
    }

    HRESULT STDMETHODCALLTYPE GetFormat(LPWAVEFORMATEX format, DWORD sizeAllocated, LPDWORD sizeWritten) override {
        if (format == nullptr) {
            if (sizeWritten == nullptr) return DSERR_INVALIDPARAM;
            *sizeWritten = sizeof(WAVEFORMATEX);
            return DS_OK;
        }
        if (sizeAllocated < sizeof(PCMWAVEFORMAT)) return DSERR_INVALIDPARAM;
        DWORD size = std::min<DWORD>(sizeAllocated, sizeof(WAVEFORMATEX));
        std::memcpy(format, &m_voice.format, size);
        if (sizeWritten != nullptr) *sizeWritten = size;
        return DS_OK;
    }

    HRESULT STDMETHODCALLTYPE GetVolume(LPLONG volume) override {
        if (volume == nullptr) return DSERR_INVALIDPARAM;
        if ((m_voice.caps & DSBCAPS_CTRLVOLUME) == 0) return DSERR_CONTROLUNAVAIL;
        std::lock_guard<std::mutex> guard(m_mixer->lock());
        *volume = m_voice.volume;
        return DS_OK;
    }

    HRESULT STDMETHODCALLTYPE GetPan(LPLONG pan) override {
        if (pan == nullptr) return DSERR_INVALIDPARAM;
        if ((m_voice.caps & DSBCAPS_CTRLPAN) == 0) return DSERR_CONTROLUNAVAIL;
        std::lock_guard<std::mutex> guard(m_mixer->lock());
        *pan = m_voice.pan;
        return DS_OK;
    }

    HRESULT STDMETHODCALLTYPE GetStatus(LPDWORD status) override {
        if (status == nullptr) return DSERR_INVALIDPARAM;
        std::lock_guard<std::mutex> guard(m_mixer->lock());
        m_voice.settle(Clock::now());
        DWORD flags = 0;
        if (m_voice.playing) flags |= DSBSTATUS_PLAYING | (m_voice.looping ? DSBSTATUS_LOOPING : 0);
        if (m_voice.lost) flags |= DSBSTATUS_BUFFERLOST;
        *status = flags;
        return DS_OK;
    }

    HRESULT STDMETHODCALLTYPE Lock(DWORD offset, DWORD bytes, LPVOID* audio1, LPDWORD bytes1, LPVOID* audio2,
                                   LPDWORD bytes2, DWORD flags) override {
        if (audio1 == nullptr || bytes1 == nullptr) return DSERR_INVALIDPARAM;
        std::lock_guard<std::mutex> guard(m_mixer->lock());
        if (lostNow()) return DSERR_BUFFERLOST;
        auto size = static_cast<DWORD>(m_voice.data.size());
        if ((flags & DSBLOCK_FROMWRITECURSOR) != 0) {
            offset = writeFrame(m_voice.cursorFrame(Clock::now())) * m_voice.format.nBlockAlign;
        }
        if ((flags & DSBLOCK_ENTIREBUFFER) != 0) bytes = size;
        if (offset >= size || bytes == 0 || bytes > size) return DSERR_INVALIDPARAM;
        DWORD first = std::min(bytes, size - offset);
        DWORD second = audio2 != nullptr ? bytes - first : 0;
        *audio1 = m_voice.data.data() + offset;
        *bytes1 = first;
        if (audio2 != nullptr) *audio2 = second != 0 ? m_voice.data.data() : nullptr;
        if (bytes2 != nullptr) *bytes2 = second;
        return DS_OK;
    }

    HRESULT STDMETHODCALLTYPE Play(DWORD, DWORD, DWORD flags) override {
        std::lock_guard<std::mutex> guard(m_mixer->lock());
        if (lostNow()) return DSERR_BUFFERLOST;
        m_voice.play(Clock::now(), (flags & DSBPLAY_LOOPING) != 0);
        m_mixer->wake();
        return DS_OK;
    }

    HRESULT STDMETHODCALLTYPE SetCurrentPosition(DWORD position) override {
        std::lock_guard<std::mutex> guard(m_mixer->lock());
        if (position >= m_voice.data.size()) return DSERR_INVALIDPARAM;
        m_voice.setCursor(Clock::now(), std::min(position / m_voice.format.nBlockAlign, m_voice.frames - 1));
        m_mixer->wake();
        return DS_OK;
    }

    HRESULT STDMETHODCALLTYPE SetFormat(LPCWAVEFORMATEX) override { return DSERR_INVALIDCALL; }

    HRESULT STDMETHODCALLTYPE SetVolume(LONG volume) override {
        if ((m_voice.caps & DSBCAPS_CTRLVOLUME) == 0) return DSERR_CONTROLUNAVAIL;
        if (volume < DSBVOLUME_MIN || volume > DSBVOLUME_MAX) return DSERR_INVALIDPARAM;
        std::lock_guard<std::mutex> guard(m_mixer->lock());
        m_voice.volume = volume;
        return DS_OK;
    }

    HRESULT STDMETHODCALLTYPE SetPan(LONG pan) override {
        if ((m_voice.caps & DSBCAPS_CTRLPAN) == 0) return DSERR_CONTROLUNAVAIL;
        if (pan < DSBPAN_LEFT || pan > DSBPAN_RIGHT) return DSERR_INVALIDPARAM;
        std::lock_guard<std::mutex> guard(m_mixer->lock());
        m_voice.pan = pan;
        return DS_OK;
    }

    HRESULT STDMETHODCALLTYPE Stop() override {
        std::lock_guard<std::mutex> guard(m_mixer->lock());
        m_voice.stop(Clock::now(), m_mixer->outputFormat().nSamplesPerSec);
        return DS_OK;
    }

    HRESULT STDMETHODCALLTYPE Unlock(LPVOID audio1, DWORD bytes1, LPVOID audio2, DWORD bytes2) override {
        if (!insideData(audio1, bytes1) || (audio2 != nullptr && !insideData(audio2, bytes2))) {
            return DSERR_INVALIDPARAM;
        }
        return DS_OK;
    }

    HRESULT STDMETHODCALLTYPE Restore() override {
        std::lock_guard<std::mutex> guard(m_mixer->lock());
        if (m_voice.lost) {
            m_voice.lost = false;
            std::fill(m_voice.data.begin(), m_voice.data.end(), silenceOf(m_voice.format));
        }
        return DS_OK;
    }

private:
    // The last release: a sound that has ended by the clock was heard on
    // Windows; on a busy machine the mixer may not have reached it yet, so it
    // is given the time to take what is left (bounded, should the device
    // hang).
    ~SecondaryBuffer() override {
        std::unique_lock<std::mutex> guard(m_mixer->lock());
        const Clock::time_point deadline = Clock::now() + std::chrono::seconds(2);
        m_voice.settle(Clock::now());
        while (m_voice.mixing && !m_voice.playing && Clock::now() < deadline) {
            guard.unlock();
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
            guard.lock();
        }
        m_mixer->detach(&m_voice);
    }

    // Called with the lock held: whether the buffer is lost, or is lost now
    // because a test asked for it.
    bool lostNow() {
        if (!m_voice.lost && losingNextBuffer.exchange(false)) {
            m_voice.lost = true;
            m_voice.stop(Clock::now(), m_mixer->outputFormat().nSamplesPerSec);
        }
        return m_voice.lost;
    }

    // The write cursor for a play cursor that has just been settled.
    DWORD writeFrame(DWORD playFrame) const {
        if (!m_voice.playing) return playFrame;
        DWORD lead = m_voice.format.nSamplesPerSec * kWriteLeadMilliseconds / 1000;
        return static_cast<DWORD>((static_cast<std::uint64_t>(playFrame) + lead) % m_voice.frames);
    }

    bool insideData(LPVOID audio, DWORD bytes) const {
        if (audio == nullptr) return false;
        auto* at = static_cast<const BYTE*>(audio);
        const BYTE* begin = m_voice.data.data();
        return at >= begin && static_cast<std::size_t>(at - begin) + bytes <= m_voice.data.size();
    }

    std::shared_ptr<Mixer> m_mixer;
    Voice m_voice;
};

}  // namespace

HRESULT createSecondaryBuffer(const std::shared_ptr<Mixer>& mixer, DWORD caps, DWORD bytes,
                              const WAVEFORMATEX& format, LPDIRECTSOUNDBUFFER* out) {
    if (bytes < DSBSIZE_MIN || bytes > DSBSIZE_MAX) return DSERR_INVALIDPARAM;
    if (!isMixableFormat(format)) return DSERR_BADFORMAT;
    auto* buffer = new (std::nothrow) SecondaryBuffer(mixer);
    if (buffer == nullptr) return DSERR_OUTOFMEMORY;
    Voice& voice = buffer->voice();
    try {
        voice.data.assign(bytes, silenceOf(format));
    } catch (const std::bad_alloc&) {
        buffer->Release();
        return DSERR_OUTOFMEMORY;
    }
    voice.format = mixFormat(format);
    voice.frames = bytes / format.nBlockAlign;
    voice.caps = caps;
    buffer->attach();
    *out = buffer;
    return DS_OK;
}

}  // namespace platform::sound

namespace platform::testing {

void loseNextSoundBuffer() { sound::losingNextBuffer.store(true); }

}  // namespace platform::testing
