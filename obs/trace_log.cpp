// The trace file.
#include "obs/trace_log.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <mutex>

namespace tolvek_obs {
namespace {

struct TraceFile {
    std::mutex mutex;
    std::FILE* file = nullptr;
    TraceFile() {
        if (const char* path = std::getenv("TOLVEK_OBS_TRACE"); path != nullptr && *path != '\0')
            file = std::fopen(path, "a");
    }
    ~TraceFile() {
        if (file != nullptr)
            std::fclose(file);
    }
};

TraceFile& File() {
    static TraceFile trace;
    return trace;
}

}  // namespace

bool Tracing() {
    return File().file != nullptr;
}

void Trace(const char* format, ...) {
    TraceFile& trace = File();
    if (trace.file == nullptr)
        return;
    std::lock_guard lock(trace.mutex);
    va_list arguments;
    va_start(arguments, format);
    std::vfprintf(trace.file, format, arguments);
    va_end(arguments);
    std::fputc('\n', trace.file);
    std::fflush(trace.file);
}

}  // namespace tolvek_obs
