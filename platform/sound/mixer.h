// The core of one open device: its ALSA output, its output format, the
// voices of its secondary buffers and the thread that mixes them.
//
// The device object, its primary buffer and its secondary buffers share the
// mixer. shutdown (the device's last Release) stops and joins the thread and
// closes the output; the voices stay valid for the buffers that remain, but
// are no longer heard.
//
// The thread writes nothing while no voice plays, then writes period after
// period, a little ahead of the monotonic clock, so that a device that does
// not pace its writes is still fed in real time; the last period of a voice
// that ends is cut at its last frame.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/core/types.h"
#include "platform/core/waveformat.h"
#include "platform/sound/alsaoutput.h"
#include "platform/sound/voice.h"

namespace platform::sound {

class Mixer {
public:
    // Opens the PCM named, at DirectSound's default output format where it
    // takes it, and starts the thread; the result codes of AlsaOutput::open.
    static HRESULT open(const std::string& pcm, std::shared_ptr<Mixer>* out);
    ~Mixer();
    Mixer(const Mixer&) = delete;
    Mixer& operator=(const Mixer&) = delete;

    void shutdown();

    // Guards the voices, the output format and the cooperative level.
    std::mutex& lock() { return m_lock; }

    // Called with the lock held.
    void attach(Voice* voice);
    void detach(Voice* voice);
    // A voice began to mix.
    void wake() { m_wake.notify_all(); }
    WAVEFORMATEX outputFormat() const { return m_format; }
    bool anyMixing() const;
    DWORD cooperativeLevel() const { return m_level; }
    void setCooperativeLevel(DWORD level) { m_level = level; }

    // Called without the lock: reconfigures the output. DSERR_BADFORMAT
    // when the format is not mixable or the device refuses it, keeping the
    // format it had.
    HRESULT setOutputFormat(const WAVEFORMATEX& format);

private:
    Mixer() = default;
    void run();
    // Mixes the next period into m_bytes; the frames to write.
    DWORD mixPeriod(DWORD period);

    // Held around every use of the output. The thread never takes it while
    // holding m_lock, so that a write does not block the buffers' calls.
    std::mutex m_outputLock;
    std::unique_ptr<AlsaOutput> m_output;

    std::mutex m_lock;
    std::condition_variable m_wake;
    bool m_stopping = false;
    WAVEFORMATEX m_format{};
    // Bumped by every format change: a period mixed in the old format is
    // not written.
    std::atomic<std::uint64_t> m_formatGeneration{0};
    DWORD m_level = 0;
    std::vector<Voice*> m_voices;
    std::vector<std::int32_t> m_mix;
    std::vector<BYTE> m_bytes;
    std::thread m_thread;
};

}  // namespace platform::sound
