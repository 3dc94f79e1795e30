// The Windows test host's report: numbered lines on the standard output and, when asked, in a
// file that a script outside Wine can follow. Safe to use from the watchdog thread too.
#pragma once

#include <cstdio>
#include <string>

#include "platform/win32.h"

namespace winhost {

class HostLog {
  public:
    HostLog();
    ~HostLog();
    HostLog(const HostLog&) = delete;
    HostLog& operator=(const HostLog&) = delete;

    // Opens (and empties) the file; false when it cannot be written.
    bool OpenFile(const std::string& path);
    // One line, prefixed with the milliseconds since the host started.
    void Line(const std::string& text);

  private:
    CRITICAL_SECTION lock_;
    std::FILE* file_ = nullptr;
    DWORD start_ = 0;
};

}  // namespace winhost
