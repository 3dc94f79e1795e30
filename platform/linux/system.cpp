// Message boxes, the debugger channel, module file names, the settings-file reader, sleeping and
// the seed clock on Linux.
#include <SDL2/SDL.h>
#include <dlfcn.h>
#include <limits.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fstream>
#include <string>
#include <thread>

#include "platform/clock.h"
#include "platform/host_services.h"
#include "platform/linux/internal.h"
#include "platform/linux/presenter.h"
#include "platform/profile.h"

namespace {

platform::MessageBoxObserver messageBoxObserver;
std::optional<std::int64_t> fixedClock;

std::string CopyOut(const std::string& text, LPSTR buffer, DWORD size) {
    if (buffer != nullptr && size > 0) {
        std::size_t n = text.size() < size - 1 ? text.size() : size - 1;
        std::memcpy(buffer, text.data(), n);
        buffer[n] = '\0';
    }
    return text;
}

}  // namespace

namespace platform {

void SetMessageBoxObserver(MessageBoxObserver observer) {
    messageBoxObserver = std::move(observer);
}

void FixCalendarTime(std::optional<std::int64_t> seconds) { fixedClock = seconds; }

std::int64_t CalendarTimeSeconds() {
    if (fixedClock) return *fixedClock;
    if (const char* env = std::getenv("TOLVEK_CLOCK"); env != nullptr && *env != '\0') {
        char* end = nullptr;
        long long value = std::strtoll(env, &end, 10);
        if (end != env && *end == '\0') return value;
    }
    return static_cast<std::int64_t>(std::time(nullptr));
}

}  // namespace platform

extern "C" {

int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
    const char* shownText = text != nullptr ? text : "";
    const char* shownCaption = caption != nullptr ? caption : "Error";
    bool shown = false;
    if (!platform::DisplayIsHeadless()) {
        SDL_Window* parent = nullptr;
        if (auto* window = platform::detail::FindWindow(owner);
            window != nullptr && window->presenter != nullptr) {
            parent = window->presenter->window();
        }
        Uint32 flags = (type & MB_ICONERROR) != 0 ? SDL_MESSAGEBOX_ERROR : 0;
        shown = SDL_ShowSimpleMessageBox(flags, shownCaption, shownText, parent) == 0;
    }
    // Without a display the box becomes one line on the error output and never blocks.
    if (!shown) std::fprintf(stderr, "%s: %s\n", shownCaption, shownText);
    if (messageBoxObserver) messageBoxObserver(shownCaption, shownText);
    return IDOK;
}

void OutputDebugStringA(LPCSTR text) {
    if (text == nullptr) return;
    std::fputs(text, stderr);
    std::fflush(stderr);
}

DWORD GetModuleFileNameA(HMODULE module, LPSTR fileName, DWORD size) {
    std::string path;
    if (module == nullptr) {
        char buffer[PATH_MAX];
        ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
        if (n <= 0) return 0;
        path.assign(buffer, static_cast<std::size_t>(n));
    } else {
        // A module handle is an address inside the loaded module, as on the original system.
        Dl_info info{};
        if (dladdr(reinterpret_cast<void*>(module), &info) == 0 || info.dli_fname == nullptr) {
            return 0;
        }
        char resolved[PATH_MAX];
        path = realpath(info.dli_fname, resolved) != nullptr ? resolved : info.dli_fname;
    }
    CopyOut(path, fileName, size);
    return static_cast<DWORD>(path.size() < size ? path.size() : size);
}

HMODULE GetModuleHandleA(LPCSTR moduleName) {
    (void)moduleName;
    return nullptr;
}

UINT GetPrivateProfileIntA(LPCSTR section, LPCSTR key, int defaultValue, LPCSTR fileName) {
    if (section == nullptr || key == nullptr || fileName == nullptr) {
        return static_cast<UINT>(defaultValue);
    }
    // Only a regular file is read: opening a named pipe would wait for a writer for ever.
    struct stat info {};
    if (stat(fileName, &info) != 0 || !S_ISREG(info.st_mode)) {
        return static_cast<UINT>(defaultValue);
    }
    std::ifstream in(fileName, std::ios::binary);
    if (!in) return static_cast<UINT>(defaultValue);
    // What the file holds, up to the limit: a small file costs no more than its size.
    std::string text;
    char chunk[16 * 1024];
    while (text.size() < platform::kMaxProfileBytes) {
        const std::size_t want = std::min(sizeof chunk, platform::kMaxProfileBytes - text.size());
        in.read(chunk, static_cast<std::streamsize>(want));
        text.append(chunk, static_cast<std::size_t>(in.gcount()));
        if (!in) break;
    }
    return static_cast<UINT>(platform::ProfileInt(text, section, key, defaultValue));
}

void Sleep(DWORD milliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

}  // extern "C"
