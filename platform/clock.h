// The calendar time the show seeds its random generator from; a host can fix it.
#pragma once

#include <cstdint>

#include "platform/win32.h"

namespace platform {

// Seconds since 1970, or the value a host fixed (FixCalendarTime, host_services.h).
TOLVEK_PLATFORM_API std::int64_t CalendarTimeSeconds();

}  // namespace platform
