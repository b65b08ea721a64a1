#include <gtest/gtest.h>

#include "audio/audio_testenv.h"
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

TEST(ChooseAudioDevice, LogsTheDevicesUpToTheOneFound) {
    const Devices devices{"Speakers (USB Audio)", "", "Line Out"};
    TraceLog log;
    // A device with an empty description matches every name.
    EXPECT_EQ(chooseAudioDevice("Line Out", devices.list()), 1);
    EXPECT_EQ(log.lines(), (std::vector<std::string>{
                               "CDirectSound::create(): [ 0] : Speakers (USB Audio)",
                               "CDirectSound::create(): [ 1] :                     ",
                               "CDirectSound::create(): Found device by name [ 1] :                     ",
                           }));
}

TEST(EnumAudioDeviceCallback, CopiesTheGuidAndTheTexts) {
    std::vector<AudioDeviceInfo*> list;
    GUID guid{0x12345678, 1, 2, {3, 4, 5, 6, 7, 8, 9, 10}};
    EXPECT_EQ(enumAudioDeviceCallback(&guid, "Primary", "dsound", &list), TRUE);
    EXPECT_EQ(enumAudioDeviceCallback(nullptr, "Default", "", &list), TRUE);
    guid.Data1 = 0;
    ASSERT_EQ(list.size(), 2u);
    ASSERT_NE(list[0]->m_pGuid, nullptr);
    EXPECT_EQ(list[0]->m_pGuid->Data1, 0x12345678u);
    EXPECT_EQ(list[0]->m_description, "Primary");
    EXPECT_EQ(list[0]->m_module, "dsound");
    EXPECT_EQ(list[1]->m_pGuid, nullptr);
    for (AudioDeviceInfo* device : list) delete device;
}

}  // namespace
