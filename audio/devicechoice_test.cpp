#include <gtest/gtest.h>

#include "audio/directsound.h"

namespace {

TEST(ChooseAudioDevice, ByBeginningEitherWayWithCase) {
    std::vector<AudioDeviceInfo*> devices;
    GUID guid{};
    for (const char* description : {"Default", "Speakers (USB Audio)", "Speakers (HDMI)"}) {
        ++guid.Data1;
        enumAudioDeviceCallback(&guid, description, "module", &devices);
    }
    const std::pair<const char*, int> cases[] = {
        {"Speakers", 1}, {"Speakers (USB Audio) 2", 1}, {"Speakers (H", 2},
        {"speakers", -1}, {"Headphones", -1},           {"Def", 0},
    };
    for (const auto& [name, index] : cases) {
        EXPECT_EQ(chooseAudioDevice(name, devices), index) << name;
    }
    EXPECT_EQ(devices[2]->m_pGuid->Data1, 3u);
    for (AudioDeviceInfo* device : devices) delete device;
}

}  // namespace
