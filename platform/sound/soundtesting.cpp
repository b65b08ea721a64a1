// The device list tests stand in for ALSA's (platform/testing.h).
#include <mutex>

#include "platform/sound/devices.h"
#include "platform/testing.h"

namespace {

struct Given {
    std::mutex lock;
    std::vector<platform::sound::Device> devices;
};

Given& given() {
    static Given* instance = new Given;
    return *instance;
}

std::vector<platform::sound::Device> givenDevices() {
    std::lock_guard<std::mutex> guard(given().lock);
    return given().devices;
}

}  // namespace

namespace platform::testing {

void setSoundDevices(std::vector<SoundDevice> devices) {
    std::vector<sound::Device> listed;
    for (SoundDevice& device : devices) {
        const GUID guid = device.pcm.empty() ? GUID{} : sound::guidOfPcm(device.pcm);
        listed.push_back({std::move(device.pcm), std::move(device.description), guid});
    }
    {
        std::lock_guard<std::mutex> guard(given().lock);
        given().devices = std::move(listed);
    }
    sound::setDeviceListStandIn(givenDevices);
}

void clearSoundDevices() {
    sound::setDeviceListStandIn(nullptr);
    std::lock_guard<std::mutex> guard(given().lock);
    given().devices.clear();
}

}  // namespace platform::testing
