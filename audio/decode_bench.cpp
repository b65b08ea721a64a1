// Decoding speed beside the mpg123 command, which uses the same library:
//   build/audio/audio_decode_bench [file.mp3] [rounds]
// Prints both times and the ratio of the speeds (ours / mpg123's; above 1
// is faster). The command's time includes starting its process, as a user
// of the command pays it.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "audio/mp3decoder.h"
#include "testsupport/programs.h"
#include "testsupport/wholefile.h"

namespace {

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv) {
    const std::string file = argc > 1 ? argv[1] : AUDIO_BENCH_CLIP;
    const int rounds = argc > 2 ? std::atoi(argv[2]) : 20;
    const std::vector<BYTE> mp3 = testsupport::readBytes(file);
    if (mp3.empty() || rounds <= 0) {
        std::fprintf(stderr, "usage: %s [file.mp3] [rounds]\n", argv[0]);
        return 2;
    }

    std::vector<BYTE> pcm;
    Clock::time_point start = Clock::now();
    for (int round = 0; round < rounds; ++round) {
        if (!decodeMp3ToPcm(mp3.data(), static_cast<DWORD>(mp3.size()), pcm)) {
            std::fprintf(stderr, "%s does not decode\n", file.c_str());
            return 1;
        }
    }
    const double ours = secondsSince(start) / rounds;

    start = Clock::now();
    for (int round = 0; round < rounds; ++round) {
        if (testsupport::runProgram({"mpg123", "-q", "-s", file}, "", "/dev/null") != 0) {
            std::fprintf(stderr, "mpg123 -q -s %s failed\n", file.c_str());
            return 1;
        }
    }
    const double theirs = secondsSince(start) / rounds;

    std::printf("%s: %zu PCM bytes (%.2f s of sound), %d rounds\n", file.c_str(), pcm.size(),
                static_cast<double>(pcm.size()) / 176400.0, rounds);
    std::printf("decodeMp3 path: %8.2f ms a clip\n", ours * 1000.0);
    std::printf("mpg123 command: %8.2f ms a clip\n", theirs * 1000.0);
    std::printf("speed ratio (ours / mpg123): %.2fx\n", theirs / ours);
    return 0;
}
