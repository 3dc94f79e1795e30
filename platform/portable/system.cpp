// Message boxes, the debugger channel, module file names, the settings-file reader, sleeping and
// the seed clock: what the back-end shows or knows is asked of it.
#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <string>
#include <thread>

#include "platform/clock.h"
#include "platform/host_services.h"
#include "platform/portable/internal.h"
#include "platform/portable/observer_list.h"
#include "platform/profile.h"

namespace {

using platform::detail::ObserverList;

ObserverList<platform::MessageBoxObserver>& MessageBoxObservers() {
    static ObserverList<platform::MessageBoxObserver> observers;
    return observers;
}

ObserverList<platform::DiagnosticObserver>& DiagnosticObservers() {
    static ObserverList<platform::DiagnosticObserver> observers;
    return observers;
}

void RemoveMessageBoxObserver(int id) { MessageBoxObservers().Remove(id); }
void RemoveDiagnosticObserver(int id) { DiagnosticObservers().Remove(id); }
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

ObserverHandle AddMessageBoxObserver(MessageBoxObserver observer) {
    return ObserverHandle(&RemoveMessageBoxObserver, MessageBoxObservers().Add(std::move(observer)));
}

ObserverHandle AddDiagnosticObserver(DiagnosticObserver observer) {
    return ObserverHandle(&RemoveDiagnosticObserver, DiagnosticObservers().Add(std::move(observer)));
}

namespace detail {

void NotifyDiagnostic(const char* line) {
    DiagnosticObservers().Notify(line);
}

}  // namespace detail

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
        shown = platform::detail::ShowMessageBox(owner, shownCaption, shownText, type);
    }
    // Without a display the box becomes one line on the error output and never blocks.
    if (!shown) std::fprintf(stderr, "%s: %s\n", shownCaption, shownText);
    MessageBoxObservers().Notify(shownCaption, shownText);
    return IDOK;
}

void OutputDebugStringA(LPCSTR text) {
    if (text == nullptr) return;
    std::fputs(text, stderr);
    std::fflush(stderr);
    platform::detail::NotifyDiagnostic(text);
}

DWORD GetModuleFileNameA(HMODULE module, LPSTR fileName, DWORD size) {
    std::string path;
    if (!platform::detail::ModuleFileName(module, path)) return 0;
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
