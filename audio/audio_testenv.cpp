#include "audio/audio_testenv.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "audio/directsound.h"
#include "common/logger.h"
#include "testsupport/environment.h"

namespace {

// Tests play to ALSA's null device: it takes every sample and needs no card.
class SoundEnvironment : public ::testing::Environment {
public:
    void SetUp() override { testsupport::setEnv("AUDIODEV", "null"); }
};

[[maybe_unused]] ::testing::Environment* const environment =
    ::testing::AddGlobalTestEnvironment(new SoundEnvironment);

}  // namespace

TraceLog::TraceLog() {
    m_path = m_folder.path("sound.log");
    logInit(soundTraceLevel, m_folder.ansiPath("sound.log").c_str(), false, false, true, false);
}

TraceLog::~TraceLog() {
    logInit(0, nullptr, false, false, false, false);
}

std::vector<std::string> TraceLog::lines() const {
    std::ifstream in(m_path);
    std::vector<std::string> result;
    for (std::string line; std::getline(in, line);) {
        result.push_back(line);
    }
    return result;
}

int TraceLog::count(const std::string& line) const {
    const std::vector<std::string> all = lines();
    return static_cast<int>(std::count(all.begin(), all.end(), line));
}
