#include <gtest/gtest.h>

#include "audio/directsound.h"

namespace {

// A device list as the enumeration fills it.
class Devices {
public:
    Devices(std::initializer_list<const char*> descriptions) {
        GUID guid{};
        for (const char* description : descriptions) {
            ++guid.Data1;
            enumAudioDeviceCallback(&guid, description, "module", &m_list);
        }
    }
    ~Devices() {
        for (AudioDeviceInfo* device : m_list) delete device;
    }
    const std::vector<AudioDeviceInfo*>& list() const { return m_list; }

private:
    std::vector<AudioDeviceInfo*> m_list;
};

TEST(ChooseAudioDevice, ByBeginningEitherWayWithCase) {
    const Devices devices{"Default", "Speakers (USB Audio)", "Speakers (HDMI)"};
    struct Case {
        const char* name;
        int index;
    };
    const Case cases[] = {
        {"Speakers", 1},
        {"Speakers (USB Audio) 2", 1},
        {"Speakers (H", 2},
        {"speakers", -1},
        {"Headphones", -1},
        {"Def", 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(chooseAudioDevice(c.name, devices.list()), c.index) << c.name;
    }
}

}  // namespace
