// The sound service's test controls (soundcontrols.h) and what the service
// asks of them.
#include "platform/sound/soundseams.h"

#include <mutex>

#include "platform/sound/soundcontrols.h"

namespace {

struct Controls {
    std::mutex lock;
    HRESULT createResult = 0;
    int createFailures = 0;
    bool loseBuffer = false;
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

}  // namespace platform::sound
