// A host's parent window and module set-up.
#include "tests/support/host_window.h"

namespace testing_support {

HWND OpenHostWindow(const char* className, WNDPROC procedure) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = procedure != nullptr ? procedure : DefWindowProcA;
    windowClass.lpszClassName = className;
    RegisterClassA(&windowClass);
    return CreateWindowExA(0, className, "host", 0, 0, 0, 100, 100, nullptr, nullptr, nullptr,
                           nullptr);
}

void CloseHostWindow(HWND window, const char* className) {
    DestroyWindow(window);
    UnregisterClassA(className, nullptr);
}

namespace {

bool TakeMessages(bool deliver) {
    MSG message;
    bool quit = false;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT)
            quit = true;
        else if (deliver)
            DispatchMessageA(&message);
    }
    return quit;
}

}  // namespace

bool PumpMessages() {
    return TakeMessages(true);
}

bool DiscardMessages() {
    return TakeMessages(false);
}

void PrepareModule(winampVisModule* module, HWND parent, HINSTANCE instance) {
    module->hwndParent = parent;
    module->hDllInstance = instance;
    module->sRate = 44100;
    module->nCh = 2;
}

}  // namespace testing_support
