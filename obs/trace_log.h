// A record of each frame and each block of sound for the measurements, written only when
// TOLVEK_OBS_TRACE names a file (the real-client test reads it); OBS's log stays readable.
#pragma once

namespace tolvek_obs {

bool Tracing();
// One line, printf style; safe from any thread.
void Trace(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace tolvek_obs
