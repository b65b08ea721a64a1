// CDirectSound: one sound (PCM data and its format) in a DirectSound
// secondary buffer, played on a device that all objects of the process share.
//
// The first object that creates a sound opens the shared device and its
// primary buffer (44100 Hz, 16-bit stereo); the destruction of the last
// object releases them. A sound comes from PCM data (create with data and
// format), from MP3 data decoded whole into memory (load, create with a
// resource id, loadMp3File: mp3decode.cpp) or from a RIFF/WAVE image
// (loadWave, loadWaveFile, create with an image: wave.cpp); playback control
// is in playback.cpp.
//
// Every step is traced through the logger at level 9 ("CDirectSound::play
// 000"); DirectSound results go through printDSoundError at level 1. Device
// failures show a message box with the caption "ERROR", which blocks until
// it is closed.
//
// Nothing here is locked: the shared device, the decoder's working storage
// and each object must be used by one thread at a time.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/win32.h"

// Level of the class's step traces.
constexpr int soundTraceLevel = 9;

// One device that the DirectSound enumeration reported.
struct AudioDeviceInfo {
    std::unique_ptr<GUID> m_pGuid;  // null for a device reported without a GUID
    std::string m_description;
    std::string m_module;
};

// Appends a record for the device to the std::vector<AudioDeviceInfo> that
// context points at. TRUE, so the enumeration goes on to the end, unless the
// record cannot be had for want of memory: then FALSE, which ends it with
// the list as it was. DirectSound calls this from C, so no exception may
// leave it.
BOOL CALLBACK enumAudioDeviceCallback(LPGUID guid, LPCSTR description, LPCSTR module,
                                      LPVOID context);

// The index of the first device whose description begins with the name or
// is a beginning of it (byte for byte, with case), logging each device
// looked at; -1 when none matches.
int chooseAudioDevice(const std::string& name, const std::vector<AudioDeviceInfo>& devices);

class CDirectSound {
public:
    // An empty name is the default device.
    explicit CDirectSound(const std::string& deviceName);
    virtual ~CDirectSound();
    CDirectSound(const CDirectSound&) = delete;
    CDirectSound& operator=(const CDirectSound&) = delete;

    // Releases the secondary buffer.
    void destroy();
    // Frees the file image and the decoded PCM, stops a playing sound and
    // releases the secondary buffer.
    void reset();
    // Stops and clears the sound; the name counts from the next device set-up.
    void setDevice(const std::string& deviceName);
    int getDurationMs();

    // From PCM data and its format, which stay the caller's (traced as
    // create 4). 1 or 0.
    int create(BYTE* data, WAVEFORMATEX* format, DWORD size, HWND window);

    // --- MP3 recordings (mp3decode.cpp) ---

    // Resets, then the create below. 1 or 0.
    int load(int resourceId, HMODULE module, HWND window);
    // From the "MP3" resource with the integer id (low 16 bits) in the
    // module (null: the program's own), decoded whole (traced as create 2).
    // 1 or 0.
    int create(int resourceId, HMODULE module, HWND window);
    // 0 for an empty name or a file that does not open, the current sound
    // untouched; otherwise resets and decodes the file. 1 or 0.
    int loadMp3File(const char* fileName, HWND window);
    // Decodes MP3 data to PCM and creates the sound from it: S_OK or E_FAIL.
    HRESULT decodeMp3(const BYTE* bytes, DWORD count, HWND window);

    // --- WAVE images and device choice (wave.cpp) ---

    // Resets, then createWave. 1 or 0.
    int loadWave(LPCSTR name, HMODULE module, HWND window);
    // The "WAVE" resource with the integer id (traced as create 1).
    int createWave(WORD number, HMODULE module, HWND window);
    // The "WAVE" resource by id (MAKEINTRESOURCEA) or name (traced as
    // create 2).
    int createWave(LPCSTR name, HMODULE module, HWND window);
    // From a RIFF/WAVE image in memory, which must stay valid while the sound
    // is loaded (traced as create 3). imageSize bounds the parse where the
    // image's end is known; unknownImageSize leaves the RIFF header alone to
    // bound it.
    static constexpr DWORD unknownImageSize = 0xFFFFFFFF;
    int create(const BYTE* image, HWND window, DWORD imageSize = unknownImageSize);
    // 0 for an empty name or a file that does not open, the current sound
    // untouched; otherwise resets and loads the file's image. 1 or 0.
    int loadWaveFile(const char* fileName, HWND window);
    // Finds the format and the sample data of a RIFF/WAVE image. The format
    // is copied into a record of this object (zero-filled beyond the chunk);
    // the data pointer points into the image, its size clamped to the image.
    // 1 or 0; on 0 the three outputs are null and 0.
    int GetWaveData(const BYTE* image, DWORD imageSize, WAVEFORMATEX** format, BYTE** data,
                    DWORD* size);

    // --- Buffer and playback (playback.cpp) ---

    // A secondary buffer of m_dwDataSize bytes in that format, replacing the
    // old one, which is released also when the format is not playable
    // (isPlayableFormat) or DirectSound refuses it. 1 or 0.
    int CreateSoundBuffer(WAVEFORMATEX* format);
    // Copies the data into the buffer (no more than it holds), restoring a
    // lost buffer once. 1 or 0.
    int SetSoundData(BYTE* data, DWORD size);
    // From a position in sample frames, once or looping.
    void play(DWORD start, int loop);
    void stop();
    void pause();
    // Resumes where the sound stopped, without looping.
    void continueSound();
    // -10000 (left) to 10000 (right); others are ignored.
    void setPan(LONG pan);
    // 0 without a buffer or when it cannot be read.
    LONG getPan();
    // Decibels, 0 is full volume; above 0 is ignored.
    void setVolume(double volume);
    // 0.0 without a buffer or when it cannot be read.
    double getVolume();
    int isReady();
    int isPlaying();
    int isEnabled();

private:
    friend class CDirectSoundInspector;  // lets tests look at every member

    // Opens the shared device, its cooperative level and primary buffer for
    // create 3 or 4 (the number picks the marks and trace lines); create 3
    // chooses the device by name. 1 when the device is open.
    int openDevice(int createNumber, HWND window);
    // Buffer, data and duration of the sound in m_pData / m_pFormat, with the
    // traces of create 3 or 4. 1 or 0.
    int buildSound(int createNumber);
    void freeImages();
    // For the file loaders: a named file that opens resets the sound and is
    // read whole into m_pFileBuffer. 1, with its size, or 0.
    int readSoundFile(const char* fileName, DWORD* size);

    BYTE* m_pFileBuffer;
    BYTE* m_pData;
    DWORD m_dwDataSize;
    IDirectSoundBuffer* m_pSecondaryBuffer;
    int m_bEnabled;
    int m_nDurationMs;
    int m_nSampleRate;
    std::string m_deviceName;
    WAVEFORMATEX* m_pFormat;
    // The decoded PCM that m_pData points at after an MP3 load; owned.
    std::vector<BYTE> m_decodedPcm;
    // The format of a WAVE sound, copied out of its "fmt " chunk with room
    // for the extension of the extensible format.
#pragma pack(push, 1)
    struct OwnedFormat {
        WAVEFORMATEX format;
        BYTE extension[22];
    } m_waveFormat;
#pragma pack(pop)

    static IDirectSound* m_pDirectSound;
    static IDirectSoundBuffer* m_pPrimaryBuffer;
    static DWORD m_dwInstances;
};
