#include "platform/sound/devices.h"

#include <alsa/asoundlib.h>

#include <atomic>
#include <cstdlib>
#include <cstring>

#include "platform/sound/dsound.h"

namespace platform::sound {

namespace {

std::atomic<DeviceListStandIn> standIn{nullptr};

std::uint64_t fnv1a(const std::string& text, std::uint64_t hash) {
    for (unsigned char c : text) {
        hash ^= c;
        hash *= 0x100000001B3ull;
    }
    return hash;
}

std::string hintValue(void* hint, const char* id) {
    char* value = snd_device_name_get_hint(hint, id);
    if (value == nullptr) return {};
    std::string result(value);
    std::free(value);
    return result;
}

// ALSA's descriptions run over lines ("card, device\nwhat it is"); a
// DirectSound description is one line.
std::string oneLine(std::string text) {
    for (std::size_t at = text.find('\n'); at != std::string::npos; at = text.find('\n', at)) {
        text.replace(at, 1, ", ");
    }
    return text;
}

void appendAlsaDevices(std::vector<Device>* devices) {
    void** hints = nullptr;
    if (snd_device_name_hint(-1, "pcm", &hints) < 0) return;
    for (void** hint = hints; *hint != nullptr; ++hint) {
        std::string name = hintValue(*hint, "NAME");
        std::string direction = hintValue(*hint, "IOID");
        // The default device already leads the list.
        if (name.empty() || name == "default" || direction == "Input") continue;
        std::string description = oneLine(hintValue(*hint, "DESC"));
        devices->push_back({name, description.empty() ? name : description, guidOfPcm(name)});
    }
    snd_device_name_free_hint(hints);
}

}  // namespace

std::string defaultPcm() {
    const char* named = std::getenv("AUDIODEV");
    return named != nullptr && named[0] != '\0' ? named : "default";
}

GUID guidOfPcm(const std::string& pcm) {
    std::uint64_t high = fnv1a(pcm, 0xCBF29CE484222325ull);
    std::uint64_t low = fnv1a(pcm, high ^ 0x9E3779B97F4A7C15ull);
    GUID guid;
    guid.Data1 = static_cast<DWORD>(high >> 32);
    guid.Data2 = static_cast<WORD>(high >> 16);
    // Version 5 and the standard variant, as name-based GUIDs are marked.
    guid.Data3 = static_cast<WORD>((high & 0x0FFF) | 0x5000);
    for (int i = 0; i < 8; ++i) guid.Data4[i] = static_cast<BYTE>(low >> (8 * i));
    guid.Data4[0] = static_cast<BYTE>((guid.Data4[0] & 0x3F) | 0x80);
    return guid;
}

void setDeviceListStandIn(DeviceListStandIn given) { standIn.store(given); }

std::vector<Device> listDevices() {
    if (DeviceListStandIn given = standIn.load()) return given();
    std::vector<Device> devices;
    devices.push_back({"", "Primary Sound Driver", GUID{}});
    appendAlsaDevices(&devices);
    return devices;
}

bool pcmOfDevice(LPCGUID device, std::string* pcm) {
    if (device == nullptr || *device == GUID{} || *device == DSDEVID_DefaultPlayback) {
        *pcm = defaultPcm();
        return true;
    }
    for (const Device& listed : listDevices()) {
        if (!listed.pcm.empty() && listed.guid == *device) {
            *pcm = listed.pcm;
            return true;
        }
    }
    return false;
}

}  // namespace platform::sound

HRESULT WINAPI DirectSoundEnumerateA(LPDSENUMCALLBACKA callback, LPVOID context) {
    if (callback == nullptr) return DSERR_INVALIDPARAM;
    for (platform::sound::Device& device : platform::sound::listDevices()) {
        LPGUID guid = device.pcm.empty() ? nullptr : &device.guid;
        if (!callback(guid, device.description.c_str(), device.pcm.c_str(), context)) break;
    }
    return DS_OK;
}
