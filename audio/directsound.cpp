// Construction, clean-up, the shared device and create 4.
#include "audio/directsound.h"

#include <cstdlib>
#include <cstring>

#include "audio/dsounderror.h"
#include "audio/mp3decoder.h"
#include "audio/soundformat.h"
#include "common/logger.h"

IDirectSound* CDirectSound::m_pDirectSound = nullptr;
IDirectSoundBuffer* CDirectSound::m_pPrimaryBuffer = nullptr;
DWORD CDirectSound::m_dwInstances = 0;

namespace {

// Tries before giving up on a busy device or one without a driver.
constexpr int deviceCreateAttempts = 10;
constexpr DWORD deviceRetryMs = 500;

void showDeviceError(HWND window, const char* text) { MessageBoxA(window, text, "ERROR", MB_OK); }

}  // namespace

CDirectSound::CDirectSound(const std::string& deviceName)
    : m_pFileBuffer(nullptr),
      m_pData(nullptr),
      m_dwDataSize(0),
      m_pSecondaryBuffer(nullptr),
      m_bEnabled(1),
      m_nDurationMs(0),
      m_nSampleRate(0),
      m_deviceName(deviceName),
      m_pFormat(nullptr),
      m_waveFormat{} {
    ++m_dwInstances;
    logPrint(soundTraceLevel, "mark 1000 : m_dwInstances = %10d\n", static_cast<int>(m_dwInstances));
}

CDirectSound::~CDirectSound() {
    destroy();
    freeImages();
    logPrint(soundTraceLevel, "mark 1110 : m_dwInstances = %10d\n", static_cast<int>(m_dwInstances));
    --m_dwInstances;
    if (m_dwInstances == 0 && m_pDirectSound != nullptr) {
        if (m_pPrimaryBuffer != nullptr) {
            m_pPrimaryBuffer->Release();
            m_pPrimaryBuffer = nullptr;
        }
        m_pDirectSound->Release();
        m_pDirectSound = nullptr;
    }
    logPrint(soundTraceLevel, "mark 1120 : m_dwInstances = %10d\n", static_cast<int>(m_dwInstances));
}

void CDirectSound::destroy() {
    logPrint(soundTraceLevel, "CDirectSound::destroy 000\n");
    if (m_pSecondaryBuffer != nullptr) {
        m_pSecondaryBuffer->Release();
        m_pSecondaryBuffer = nullptr;
    }
    logPrint(soundTraceLevel, "CDirectSound::destroy END\n");
}

// The decoded PCM goes with the file image: a sound that is reset or
// destroyed no longer needs either, and every spoken word would otherwise
// keep its whole clip.
void CDirectSound::freeImages() {
    if (m_pFileBuffer != nullptr) {
        std::free(m_pFileBuffer);
        m_pFileBuffer = nullptr;
    }
    std::vector<BYTE>().swap(m_decodedPcm);
}

void CDirectSound::reset() {
    logPrint(soundTraceLevel, "CDirectSound::reset 000\n");
    freeImages();
    if (isReady() && isPlaying()) {
        logPrint(soundTraceLevel, "CDirectSound::reset 010\n");
        stop();
    }
    logPrint(soundTraceLevel, "CDirectSound::reset 020\n");
    destroy();
    logPrint(soundTraceLevel, "CDirectSound::reset END\n");
}

void CDirectSound::setDevice(const std::string& deviceName) {
    stop();
    reset();
    destroy();
    m_deviceName = deviceName;
}

int CDirectSound::getDurationMs() { return m_nDurationMs; }

int CDirectSound::openDevice(int createNumber, HWND window) {
    const bool fromImage = createNumber == 3;
    GUID* deviceGuid = nullptr;
    std::vector<AudioDeviceInfo> devices;
    if (fromImage && !m_deviceName.empty()) {
        if (DirectSoundEnumerateA(enumAudioDeviceCallback, &devices) < 0) {
            logPrint(1, "CDirectSound::create(): Couldn't enumerate the audio devices\n");
        }
        const int chosen = chooseAudioDevice(m_deviceName, devices);
        if (chosen >= 0) {
            deviceGuid = devices[static_cast<size_t>(chosen)].m_pGuid.get();
        }
    }

    HRESULT result = S_OK;
    for (int attempt = 1; attempt <= deviceCreateAttempts; ++attempt) {
        if (attempt > 1) {
            Sleep(deviceRetryMs);
        }
        result = DirectSoundCreate(deviceGuid, &m_pDirectSound, nullptr);
        if (fromImage) {
            printDSoundError(result, 3010);
        }
        if (result != DSERR_ALLOCATED && result != DSERR_NODRIVER) {
            break;
        }
    }
    if (result != S_OK) {
        m_pDirectSound = nullptr;
        showDeviceError(window, "Fehler bei Create DirectSoundPuffer 00");
        return 0;
    }

    const int mark = fromImage ? 3020 : 4010;
    result = m_pDirectSound->SetCooperativeLevel(window, DSSCL_PRIORITY);
    printDSoundError(result, mark);

    DSBUFFERDESC description;
    std::memset(&description, 0, sizeof description);
    description.dwSize = sizeof description;
    description.dwFlags = DSBCAPS_PRIMARYBUFFER;
    result = m_pDirectSound->CreateSoundBuffer(&description, &m_pPrimaryBuffer, nullptr);
    if (result != S_OK) {
        printDSoundError(result, mark + 10);
        m_pPrimaryBuffer = nullptr;
        showDeviceError(window, "Fehler bei Create DirectSoundPuffer 01");
        return 0;
    }

    WAVEFORMATEX primaryFormat = decodedPcmFormat();
    result = m_pPrimaryBuffer->SetFormat(&primaryFormat);
    if (result != S_OK) {
        printDSoundError(result, mark + 20);
        showDeviceError(window, "Konnte Format nicht setzen!");
        m_pPrimaryBuffer->Release();
        m_pPrimaryBuffer = nullptr;
        return 0;
    }
    WAVEFORMATEX actual;
    std::memset(&actual, 0, sizeof actual);
    result = m_pPrimaryBuffer->GetFormat(&actual, sizeof actual, nullptr);
    if (result != S_OK) {
        printDSoundError(result, mark + 30);
        logPrint(soundTraceLevel, "CDirectSound:: create %d PrimBuffer ERROR GetFormat\n",
                 createNumber);
    } else {
        logPrint(soundTraceLevel, "CDirectSound:: create %d PrimBuffer AudioFormat:\n", createNumber);
        logPrint(soundTraceLevel, "CDirectSound:: create %d PrimBuffer TAG (should be 1): %d\n",
                 createNumber, actual.wFormatTag);
        logPrint(soundTraceLevel, "CDirectSound:: create %d PrimBuffer Channels: %d\n",
                 createNumber, actual.nChannels);
        logPrint(soundTraceLevel, "CDirectSound:: create %d PrimBuffer SampleRate: %d\n",
                 createNumber, static_cast<int>(actual.nSamplesPerSec));
        logPrint(soundTraceLevel, "CDirectSound:: create %d PrimBuffer BitsPerSample: %d\n",
                 createNumber, actual.wBitsPerSample);
    }
    return 1;
}

int CDirectSound::buildSound(int createNumber) {
    // CreateSoundBuffer refuses a format without bits, channels or rate,
    // which would divide by zero below.
    if (!CreateSoundBuffer(m_pFormat) || !SetSoundData(m_pData, m_dwDataSize)) {
        logPrint(soundTraceLevel, "CDirectSound:: create %d END 2\n", createNumber);
        return 0;
    }
    logPrint(soundTraceLevel, "CDirectSound:: create %d 040\n", createNumber);
    const SoundLength length = soundLength(m_dwDataSize, *m_pFormat);
    m_nDurationMs = length.durationMs;
    m_nSampleRate = static_cast<int>(m_pFormat->nSamplesPerSec);

    logPrint(soundTraceLevel, "CDirectSound:: create %d AudioFormat:\n", createNumber);
    logPrint(soundTraceLevel, "CDirectSound:: create %d TAG (should be 1): %d\n", createNumber,
             m_pFormat->wFormatTag);
    logPrint(soundTraceLevel, "CDirectSound:: create %d Channels: %d\n", createNumber,
             m_pFormat->nChannels);
    logPrint(soundTraceLevel, "CDirectSound:: create %d SampleRate: %d\n", createNumber,
             m_nSampleRate);
    logPrint(soundTraceLevel, "CDirectSound:: create %d BitsPerSample: %d\n", createNumber,
             m_pFormat->wBitsPerSample);
    logPrint(soundTraceLevel, "CDirectSound:: create %d NbSamples: %d\n", createNumber,
             static_cast<int>(length.samples));
    logPrint(soundTraceLevel, "CDirectSound:: create %d Duration: %d ms\n", createNumber,
             m_nDurationMs);
    logPrint(soundTraceLevel, "CDirectSound:: create %d END 1\n", createNumber);
    return 1;
}

int CDirectSound::create(BYTE* data, WAVEFORMATEX* format, DWORD size, HWND window) {
    logPrint(soundTraceLevel, "CDirectSound:: create 4 000\n");
    if (window == nullptr) {
        window = GetDesktopWindow();
    }
    logPrint(soundTraceLevel, "CDirectSound:: create 4 010\n");
    if (m_pDirectSound == nullptr && !openDevice(4, window)) {
        return 0;
    }
    logPrint(soundTraceLevel, "CDirectSound:: create 4 020\n");
    m_pFormat = format;
    m_pData = data;
    m_dwDataSize = size;
    return buildSound(4);
}
