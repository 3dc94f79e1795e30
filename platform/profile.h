// The settings-file reader as a function over bytes: what GetPrivateProfileIntA observably returns.
#pragma once

#include <cstddef>
#include <string_view>

#include "platform/win32.h"

namespace platform {

// Only this much of a settings file is read; the rest is ignored.
inline constexpr std::size_t kMaxProfileBytes = 1 << 20;

// The integer of `key` in `[section]` of an initialisation file's text, or defaultValue when the
// section or key is missing. Names match without regard to case; the first of duplicate keys
// wins; a value that does not start with a number gives 0; numbers beyond 32 bits saturate.
TOLVEK_PLATFORM_API int ProfileInt(std::string_view text, std::string_view section,
                                   std::string_view key, int defaultValue);

}  // namespace platform
