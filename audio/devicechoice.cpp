// Device records of the DirectSound enumeration and the choice by name.
#include <algorithm>
#include <cstring>
#include <memory>
#include <utility>

#include "audio/directsound.h"
#include "common/logger.h"

BOOL CALLBACK enumAudioDeviceCallback(LPGUID guid, LPCSTR description, LPCSTR module,
                                      LPVOID context) {
    try {
        AudioDeviceInfo device;
        if (guid != nullptr) {
            device.m_pGuid = std::make_unique<GUID>(*guid);
        }
        device.m_description = description != nullptr ? description : "";
        device.m_module = module != nullptr ? module : "";
        static_cast<std::vector<AudioDeviceInfo>*>(context)->push_back(std::move(device));
        return TRUE;
    } catch (...) {
        return FALSE;
    }
}

int chooseAudioDevice(const std::string& name, const std::vector<AudioDeviceInfo>& devices) {
    for (size_t index = 0; index < devices.size(); ++index) {
        const std::string& description = devices[index].m_description;
        const int shown = static_cast<int>(index);
        logPrint(1, "CDirectSound::create(): [%2d] : %20s\n", shown, description.c_str());
        const size_t compared = std::min(name.size(), description.size());
        if (name.compare(0, compared, description, 0, compared) == 0) {
            logPrint(1, "CDirectSound::create(): Found device by name [%2d] : %20s\n", shown,
                     description.c_str());
            return shown;
        }
    }
    return -1;
}
