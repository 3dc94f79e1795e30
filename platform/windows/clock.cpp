// The seed clock on Windows: the calendar time, or the value a host fixed in TOLVEK_CLOCK.
#include <cstdlib>
#include <ctime>

#include "platform/clock.h"

namespace platform {

// A host cannot reach into the DLL, so it fixes the clock through the process environment,
// which the DLL shares with it; the Linux build reads the same variable.
std::int64_t CalendarTimeSeconds() {
    char value[32] = {};
    const DWORD length = GetEnvironmentVariableA("TOLVEK_CLOCK", value, sizeof value);
    if (length > 0 && length < sizeof value) {
        char* end = nullptr;
        const long long seconds = std::strtoll(value, &end, 10);
        if (end != value && *end == '\0')
            return seconds;
    }
    return static_cast<std::int64_t>(std::time(nullptr));
}

}  // namespace platform
