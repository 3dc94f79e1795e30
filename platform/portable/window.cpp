// The window and message layer: classes, windows, the posted-message queue and the quit request.
// The back-end turns the system's events into the messages posted here.
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <map>
#include <string>
#include <vector>

#include "platform/portable/backend.h"
#include "platform/portable/internal.h"
#include "platform/win32.h"

namespace platform::detail {
namespace {

struct WindowClass {
    WNDPROC proc;
    HINSTANCE instance;
};

struct WindowLayer {
    std::map<std::string, WindowClass> classes;
    std::map<std::uintptr_t, Window> windows;
    std::uintptr_t nextHandle = 0x100;
    std::deque<MSG> queue;
    bool quitPosted = false;
    int quitCode = 0;
    int cascade = 0;
};

WindowLayer& Layer() {
    static WindowLayer layer;
    return layer;
}

DisplayPreference preference = DisplayPreference::Automatic;
bool vsyncWanted = true;

std::uintptr_t Key(HWND handle) { return reinterpret_cast<std::uintptr_t>(handle); }

DWORD MillisecondsNow() {
    using namespace std::chrono;
    return static_cast<DWORD>(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

void Post(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    Layer().queue.push_back(MSG{handle, message, wParam, lParam, MillisecondsNow(), {}});
}

void SyncOuterRect(Window& window) {
    int x = 0;
    int y = 0;
    if (window.presenter == nullptr || !window.presenter->Position(x, y)) return;
    RECT frame = NonClientFrame(window.style);
    LONG width = window.outer.right - window.outer.left;
    LONG height = window.outer.bottom - window.outer.top;
    window.outer = {x - frame.left, y - frame.top, x - frame.left + width, y - frame.top + height};
}

}  // namespace

Window* FindWindow(HWND handle) {
    auto it = Layer().windows.find(Key(handle));
    return it == Layer().windows.end() ? nullptr : &it->second;
}

void WindowMoved(HWND handle) {
    Window* window = FindWindow(handle);
    if (window == nullptr) return;
    SyncOuterRect(*window);
    RECT frame = NonClientFrame(window->style);
    LONG cx = window->outer.left + frame.left;
    LONG cy = window->outer.top + frame.top;
    Post(handle, WM_MOVE, 0, (cx & 0xFFFF) | ((cy & 0xFFFF) << 16));
}

// The frame a decorated window would have: borders and a caption bar.
RECT NonClientFrame(DWORD style) {
    if ((style & (WS_CAPTION | WS_SYSMENU)) == 0) return {0, 0, 0, 0};
    return {4, 28, 4, 4};
}

bool VsyncWanted() { return vsyncWanted; }

Presenter* PresenterFor(HWND handle, int width, int height, bool fullScreen) {
    Window* window = FindWindow(handle);
    if (window == nullptr || !EnsureVideo()) return nullptr;
    if (preference == DisplayPreference::Window) fullScreen = false;
    if (window->presenter == nullptr) {
        window->presenter =
            OpenPresenter(handle, window->title.c_str(), width, height, fullScreen, vsyncWanted);
        if (window->presenter == nullptr) return nullptr;
        SyncOuterRect(*window);
    }
    return window->presenter.get();
}

}  // namespace platform::detail

using namespace platform::detail;

namespace platform {

void SetDisplayPreference(DisplayPreference value, bool vsync) {
    preference = value;
    vsyncWanted = vsync;
    if (value == DisplayPreference::Headless) StayHeadless();
}

DisplayPreference GetDisplayPreference() { return preference; }

bool DisplayIsHeadless() { return !EnsureVideo(); }

void ToggleFullScreen(HWND handle) {
    Window* window = FindWindow(handle);
    if (window == nullptr || window->presenter == nullptr) return;
    bool wasFullScreen = window->presenter->fullScreen();
    window->presenter->SetFullScreen(!wasFullScreen);
    // Leaving full screen takes the display from the show, as on the original system.
    if (wasFullScreen) MarkDisplayLost();
}

int CountWindows() { return static_cast<int>(Layer().windows.size()); }

}  // namespace platform

extern "C" {

ATOM RegisterClassA(const WNDCLASSA* windowClass) {
    if (windowClass == nullptr || windowClass->lpszClassName == nullptr) return 0;
    auto [it, inserted] = Layer().classes.emplace(
        windowClass->lpszClassName, WindowClass{windowClass->lpfnWndProc, windowClass->hInstance});
    if (!inserted) return 0;
    return static_cast<ATOM>(0xC000 + Layer().classes.size());
}

BOOL UnregisterClassA(LPCSTR className, HINSTANCE instance) {
    (void)instance;
    if (className == nullptr) return FALSE;
    return Layer().classes.erase(className) == 1 ? TRUE : FALSE;
}

HWND CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x,
                     int y, int width, int height, HWND parent, HMENU menu, HINSTANCE instance,
                     LPVOID param) {
    (void)menu;
    (void)param;
    if (className == nullptr) return nullptr;
    HRESULT fault = 0;
    if (FaultInjected("CreateWindowExA", &fault)) return nullptr;
    auto cls = Layer().classes.find(className);
    if (cls == Layer().classes.end()) return nullptr;
    if (x == CW_USEDEFAULT) {
        x = 64 + 24 * (Layer().cascade % 8);
        y = 64 + 24 * (Layer().cascade % 8);
        ++Layer().cascade;
    }
    if (width == CW_USEDEFAULT) {
        width = 640;
        height = 480;
    }
    HWND handle = reinterpret_cast<HWND>(Layer().nextHandle);
    Layer().nextHandle += 0x10;
    Window& window = Layer().windows[Key(handle)];
    window.className = className;
    window.title = windowName != nullptr ? windowName : "";
    window.proc = cls->second.proc;
    window.instance = instance;
    window.parent = parent;
    window.style = style;
    window.exStyle = exStyle;
    window.outer = {x, y, x + width, y + height};
    window.visible = (style & WS_VISIBLE) != 0;
    if (window.proc != nullptr && window.proc(handle, WM_CREATE, 0, 0) == -1) {
        Layer().windows.erase(Key(handle));
        return nullptr;
    }
    return handle;
}

BOOL DestroyWindow(HWND handle) {
    Window* window = FindWindow(handle);
    if (window == nullptr) return FALSE;
    if (window->proc != nullptr) window->proc(handle, WM_DESTROY, 0, 0);
    Layer().windows.erase(Key(handle));
    std::erase_if(Layer().queue, [handle](const MSG& m) { return m.hwnd == handle; });
    return TRUE;
}

BOOL IsWindow(HWND handle) { return FindWindow(handle) != nullptr ? TRUE : FALSE; }

BOOL EnumWindows(WNDENUMPROC callback, LPARAM lParam) {
    if (callback == nullptr) return FALSE;
    // A copy, since the callback may open or close windows.
    std::vector<HWND> handles;
    for (const auto& entry : Layer().windows) handles.push_back(reinterpret_cast<HWND>(entry.first));
    for (HWND handle : handles) {
        if (FindWindow(handle) != nullptr && callback(handle, lParam) == FALSE) break;
    }
    return TRUE;
}

HWND GetWindow(HWND handle, UINT command) {
    Window* window = FindWindow(handle);
    // Every window here is top-level, so the parent it was created with is its owner.
    if (window == nullptr || command != GW_OWNER) return nullptr;
    return window->parent;
}

LONG_PTR SetWindowLongPtrA(HWND handle, int index, LONG_PTR value) {
    Window* window = FindWindow(handle);
    if (window == nullptr || index != GWLP_USERDATA) return 0;
    LONG_PTR previous = window->userData;
    window->userData = value;
    return previous;
}

LONG_PTR GetWindowLongPtrA(HWND handle, int index) {
    Window* window = FindWindow(handle);
    if (window == nullptr || index != GWLP_USERDATA) return 0;
    return window->userData;
}

BOOL GetClientRect(HWND handle, LPRECT rect) {
    Window* window = FindWindow(handle);
    if (window == nullptr || rect == nullptr) return FALSE;
    RECT frame = NonClientFrame(window->style);
    LONG width = window->outer.right - window->outer.left - frame.left - frame.right;
    LONG height = window->outer.bottom - window->outer.top - frame.top - frame.bottom;
    *rect = {0, 0, width > 0 ? width : 0, height > 0 ? height : 0};
    return TRUE;
}

BOOL GetWindowRect(HWND handle, LPRECT rect) {
    Window* window = FindWindow(handle);
    if (window == nullptr || rect == nullptr) return FALSE;
    *rect = window->outer;
    return TRUE;
}

BOOL ClientToScreen(HWND handle, POINT* point) {
    Window* window = FindWindow(handle);
    if (window == nullptr || point == nullptr) return FALSE;
    RECT frame = NonClientFrame(window->style);
    point->x += window->outer.left + frame.left;
    point->y += window->outer.top + frame.top;
    return TRUE;
}

BOOL OffsetRect(LPRECT rect, int dx, int dy) {
    if (rect == nullptr) return FALSE;
    rect->left += dx;
    rect->right += dx;
    rect->top += dy;
    rect->bottom += dy;
    return TRUE;
}

BOOL SetWindowPos(HWND handle, HWND insertAfter, int x, int y, int width, int height, UINT flags) {
    (void)insertAfter;
    Window* window = FindWindow(handle);
    if (window == nullptr) return FALSE;
    RECT& r = window->outer;
    if ((flags & SWP_NOMOVE) == 0) {
        LONG w = r.right - r.left;
        LONG h = r.bottom - r.top;
        r = {x, y, x + w, y + h};
        Post(handle, WM_MOVE, 0, 0);
    }
    if ((flags & SWP_NOSIZE) == 0) {
        r.right = r.left + width;
        r.bottom = r.top + height;
    }
    return TRUE;
}

BOOL ShowWindow(HWND handle, int command) {
    Window* window = FindWindow(handle);
    if (window == nullptr) return FALSE;
    BOOL wasVisible = window->visible ? TRUE : FALSE;
    window->visible = command != SW_HIDE;
    if ((command == SW_MINIMIZE || command == SW_SHOWMINIMIZED) && window->presenter != nullptr) {
        window->presenter->Minimise();
        MarkDisplayLost();
    }
    return wasVisible;
}

BOOL UpdateWindow(HWND handle) {
    Window* window = FindWindow(handle);
    if (window == nullptr) return FALSE;
    if (window->proc != nullptr) window->proc(handle, WM_PAINT, 0, 0);
    return TRUE;
}

HDC BeginPaint(HWND handle, PAINTSTRUCT* paint) {
    if (paint != nullptr) {
        *paint = PAINTSTRUCT{};
        GetClientRect(handle, &paint->rcPaint);
    }
    // Painting validates the window: drop any further pending paint requests for it.
    std::erase_if(Layer().queue,
                  [handle](const MSG& m) { return m.hwnd == handle && m.message == WM_PAINT; });
    return nullptr;
}

BOOL EndPaint(HWND handle, const PAINTSTRUCT* paint) {
    (void)handle;
    (void)paint;
    return TRUE;
}

BOOL PostMessageA(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    if (handle != nullptr && FindWindow(handle) == nullptr) return FALSE;
    Post(handle, message, wParam, lParam);
    return TRUE;
}

LRESULT SendMessageA(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* window = FindWindow(handle);
    if (window == nullptr || window->proc == nullptr) return 0;
    return window->proc(handle, message, wParam, lParam);
}

void PostQuitMessage(int exitCode) {
    Layer().quitPosted = true;
    Layer().quitCode = exitCode;
}

BOOL PeekMessageA(MSG* message, HWND handle, UINT filterMin, UINT filterMax, UINT removeFlags) {
    PumpSystemEvents();
    auto& queue = Layer().queue;
    for (auto it = queue.begin(); it != queue.end(); ++it) {
        if (handle != nullptr && it->hwnd != handle) continue;
        if ((filterMin != 0 || filterMax != 0) &&
            (it->message < filterMin || it->message > filterMax)) {
            continue;
        }
        if (message != nullptr) *message = *it;
        if ((removeFlags & PM_REMOVE) != 0) queue.erase(it);
        return TRUE;
    }
    // The quit request comes once the queue holds nothing else.
    if (Layer().quitPosted && handle == nullptr) {
        if (message != nullptr) {
            *message = MSG{nullptr, WM_QUIT, static_cast<WPARAM>(Layer().quitCode), 0, 0, {}};
        }
        if ((removeFlags & PM_REMOVE) != 0) Layer().quitPosted = false;
        return TRUE;
    }
    return FALSE;
}

BOOL TranslateMessage(const MSG* message) {
    if (message == nullptr || message->message != WM_KEYDOWN) return FALSE;
    WPARAM key = message->wParam;
    bool printable = (key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9') || key == VK_SPACE;
    if (!printable) return FALSE;
    WPARAM character = (key >= 'A' && key <= 'Z') ? key - 'A' + 'a' : key;
    Post(message->hwnd, WM_CHAR, character, message->lParam);
    return TRUE;
}

LRESULT DispatchMessageA(const MSG* message) {
    if (message == nullptr) return 0;
    return SendMessageA(message->hwnd, message->message, message->wParam, message->lParam);
}

LRESULT DefWindowProcA(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    (void)wParam;
    (void)lParam;
    if (message == WM_CLOSE) DestroyWindow(handle);
    if (message == WM_PAINT) {
        PAINTSTRUCT paint;
        BeginPaint(handle, &paint);
        EndPaint(handle, &paint);
    }
    return 0;
}

}  // extern "C"
