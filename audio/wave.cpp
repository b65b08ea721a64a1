// WAVE sounds: from a module's resources, from a file, from an image in memory.
#include "audio/directsound.h"
#include "audio/fileimage.h"
#include "common/logger.h"

int CDirectSound::loadWave(LPCSTR name, HMODULE module, HWND window) {
    logPrint(soundTraceLevel, "CDirectSound::load 000\n");
    reset();
    return createWave(name, module, window);
}

int CDirectSound::createWave(WORD number, HMODULE module, HWND window) {
    logPrint(soundTraceLevel, "CDirectSound:: create 1 000\n");
    return createWave(MAKEINTRESOURCEA(number), module, window);
}

int CDirectSound::createWave(LPCSTR name, HMODULE module, HWND window) {
    logPrint(soundTraceLevel, "CDirectSound:: create 2 000\n");
    DWORD size = 0;
    const BYTE* image = lockResourceImage(module, name, "WAVE", &size);
    if (image == nullptr) {
        return 0;
    }
    return create(image, window, size);
}

int CDirectSound::loadWaveFile(const char* fileName, HWND window) {
    DWORD size = 0;
    if (!readSoundFile(fileName, &size)) {
        return 0;
    }
    return create(m_pFileBuffer, window, size);
}

int CDirectSound::readSoundFile(const char* fileName, DWORD* size) {
    if (fileName == nullptr || fileName[0] == '\0') {
        return 0;
    }
    HANDLE file = openForReading(fileName);
    if (file == INVALID_HANDLE_VALUE) {
        return 0;
    }
    reset();
    m_pFileBuffer = readFileImage(file, size);
    return m_pFileBuffer != nullptr ? 1 : 0;
}

int CDirectSound::create(const BYTE* image, HWND window, DWORD imageSize) {
    logPrint(soundTraceLevel, "CDirectSound:: create 3 000\n");
    if (window == nullptr) {
        window = GetDesktopWindow();
    }
    logPrint(soundTraceLevel, "CDirectSound::create() 3 010\n");
    if (m_pDirectSound == nullptr && !openDevice(3, window)) {
        return 0;
    }
    logPrint(soundTraceLevel, "CDirectSound:: create 3 020\n");
    if (!GetWaveData(image, imageSize, &m_pFormat, &m_pData, &m_dwDataSize)) {
        logPrint(soundTraceLevel, "CDirectSound:: create 3 END 2\n");
        return 0;
    }
    return buildSound(3);
}
