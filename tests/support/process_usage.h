// What this process holds, read from /proc: for the checks and programs that watch for leaks.
#pragma once

namespace testing_support {

// A field of /proc/self/status in kB ("VmRSS", "VmHWM"), or -1.
long StatusKb(const char* field);
// Open file descriptors.
long OpenFiles();

}  // namespace testing_support
