// Writing the host's report.
#include "tools/winhost/host_log.h"

namespace winhost {

HostLog::HostLog() : start_(GetTickCount()) {
    InitializeCriticalSection(&lock_);
}

HostLog::~HostLog() {
    if (file_ != nullptr)
        std::fclose(file_);
    DeleteCriticalSection(&lock_);
}

bool HostLog::OpenFile(const std::string& path) {
    file_ = std::fopen(path.c_str(), "w");
    return file_ != nullptr;
}

void HostLog::Line(const std::string& text) {
    EnterCriticalSection(&lock_);
    const unsigned long ms = GetTickCount() - start_;
    std::printf("[%6lu ms] %s\n", ms, text.c_str());
    std::fflush(stdout);
    if (file_ != nullptr) {
        // Flushed at once: the CI script reads the file while the host runs.
        std::fprintf(file_, "[%6lu ms] %s\n", ms, text.c_str());
        std::fflush(file_);
    }
    LeaveCriticalSection(&lock_);
}

}  // namespace winhost
