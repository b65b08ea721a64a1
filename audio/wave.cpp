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
    if (module == nullptr) {
        module = GetModuleHandleA(nullptr);
    }
    HRSRC resource = FindResourceA(module, name, "WAVE");
    HGLOBAL loaded = resource != nullptr ? LoadResource(module, resource) : nullptr;
    const BYTE* image = loaded != nullptr ? static_cast<const BYTE*>(LockResource(loaded)) : nullptr;
    if (image == nullptr) {
        return 0;
    }
    return create(image, window, SizeofResource(module, resource));
}

int CDirectSound::loadWaveFile(const char* fileName, HWND window) {
    if (fileName == nullptr || fileName[0] == '\0') {
        return 0;
    }
    HANDLE file = openForReading(fileName);
    if (file == INVALID_HANDLE_VALUE) {
        return 0;
    }
    reset();
    DWORD size = 0;
    m_pFileBuffer = readFileImage(file, &size);
    if (m_pFileBuffer == nullptr) {
        return 0;
    }
    return create(m_pFileBuffer, window, size);
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
