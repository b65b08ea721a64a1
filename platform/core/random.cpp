#include "platform/core/random.h"

namespace {

thread_local unsigned int holdRandom = 1;

}  // namespace

extern "C" {

__attribute__((visibility("hidden"))) void srand(unsigned int seed) noexcept {
    holdRandom = seed;
}

__attribute__((visibility("hidden"))) int rand() noexcept {
    holdRandom = holdRandom * 214013u + 2531011u;
    return static_cast<int>((holdRandom >> 16) & 0x7FFFu);
}

}  // extern "C"
