// The secondary buffer and playback control.
#include <algorithm>
#include <climits>
#include <cstring>

#include "audio/directsound.h"
#include "audio/dsounderror.h"
#include "audio/soundformat.h"
#include "common/logger.h"

namespace {

// The whole sound in one static software buffer, with pan and volume.
constexpr DWORD secondaryBufferFlags = DSBCAPS_STATIC | DSBCAPS_LOCSOFTWARE | DSBCAPS_CTRLPAN |
                                       DSBCAPS_CTRLVOLUME | DSBCAPS_GLOBALFOCUS |
                                       DSBCAPS_GETCURRENTPOSITION2;

}  // namespace

int CDirectSound::CreateSoundBuffer(WAVEFORMATEX* format) {
    logPrint(soundTraceLevel, "CDirectSound::CreateSoundBuffer 000\n");
    // A buffer left from an earlier sound would otherwise never be released.
    if (m_pSecondaryBuffer != nullptr) {
        m_pSecondaryBuffer->Release();
        m_pSecondaryBuffer = nullptr;
    }
    // Positions and durations divide by the format's sizes, so a format
    // without them makes no buffer; the old one is gone all the same, or the
    // object would stay ready with a format that does not describe it.
    if (m_pDirectSound == nullptr || format == nullptr || !isPlayableFormat(*format)) {
        logPrint(soundTraceLevel, "CDirectSound::CreateSoundBuffer END 1\n");
        return 0;
    }
    DSBUFFERDESC description;
    std::memset(&description, 0, sizeof description);
    description.dwSize = sizeof description;
    description.dwFlags = secondaryBufferFlags;
    description.dwBufferBytes = m_dwDataSize;
    description.lpwfxFormat = format;
    const HRESULT result =
        m_pDirectSound->CreateSoundBuffer(&description, &m_pSecondaryBuffer, nullptr);
    if (result != S_OK) {
        printDSoundError(result, 110);
        m_pSecondaryBuffer = nullptr;
        logPrint(soundTraceLevel, "CDirectSound::CreateSoundBuffer END 1\n");
        return 0;
    }
    logPrint(soundTraceLevel, "CDirectSound::CreateSoundBuffer END 2\n");
    return 1;
}

int CDirectSound::SetSoundData(BYTE* data, DWORD size) {
    logPrint(soundTraceLevel, "CDirectSound::SetSoundData 000\n");
    if (m_pSecondaryBuffer == nullptr) {
        logPrint(soundTraceLevel, "CDirectSound::SetSoundData ENd 2\n");
        return 0;
    }
    void* region = nullptr;
    DWORD regionSize = 0;
    HRESULT result = m_pSecondaryBuffer->Lock(0, 0, &region, &regionSize, nullptr, nullptr,
                                              DSBLOCK_ENTIREBUFFER);
    printDSoundError(result, 210);
    if (result == DSERR_BUFFERLOST) {
        m_pSecondaryBuffer->Restore();
        result = m_pSecondaryBuffer->Lock(0, 0, &region, &regionSize, nullptr, nullptr,
                                          DSBLOCK_ENTIREBUFFER);
        printDSoundError(result, 220);
    }
    if (result == S_OK) {
        const DWORD copied = std::min(size, regionSize);
        if (copied > 0 && data != nullptr && region != nullptr) {
            std::memcpy(region, data, copied);
        }
        result = m_pSecondaryBuffer->Unlock(region, regionSize, nullptr, 0);
        printDSoundError(result, 230);
        if (result == S_OK) {
            logPrint(soundTraceLevel, "CDirectSound::SetSoundData ENd 1\n");
            return 1;
        }
    }
    logPrint(soundTraceLevel, "CDirectSound::SetSoundData ENd 2\n");
    return 0;
}

void CDirectSound::play(DWORD start, int loop) {
    logPrint(soundTraceLevel, "CDirectSound::play 000\n");
    if (!isReady() || !isEnabled()) {
        logPrint(soundTraceLevel, "CDirectSound::play END 1\n");
        return;
    }
    DWORD position = static_cast<DWORD>(m_pFormat->nBlockAlign * start);
    if (position > m_dwDataSize) {
        position = m_dwDataSize;
    }
    m_pSecondaryBuffer->SetCurrentPosition(position);
    const DWORD flags = loop != 0 ? DSBPLAY_LOOPING : 0;
    if (m_pSecondaryBuffer->Play(0, 0, flags) == DSERR_BUFFERLOST) {
        logPrint(soundTraceLevel, "CDirectSound::play 010\n");
        SetSoundData(m_pData, m_dwDataSize);
        logPrint(soundTraceLevel, "CDirectSound::play 011\n");
        m_pSecondaryBuffer->Play(0, 0, flags);
        logPrint(soundTraceLevel, "CDirectSound::play 012\n");
    }
    logPrint(soundTraceLevel, "CDirectSound::play END\n");
}

void CDirectSound::stop() {
    logPrint(soundTraceLevel, "CDirectSound::stop 000\n");
    if (isReady()) {
        logPrint(soundTraceLevel, "CDirectSound::stop 010\n");
        m_pSecondaryBuffer->Stop();
    }
    logPrint(soundTraceLevel, "CDirectSound::stop END\n");
}

void CDirectSound::pause() {
    logPrint(soundTraceLevel, "CDirectSound::pause 000\n");
    stop();
    logPrint(soundTraceLevel, "CDirectSound::pause END\n");
}

void CDirectSound::continueSound() {
    logPrint(soundTraceLevel, "CDirectSound::continueSound 000\n");
    if (isReady()) {
        logPrint(soundTraceLevel, "CDirectSound::continueSound 010\n");
        DWORD playCursor = 0;
        DWORD writeCursor = 0;
        // Without a cursor there is no place to resume from: the sound stays stopped.
        if (m_pSecondaryBuffer->GetCurrentPosition(&playCursor, &writeCursor) == S_OK) {
            logPrint(soundTraceLevel, "CDirectSound::continueSound 020\n");
            play(playCursor / m_pFormat->nBlockAlign, 0);
            logPrint(soundTraceLevel, "CDirectSound::continueSound 030\n");
        }
    }
    logPrint(soundTraceLevel, "CDirectSound::continueSound END\n");
}

void CDirectSound::setPan(LONG pan) {
    logPrint(soundTraceLevel, "CDirectSound::setPan 000\n");
    if (pan < DSBPAN_LEFT || pan > DSBPAN_RIGHT) {
        return;
    }
    if (!isReady() || !isEnabled()) {
        logPrint(soundTraceLevel, "CDirectSound::setPan END 1\n");
        return;
    }
    if (m_pSecondaryBuffer->SetPan(pan) != S_OK) {
        logPrint(soundTraceLevel, "CDirectSound::setPan 010\n");
    }
    logPrint(soundTraceLevel, "CDirectSound::setPan END\n");
}

LONG CDirectSound::getPan() {
    logPrint(soundTraceLevel, "CDirectSound::getPan 000\n");
    LONG pan = 0;
    if (m_pSecondaryBuffer == nullptr || m_pSecondaryBuffer->GetPan(&pan) != S_OK) {
        logPrint(soundTraceLevel, "CDirectSound::getPan 010\n");
        return 0;
    }
    logPrint(soundTraceLevel, "CDirectSound::getPan END\n");
    return pan;
}

void CDirectSound::setVolume(double volume) {
    logPrint(soundTraceLevel, "CDirectSound::setVolume 000\n");
    // Not a number is no volume either.
    if (!(volume <= 0.0)) {
        return;
    }
    if (!isReady() || !isEnabled()) {
        logPrint(soundTraceLevel, "CDirectSound::setVolume END 1\n");
        return;
    }
    // Far below -100 dB the hundredths would not fit the 32 bits DirectSound takes.
    const double hundredths = std::max(volume * 100.0, static_cast<double>(INT_MIN));
    if (m_pSecondaryBuffer->SetVolume(static_cast<LONG>(hundredths)) != S_OK) {
        logPrint(soundTraceLevel, "CDirectSound::setVolume 010\n");
    }
    logPrint(soundTraceLevel, "CDirectSound::setVolume END\n");
}

double CDirectSound::getVolume() {
    logPrint(soundTraceLevel, "CDirectSound::getVolume 000\n");
    LONG value = 0;
    if (m_pSecondaryBuffer == nullptr || m_pSecondaryBuffer->GetVolume(&value) != S_OK) {
        logPrint(soundTraceLevel, "CDirectSound::getVolume 010\n");
        return 0.0;
    }
    logPrint(soundTraceLevel, "CDirectSound::getVolume END\n");
    return value / 100.0;
}

int CDirectSound::isReady() {
    return m_pDirectSound != nullptr && m_pSecondaryBuffer != nullptr && m_pData != nullptr &&
                   m_dwDataSize != 0
               ? 1
               : 0;
}

int CDirectSound::isPlaying() {
    logPrint(soundTraceLevel, "CDirectSound::isPlaying 000\n");
    if (!isReady()) {
        logPrint(soundTraceLevel, "CDirectSound::isPlaying END 1\n");
        return 0;
    }
    DWORD status = 0;
    m_pSecondaryBuffer->GetStatus(&status);
    logPrint(soundTraceLevel, "CDirectSound::isPlaying END 2\n");
    return (status & DSBSTATUS_PLAYING) != 0 ? 1 : 0;
}

int CDirectSound::isEnabled() { return m_bEnabled; }
