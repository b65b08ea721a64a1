// DirectSound on ALSA: a device object, a primary buffer that stands for
// the device's output format, and static secondary buffers that a mixer
// thread of the device plays.
//
// The device is ALSA's "default" PCM, or the PCM named by the environment
// variable AUDIODEV (as SDL and sox read it). A device that does not exist
// answers DSERR_NODRIVER, one that another program holds DSERR_ALLOCATED.
//
// Every open device has one mixer thread; the last Release of the device
// stops and joins it, and closes the PCM after the queued sound has played
// (or at once while a buffer still plays). Buffers that outlive their
// device stay safe to call, but are no longer heard.
//
// Play cursors follow the monotonic clock from the moment Play is called,
// whether or not the PCM paces its writes (ALSA's "file" and "null" plugins
// do not), so a buffer "plays" for its real duration on every device. A
// buffer played without DSBPLAY_LOOPING stops at its end, its play cursor
// back at 0, and GetStatus no longer reports DSBSTATUS_PLAYING.
//
// The mixer writes a little ahead of the clock, and what it has written is
// heard (up to some 50 ms after Stop). So Stop leaves the play cursor at the
// first frame not yet written, and a buffer stopped and played again from
// its cursor is heard whole and once. A buffer stopped after its last frame
// was written, not looping, has its cursor one past that frame, at its size
// in bytes: SetCurrentPosition refuses that position, and Play from there
// ends at once.
//
// One buffer at volume 0 and pan 0, at the output's rate, channels and
// sample size, reaches ALSA sample for sample as it lies in the buffer,
// starting with its first frame: the mixer writes nothing while no buffer
// plays. Several buffers are summed with saturation.
//
// Formats: the output is the primary buffer's format (DirectSound's default
// of 22050 Hz, 8 bits, stereo until SetFormat changes it, which needs
// DSSCL_PRIORITY). Secondary buffers hold PCM of 8 or 16 bits, mono or
// stereo, at 100 to 200000 Hz; mono is spread to both output channels,
// stereo is averaged for a mono output, and another rate is converted by
// taking the nearest earlier frame. Any other format is DSERR_BADFORMAT.
// The primary buffer cannot be locked (DSERR_PRIOLEVELNEEDED below
// DSSCL_WRITEPRIMARY, DSERR_UNSUPPORTED at it) and has no cursor, volume
// or pan (DSERR_UNSUPPORTED, DSERR_CONTROLUNAVAIL).
//
// DSBUFFERDESC.dwSize may be 36, the size of the record in 32-bit code that
// was written for Windows, or sizeof(DSBUFFERDESC).
//
// Lock hands out the buffer's own memory: writing into a buffer while it
// plays races with the mixer, so fill a buffer before Play.
#pragma once

#include "platform/core/com.h"
#include "platform/core/types.h"
#include "platform/core/waveformat.h"

using LPLONG = LONG*;

constexpr HRESULT quillDsHresult(DWORD code) { return quillHresult(0x88780000u | code); }

// Results.
constexpr HRESULT DS_OK = S_OK;
constexpr HRESULT DSERR_UNSUPPORTED = E_NOTIMPL;
constexpr HRESULT DSERR_NOINTERFACE = E_NOINTERFACE;
constexpr HRESULT DSERR_GENERIC = E_FAIL;
constexpr HRESULT DSERR_NOAGGREGATION = quillHresult(0x80040110u);
constexpr HRESULT DSERR_ACCESSDENIED = quillHresult(0x80070005u);
constexpr HRESULT DSERR_OUTOFMEMORY = E_OUTOFMEMORY;
constexpr HRESULT DSERR_INVALIDPARAM = E_INVALIDARG;
constexpr HRESULT DSERR_ALLOCATED = quillDsHresult(10);
constexpr HRESULT DSERR_CONTROLUNAVAIL = quillDsHresult(30);
constexpr HRESULT DSERR_INVALIDCALL = quillDsHresult(50);
constexpr HRESULT DSERR_PRIOLEVELNEEDED = quillDsHresult(70);
constexpr HRESULT DSERR_BADFORMAT = quillDsHresult(100);
constexpr HRESULT DSERR_NODRIVER = quillDsHresult(120);
constexpr HRESULT DSERR_ALREADYINITIALIZED = quillDsHresult(130);
constexpr HRESULT DSERR_BUFFERLOST = quillDsHresult(150);
constexpr HRESULT DSERR_OTHERAPPHASPRIO = quillDsHresult(160);
constexpr HRESULT DSERR_UNINITIALIZED = quillDsHresult(170);
constexpr HRESULT DSERR_BUFFERTOOSMALL = quillDsHresult(180);
constexpr HRESULT DSERR_DS8_REQUIRED = quillDsHresult(190);
constexpr HRESULT DSERR_SENDLOOP = quillDsHresult(200);
constexpr HRESULT DSERR_BADSENDBUFFERGUID = quillDsHresult(210);
constexpr HRESULT DSERR_FXUNAVAILABLE = quillDsHresult(220);
constexpr HRESULT DSERR_OBJECTNOTFOUND = quillDsHresult(4449);

// Cooperative levels.
constexpr DWORD DSSCL_NORMAL = 1;
constexpr DWORD DSSCL_PRIORITY = 2;
constexpr DWORD DSSCL_EXCLUSIVE = 3;
constexpr DWORD DSSCL_WRITEPRIMARY = 4;

// Buffer capabilities.
constexpr DWORD DSBCAPS_PRIMARYBUFFER = 0x00000001;
constexpr DWORD DSBCAPS_STATIC = 0x00000002;
constexpr DWORD DSBCAPS_LOCSOFTWARE = 0x00000008;
constexpr DWORD DSBCAPS_CTRLPAN = 0x00000040;
constexpr DWORD DSBCAPS_CTRLVOLUME = 0x00000080;
constexpr DWORD DSBCAPS_GLOBALFOCUS = 0x00008000;
constexpr DWORD DSBCAPS_GETCURRENTPOSITION2 = 0x00010000;

// Lock, Play and GetStatus flags.
constexpr DWORD DSBLOCK_FROMWRITECURSOR = 0x00000001;
constexpr DWORD DSBLOCK_ENTIREBUFFER = 0x00000002;
constexpr DWORD DSBPLAY_LOOPING = 0x00000001;
constexpr DWORD DSBSTATUS_PLAYING = 0x00000001;
constexpr DWORD DSBSTATUS_BUFFERLOST = 0x00000002;
constexpr DWORD DSBSTATUS_LOOPING = 0x00000004;

// Volume in hundredths of a decibel, pan in the same unit of attenuation of
// the other side.
constexpr LONG DSBVOLUME_MIN = -10000;
constexpr LONG DSBVOLUME_MAX = 0;
constexpr LONG DSBPAN_LEFT = -10000;
constexpr LONG DSBPAN_CENTER = 0;
constexpr LONG DSBPAN_RIGHT = 10000;

// Secondary buffer sizes.
constexpr DWORD DSBSIZE_MIN = 4;
constexpr DWORD DSBSIZE_MAX = 0x0FFFFFFF;
// Secondary buffer rates.
constexpr DWORD DSBFREQUENCY_MIN = 100;
constexpr DWORD DSBFREQUENCY_MAX = 200000;

struct DSBUFFERDESC {
    DWORD dwSize;
    DWORD dwFlags;
    DWORD dwBufferBytes;
    DWORD dwReserved;
    LPWAVEFORMATEX lpwfxFormat;
    GUID guid3DAlgorithm;
};
using LPDSBUFFERDESC = DSBUFFERDESC*;
using LPCDSBUFFERDESC = const DSBUFFERDESC*;

class IDirectSoundBuffer : public IUnknown {
public:
    virtual HRESULT STDMETHODCALLTYPE GetCurrentPosition(LPDWORD playCursor, LPDWORD writeCursor) = 0;
    // sizeWritten alone (format null) asks for the size a copy needs.
    virtual HRESULT STDMETHODCALLTYPE GetFormat(LPWAVEFORMATEX format, DWORD sizeAllocated,
                                                LPDWORD sizeWritten) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetVolume(LPLONG volume) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetPan(LPLONG pan) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetStatus(LPDWORD status) = 0;
    // A region that runs past the end continues at the start as the second
    // region; without room for a second region it is cut at the end.
    virtual HRESULT STDMETHODCALLTYPE Lock(DWORD offset, DWORD bytes, LPVOID* audio1, LPDWORD bytes1,
                                           LPVOID* audio2, LPDWORD bytes2, DWORD flags) = 0;
    // Plays from the play cursor; on a buffer that plays already, only
    // changes whether it loops.
    virtual HRESULT STDMETHODCALLTYPE Play(DWORD reserved, DWORD priority, DWORD flags) = 0;
    // A position at or past the end is DSERR_INVALIDPARAM; one inside a
    // frame starts at that frame.
    virtual HRESULT STDMETHODCALLTYPE SetCurrentPosition(DWORD position) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetFormat(LPCWAVEFORMATEX format) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetVolume(LONG volume) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetPan(LONG pan) = 0;
    virtual HRESULT STDMETHODCALLTYPE Stop() = 0;
    virtual HRESULT STDMETHODCALLTYPE Unlock(LPVOID audio1, DWORD bytes1, LPVOID audio2,
                                             DWORD bytes2) = 0;
    // Brings a lost buffer back, its contents silent until refilled.
    virtual HRESULT STDMETHODCALLTYPE Restore() = 0;

protected:
    ~IDirectSoundBuffer() = default;
};
using LPDIRECTSOUNDBUFFER = IDirectSoundBuffer*;

class IDirectSound : public IUnknown {
public:
    virtual HRESULT STDMETHODCALLTYPE CreateSoundBuffer(LPCDSBUFFERDESC desc, LPDIRECTSOUNDBUFFER* buffer,
                                                        LPUNKNOWN outer) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetCooperativeLevel(HWND window, DWORD level) = 0;

protected:
    ~IDirectSound() = default;
};
using LPDIRECTSOUND = IDirectSound*;

extern const IID IID_IDirectSound;
extern const IID IID_IDirectSoundBuffer;
// Device ids that name the default device, as a null GUID does.
extern const GUID DSDEVID_DefaultPlayback;

// device null (or DSDEVID_DefaultPlayback) opens the default device;
// another GUID one that DirectSoundEnumerateA reported. outer must be null
// (DSERR_NOAGGREGATION).
HRESULT WINAPI DirectSoundCreate(LPCGUID device, LPDIRECTSOUND* out, LPUNKNOWN outer);

// Lists the output PCMs that ALSA names, the default device first with a
// null GUID and the description "Primary Sound Driver"; module is the PCM's
// ALSA name ("" for the default). A device's GUID stays the same across
// calls and processes. The callback returns FALSE to end the list early.
using LPDSENUMCALLBACKA = BOOL(CALLBACK*)(LPGUID guid, LPCSTR description, LPCSTR module,
                                          LPVOID context);
HRESULT WINAPI DirectSoundEnumerateA(LPDSENUMCALLBACKA callback, LPVOID context);
