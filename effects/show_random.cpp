// The show's generator: state = state * 214013 + 2531011, values from bits 16..30 of the state.
#include "effects/show_random.h"

#include "platform/clock.h"

namespace {

std::uint32_t randomState = kShowRandInitialState;

}  // namespace

int ShowRand() {
    // Unsigned 32-bit arithmetic wraps as the runtime's generator does.
    randomState = randomState * 214013u + 2531011u;
    return static_cast<int>((randomState >> 16) & 0x7FFFu);
}

void ShowSrand(std::uint32_t seed) {
    randomState = seed;
}

void ShowSrandFromClock() {
    // The seconds are cut to 32 bits, as passing the calendar time to srand does.
    ShowSrand(static_cast<std::uint32_t>(platform::CalendarTimeSeconds()));
}

std::uint32_t ShowRandState() {
    return randomState;
}
