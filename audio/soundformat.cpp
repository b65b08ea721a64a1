#include "audio/soundformat.h"

#include <climits>

bool isPlayableFormat(const WAVEFORMATEX& format) {
    const DWORD framesPerSecond = static_cast<DWORD>(format.nChannels) * format.nSamplesPerSec;
    return format.wBitsPerSample >= 8 && format.nChannels != 0 && format.nSamplesPerSec != 0 &&
           format.nBlockAlign != 0 && framesPerSecond != 0;
}

SoundLength soundLength(DWORD size, const WAVEFORMATEX& format) {
    SoundLength length{0, 0};
    const DWORD bytesPerSample = format.wBitsPerSample / 8u;
    const DWORD framesPerSecond = static_cast<DWORD>(format.nChannels) * format.nSamplesPerSec;
    if (bytesPerSample == 0 || framesPerSecond == 0) {
        return length;
    }
    length.samples = size / bytesPerSample;
    const double ms =
        static_cast<double>(length.samples) / static_cast<double>(framesPerSecond) * 1000.0;
    // A very low rate could take the duration past what an int holds.
    length.durationMs = ms >= static_cast<double>(INT_MAX) ? INT_MAX : static_cast<int>(ms);
    return length;
}
