#include "platform/sound/mixer.h"

#include <algorithm>
#include <system_error>

#include "platform/sound/dsound.h"
#include "platform/sound/pcmmix.h"

namespace platform::sound {

namespace {

// DirectSound's primary format until SetFormat: 22050 Hz, 8 bits, stereo.
constexpr WAVEFORMATEX kDefaultFormat = {WAVE_FORMAT_PCM, 2, 22050, 44100, 2, 8, 0};
constexpr std::uint64_t kPeriodsPerSecond = 100;
// How far ahead of the clock the thread writes: enough for a device that
// paces to never run dry, little enough that a stop is heard soon.
constexpr std::uint64_t kLeadMilliseconds = 40;

std::uint64_t framesSince(Clock::time_point start, Clock::time_point now, DWORD rate) {
    if (now <= start) return 0;
    auto nanoseconds = static_cast<std::uint64_t>(
        std::chrono::duration_cast<std::chrono::nanoseconds>(now - start).count());
    return nanoseconds / 1000000000u * rate + nanoseconds % 1000000000u * rate / 1000000000u;
}

Clock::time_point timeOfFrame(Clock::time_point start, std::uint64_t frame, DWORD rate) {
    auto nanoseconds = frame / rate * 1000000000u + frame % rate * 1000000000u / rate;
    return start + std::chrono::nanoseconds(nanoseconds);
}

DWORD periodOf(DWORD rate) { return static_cast<DWORD>(std::max<std::uint64_t>(1, rate / kPeriodsPerSecond)); }

bool sameFormat(const WAVEFORMATEX& a, const WAVEFORMATEX& b) {
    return a.nChannels == b.nChannels && a.nSamplesPerSec == b.nSamplesPerSec &&
           a.wBitsPerSample == b.wBitsPerSample;
}

}  // namespace

HRESULT Mixer::open(const std::string& pcm, std::shared_ptr<Mixer>* out) {
    std::unique_ptr<AlsaOutput> output;
    HRESULT result = AlsaOutput::open(pcm, &output);
    if (result != DS_OK) return result;
    // A device that takes only some formats (a bare "hw:" one) is still
    // opened: SetFormat on the primary buffer tells whether it takes ours.
    output->configure(kDefaultFormat);
    std::shared_ptr<Mixer> mixer(new Mixer);
    mixer->m_output = std::move(output);
    mixer->m_format = kDefaultFormat;
    try {
        mixer->m_thread = std::thread(&Mixer::run, mixer.get());
    } catch (const std::system_error&) {
        return DSERR_OUTOFMEMORY;
    }
    *out = std::move(mixer);
    return DS_OK;
}

Mixer::~Mixer() { shutdown(); }

void Mixer::shutdown() {
    {
        std::lock_guard<std::mutex> guard(m_lock);
        m_stopping = true;
    }
    m_wake.notify_all();
    if (m_thread.joinable()) m_thread.join();
    std::lock_guard<std::mutex> outputGuard(m_outputLock);
    if (!m_output) return;
    std::unique_lock<std::mutex> guard(m_lock);
    Clock::time_point now = Clock::now();
    bool playing = false;
    for (Voice* voice : m_voices) {
        voice->settle(now);
        playing = playing || voice->playing;
    }
    if (!playing) {
        // On a busy machine the thread may have fallen behind the clock: a
        // sound that has ended by the clock is still written whole.
        std::vector<BYTE> bytes;
        for (Voice* voice : m_voices) voice->mixing = voice->mixing && !voice->looping;
        while (anyMixing()) {
            DWORD count = mixPeriod(periodOf(m_format.nSamplesPerSec));
            bytes.swap(m_bytes);
            if (count != 0) m_output->write(bytes.data(), count);
        }
    }
    guard.unlock();
    // What was written for a sound that has ended is still to be heard; a
    // sound cut off by the close is not played out first.
    m_output->finish(!playing);
    m_output.reset();
}

void Mixer::attach(Voice* voice) { m_voices.push_back(voice); }

void Mixer::detach(Voice* voice) { m_voices.erase(std::remove(m_voices.begin(), m_voices.end(), voice), m_voices.end()); }

bool Mixer::anyMixing() const {
    return std::any_of(m_voices.begin(), m_voices.end(), [](const Voice* voice) { return voice->mixing; });
}

HRESULT Mixer::setOutputFormat(const WAVEFORMATEX& format) {
    if (!isMixableFormat(format)) return DSERR_BADFORMAT;
    std::lock_guard<std::mutex> outputGuard(m_outputLock);
    WAVEFORMATEX old;
    {
        std::lock_guard<std::mutex> guard(m_lock);
        old = m_format;
    }
    if (sameFormat(old, format) && (!m_output || m_output->isConfigured())) return DS_OK;
    if (m_output && !m_output->configure(format)) {
        m_output->configure(old);
        return DSERR_BADFORMAT;
    }
    std::lock_guard<std::mutex> guard(m_lock);
    // Voices go on from the frame they have reached at the old rate.
    for (Voice* voice : m_voices) {
        if (!voice->mixing) continue;
        std::uint64_t frame = voice->nextMixFrame(old.nSamplesPerSec);
        if (voice->looping) frame %= voice->frames;
        voice->mixing = frame < voice->frames;
        voice->mixFirst = static_cast<DWORD>(std::min<std::uint64_t>(frame, voice->frames));
        voice->mixDone = 0;
    }
    m_format = mixFormat(format);
    ++m_formatGeneration;
    return DS_OK;
}

DWORD Mixer::mixPeriod(DWORD period) {
    WORD channels = m_format.nChannels;
    m_mix.assign(static_cast<std::size_t>(period) * channels, 0);
    DWORD active = 0;
    bool continuing = false;
    for (Voice* voice : m_voices) {
        if (!voice->mixing) continue;
        MixSource source{voice->data.data(), voice->frames, voice->format,
                         channelGains(voice->volume, voice->pan)};
        DWORD mixed = mixSource(m_mix.data(), period, channels, m_format.nSamplesPerSec, source, voice->mixFirst,
                                voice->mixDone, voice->looping);
        voice->mixDone += mixed;
        if (mixed < period) {
            voice->mixing = false;
        } else {
            continuing = true;
        }
        active = std::max(active, mixed);
    }
    DWORD count = continuing ? period : active;
    m_bytes.resize(static_cast<std::size_t>(count) * m_format.nBlockAlign);
    writeSamples(m_mix.data(), count, channels, m_format.wBitsPerSample, m_bytes.data());
    return count;
}

void Mixer::run() {
    std::unique_lock<std::mutex> guard(m_lock);
    bool streaming = false;
    Clock::time_point start;
    std::uint64_t written = 0;
    std::uint64_t generation = 0;
    std::vector<BYTE> bytes;
    while (!m_stopping) {
        if (!anyMixing()) {
            streaming = false;
            m_wake.wait(guard);
            continue;
        }
        Clock::time_point now = Clock::now();
        DWORD rate = m_format.nSamplesPerSec;
        if (!streaming || generation != m_formatGeneration) {
            streaming = true;
            start = now;
            written = 0;
            generation = m_formatGeneration;
        }
        DWORD period = periodOf(rate);
        std::uint64_t lead = rate * kLeadMilliseconds / 1000;
        if (written + period > framesSince(start, now, rate) + lead) {
            m_wake.wait_until(guard, timeOfFrame(start, written + period - lead, rate));
            continue;
        }
        DWORD count = mixPeriod(period);
        written += period;
        if (count == 0) continue;
        bytes.swap(m_bytes);
        guard.unlock();
        {
            std::lock_guard<std::mutex> outputGuard(m_outputLock);
            if (generation == m_formatGeneration && m_output) m_output->write(bytes.data(), count);
        }
        guard.lock();
    }
}

}  // namespace platform::sound
