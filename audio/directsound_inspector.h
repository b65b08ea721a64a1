// Lets tests look at the members of a CDirectSound.
#pragma once

#include "audio/directsound.h"

class CDirectSoundInspector {
public:
    explicit CDirectSoundInspector(CDirectSound& sound) : m_sound(sound) {}

    const BYTE* data() const { return m_sound.m_pData; }
    DWORD dataSize() const { return m_sound.m_dwDataSize; }
    const WAVEFORMATEX* format() const { return m_sound.m_pFormat; }
    const BYTE* fileBuffer() const { return m_sound.m_pFileBuffer; }
    IDirectSoundBuffer* secondaryBuffer() const { return m_sound.m_pSecondaryBuffer; }
    int sampleRate() const { return m_sound.m_nSampleRate; }
    size_t decodedPcmCapacity() const { return m_sound.m_decodedPcm.capacity(); }
    static IDirectSound* device() { return CDirectSound::m_pDirectSound; }
    static IDirectSoundBuffer* primaryBuffer() { return CDirectSound::m_pPrimaryBuffer; }
    static DWORD instances() { return CDirectSound::m_dwInstances; }

private:
    CDirectSound& m_sound;
};
