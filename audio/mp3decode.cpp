// MP3 sounds: from a module's resources or from a file, decoded whole.
#include "audio/directsound.h"
#include "audio/fileimage.h"
#include "audio/mp3decoder.h"
#include "common/logger.h"

int CDirectSound::load(int resourceId, HMODULE module, HWND window) {
    logPrint(soundTraceLevel, "CDirectSound::load 000\n");
    reset();
    return create(resourceId, module, window);
}

int CDirectSound::create(int resourceId, HMODULE module, HWND window) {
    logPrint(soundTraceLevel, "CDirectSound:: create 2 000\n");
    DWORD size = 0;
    const BYTE* bytes = lockResourceImage(
        module, MAKEINTRESOURCEA(static_cast<WORD>(resourceId)), "MP3", &size);
    if (bytes == nullptr) {
        return 0;
    }
    return decodeMp3(bytes, size, window) == S_OK ? 1 : 0;
}

int CDirectSound::loadMp3File(const char* fileName, HWND window) {
    DWORD size = 0;
    if (!readSoundFile(fileName, &size)) {
        return 0;
    }
    return decodeMp3(m_pFileBuffer, size, window) == S_OK ? 1 : 0;
}

HRESULT CDirectSound::decodeMp3(const BYTE* bytes, DWORD count, HWND window) {
    std::vector<BYTE> pcm;
    if (!decodeMp3ToPcm(bytes, count, pcm)) {
        return E_FAIL;
    }
    // The sound keeps the PCM for a refill after a lost buffer; it goes with
    // the next reset or the object. A sound still pointing at the PCM it
    // replaces must not keep the pointer.
    if (m_pData != nullptr && m_pData == m_decodedPcm.data()) {
        m_pData = nullptr;
        m_dwDataSize = 0;
    }
    m_decodedPcm.swap(pcm);
    static WAVEFORMATEX format = decodedPcmFormat();
    if (!create(m_decodedPcm.data(), &format, static_cast<DWORD>(m_decodedPcm.size()), window)) {
        return E_FAIL;
    }
    return S_OK;
}
