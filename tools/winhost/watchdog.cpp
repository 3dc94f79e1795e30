// Answering message boxes and the time limit.
#include "tools/winhost/watchdog.h"

#include <string>

namespace winhost {
namespace {

constexpr DWORD kLookEveryMs = 200;

BOOL CALLBACK CollectText(HWND child, LPARAM out) {
    char text[512] = {};
    GetWindowTextA(child, text, sizeof text);
    char className[64] = {};
    GetClassNameA(child, className, sizeof className);
    // The message is in a static control; the buttons only say OK.
    if (text[0] != '\0' && lstrcmpiA(className, "Static") == 0) {
        auto* collected = reinterpret_cast<std::string*>(out);
        if (!collected->empty())
            *collected += " ";
        *collected += text;
    }
    return TRUE;
}

}  // namespace

Watchdog::Watchdog(HostLog& log, DWORD showThread, int timeoutSeconds)
    : log_(log),
      showThread_(showThread),
      deadline_(GetTickCount() + static_cast<DWORD>(timeoutSeconds) * 1000) {
    stop_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    thread_ = CreateThread(nullptr, 0, &Watchdog::Run, this, 0, nullptr);
}

Watchdog::~Watchdog() {
    SetEvent(stop_);
    if (thread_ != nullptr) {
        WaitForSingleObject(thread_, INFINITE);
        CloseHandle(thread_);
    }
    CloseHandle(stop_);
}

DWORD WINAPI Watchdog::Run(LPVOID self) {
    auto* dog = static_cast<Watchdog*>(self);
    while (WaitForSingleObject(dog->stop_, kLookEveryMs) == WAIT_TIMEOUT) {
        EnumThreadWindows(dog->showThread_, &Watchdog::CheckWindow, reinterpret_cast<LPARAM>(dog));
        if (static_cast<LONG>(GetTickCount() - dog->deadline_) > 0) {
            dog->log_.Line("FAIL: the run took longer than its time limit; ending the process");
            ExitProcess(kExitTimedOut);
        }
    }
    return 0;
}

BOOL CALLBACK Watchdog::CheckWindow(HWND window, LPARAM self) {
    char className[16] = {};
    GetClassNameA(window, className, sizeof className);
    // The class of dialog boxes, message boxes among them.
    if (lstrcmpA(className, "#32770") == 0 && IsWindowVisible(window)) {
        reinterpret_cast<Watchdog*>(self)->Answer(window);
    }
    return TRUE;
}

void Watchdog::Answer(HWND box) {
    char caption[256] = {};
    GetWindowTextA(box, caption, sizeof caption);
    std::string text;
    EnumChildWindows(box, &CollectText, reinterpret_cast<LPARAM>(&text));
    InterlockedIncrement(&messageBoxes_);
    log_.Line("message box \"" + std::string(caption) + "\": " + text);
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    // Answered once; it goes away on the show thread's next turn of its loop.
    ShowWindowAsync(box, SW_HIDE);
}

}  // namespace winhost
