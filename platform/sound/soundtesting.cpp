#include <mutex>

#include "platform/sound/soundseams.h"

namespace {

struct Controls {
    std::mutex lock;
    HRESULT createResult = 0;
    int createFailures = 0;
    bool loseBuffer = false;
    bool haveDevices = false;
    std::vector<platform::testing::SoundDevice> devices;
};

Controls& controls() {
    static Controls* instance = new Controls;
    return *instance;
}

}  // namespace

namespace platform::testing {

void failNextSoundCreates(HRESULT result, int count) {
    std::lock_guard<std::mutex> guard(controls().lock);
    controls().createResult = result;
    controls().createFailures = count;
}

void loseNextSoundBuffer() {
    std::lock_guard<std::mutex> guard(controls().lock);
    controls().loseBuffer = true;
}

void setSoundDevices(std::vector<SoundDevice> devices) {
    std::lock_guard<std::mutex> guard(controls().lock);
    controls().devices = std::move(devices);
    controls().haveDevices = true;
}

void clearSoundDevices() {
    std::lock_guard<std::mutex> guard(controls().lock);
    controls().devices.clear();
    controls().haveDevices = false;
}

}  // namespace platform::testing

namespace platform::sound {

bool takeCreateFailure(HRESULT* result) {
    std::lock_guard<std::mutex> guard(controls().lock);
    if (controls().createFailures <= 0) return false;
    --controls().createFailures;
    *result = controls().createResult;
    return true;
}

bool takeBufferLoss() {
    std::lock_guard<std::mutex> guard(controls().lock);
    bool lose = controls().loseBuffer;
    controls().loseBuffer = false;
    return lose;
}

bool testDevices(std::vector<platform::testing::SoundDevice>* devices) {
    std::lock_guard<std::mutex> guard(controls().lock);
    if (!controls().haveDevices) return false;
    *devices = controls().devices;
    return true;
}

}  // namespace platform::sound
