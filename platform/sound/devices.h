// The output devices as DirectSound names them: the default device (a null
// GUID), then each output PCM that ALSA lists, with a GUID made from its
// name, so that the same PCM has the same GUID in every process.
#pragma once

#include <string>
#include <vector>

#include "platform/core/com.h"

namespace platform::sound {

struct Device {
    std::string pcm;  // empty: the default device
    std::string description;
    GUID guid;
};

// The PCM that the default device is: $AUDIODEV, or ALSA's "default".
std::string defaultPcm();

GUID guidOfPcm(const std::string& pcm);

// The default device first, then ALSA's; what the stand-in gives while
// one is set.
std::vector<Device> listDevices();

// Tests play into devices of their own (platform_testing's setSoundDevices):
// a stand-in answers for ALSA's list, default device included, until it is
// set back to null.
using DeviceListStandIn = std::vector<Device> (*)();
void setDeviceListStandIn(DeviceListStandIn standIn);

// The PCM to open for a device GUID (null and DSDEVID_DefaultPlayback are
// the default device); false when no listed device has it.
bool pcmOfDevice(LPCGUID device, std::string* pcm);

}  // namespace platform::sound
