// The desktop back-end: SDL's video subsystem and events, SDL message boxes, and the program's
// and modules' file names from the running process.
#include <SDL2/SDL.h>
#include <dlfcn.h>
#include <limits.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>

#include "platform/portable/backend.h"
#include "platform/portable/internal.h"
#include "platform/sdl/sdl_presenter.h"
#include "platform/win32.h"

namespace platform::detail {
namespace {

enum class Video { Unknown, Up, Absent };
Video videoState = Video::Unknown;

// Virtual-key code for an SDL key, 0 for keys the layer does not report.
int VirtualKey(SDL_Keycode key) {
    if (key >= SDLK_a && key <= SDLK_z) return 'A' + (key - SDLK_a);
    if (key >= SDLK_0 && key <= SDLK_9) return '0' + (key - SDLK_0);
    if (key >= SDLK_F1 && key <= SDLK_F12) return VK_F1 + (key - SDLK_F1);
    switch (key) {
        case SDLK_ESCAPE: return VK_ESCAPE;
        case SDLK_SPACE: return VK_SPACE;
        case SDLK_RETURN: return VK_RETURN;
        case SDLK_BACKSPACE: return VK_BACK;
        case SDLK_TAB: return VK_TAB;
        case SDLK_LEFT: return VK_LEFT;
        case SDLK_RIGHT: return VK_RIGHT;
        case SDLK_UP: return VK_UP;
        case SDLK_DOWN: return VK_DOWN;
        case SDLK_PAGEUP: return VK_PRIOR;
        case SDLK_PAGEDOWN: return VK_NEXT;
        case SDLK_HOME: return VK_HOME;
        case SDLK_END: return VK_END;
        default: return 0;
    }
}

void TranslateEvent(const SDL_Event& event) {
    unsigned id = 0;
    if (event.type == SDL_KEYDOWN || event.type == SDL_KEYUP) id = event.key.windowID;
    if (event.type == SDL_WINDOWEVENT) id = event.window.windowID;
    SdlPresenter* presenter = SdlPresenter::OfSdlWindow(id);
    if (presenter == nullptr || FindWindow(presenter->handle()) == nullptr) return;
    HWND handle = presenter->handle();
    switch (event.type) {
        case SDL_KEYDOWN:
        case SDL_KEYUP: {
            int vk = VirtualKey(event.key.keysym.sym);
            if (vk == 0) return;
            LPARAM lParam = 1 | (static_cast<LPARAM>(event.key.keysym.scancode & 0xFF) << 16);
            if (event.type == SDL_KEYUP) lParam |= (LPARAM{1} << 30) | (LPARAM{1} << 31);
            if (event.type == SDL_KEYDOWN && event.key.repeat) lParam |= LPARAM{1} << 30;
            PostMessageA(handle, event.type == SDL_KEYDOWN ? WM_KEYDOWN : WM_KEYUP, vk, lParam);
            return;
        }
        case SDL_WINDOWEVENT:
            switch (event.window.event) {
                case SDL_WINDOWEVENT_MOVED: WindowMoved(handle); return;
                case SDL_WINDOWEVENT_EXPOSED: PostMessageA(handle, WM_PAINT, 0, 0); return;
                case SDL_WINDOWEVENT_CLOSE: PostMessageA(handle, WM_CLOSE, 0, 0); return;
                case SDL_WINDOWEVENT_MINIMIZED: MarkDisplayLost(); return;
                default: return;
            }
        default: return;
    }
}

// Xlib ends the process when the X server goes away, but runs every exit handler first: the
// show's and the window layer's release windows through the dead connection and wait for ever.
// Say so in one line and end at once instead.
int DisplayConnectionLost(void*) {
    static const char kLine[] =
        "tolvek: the display went away (the X server connection was lost)\n";
    const ssize_t written = write(STDERR_FILENO, kLine, sizeof kLine - 1);
    (void)written;
    _exit(1);
}

// X11 is looked up at run time, already loaded by SDL's X11 driver; other drivers need nothing.
void EndOnLostDisplayConnection() {
    const char* driver = SDL_GetCurrentVideoDriver();
    if (driver == nullptr || std::strcmp(driver, "x11") != 0) return;
    void* x11 = dlopen("libX11.so.6", RTLD_NOW | RTLD_NOLOAD);
    if (x11 == nullptr) return;
    using IOErrorHandler = int (*)(void*);
    using SetIOErrorHandler = IOErrorHandler (*)(IOErrorHandler);
    if (auto set = reinterpret_cast<SetIOErrorHandler>(dlsym(x11, "XSetIOErrorHandler"))) {
        set(&DisplayConnectionLost);
    }
    dlclose(x11);
}

}  // namespace

bool EnsureVideo() {
    if (videoState != Video::Unknown) return videoState == Video::Up;
    const char* forced = std::getenv("TOLVEK_DISPLAY");
    if (GetDisplayPreference() == DisplayPreference::Headless ||
        (forced != nullptr && std::strcmp(forced, "headless") == 0)) {
        videoState = Video::Absent;
        return false;
    }
    videoState = SDL_InitSubSystem(SDL_INIT_VIDEO) == 0 ? Video::Up : Video::Absent;
    // Without X11 or Wayland SDL falls back to drawing off screen, where nobody sees a window:
    // that is no display, unless SDL_VIDEODRIVER asked for it.
    const char* driver = videoState == Video::Up ? SDL_GetCurrentVideoDriver() : nullptr;
    if (driver != nullptr && std::getenv("SDL_VIDEODRIVER") == nullptr &&
        (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0)) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        videoState = Video::Absent;
    }
    if (videoState == Video::Up) EndOnLostDisplayConnection();
    return videoState == Video::Up;
}

void StayHeadless() {
    if (videoState == Video::Unknown) videoState = Video::Absent;
}

void PumpSystemEvents() {
    if (videoState != Video::Up) return;
    SDL_Event event;
    while (SDL_PollEvent(&event) != 0) {
        if (event.type == SDL_RENDER_TARGETS_RESET || event.type == SDL_RENDER_DEVICE_RESET) {
            MarkDisplayLost();
            continue;
        }
        TranslateEvent(event);
    }
}

std::unique_ptr<Presenter> OpenPresenter(HWND handle, const char* title, int width, int height,
                                         bool fullScreen, bool vsync) {
    auto presenter = std::make_unique<SdlPresenter>(handle);
    if (!presenter->Open(title, width, height, fullScreen, vsync)) return nullptr;
    return presenter;
}

bool ShowMessageBox(HWND owner, const char* caption, const char* text, UINT type) {
    SDL_Window* parent = nullptr;
    if (auto* window = FindWindow(owner); window != nullptr && window->presenter != nullptr) {
        parent = static_cast<SdlPresenter*>(window->presenter.get())->window();
    }
    Uint32 flags = (type & MB_ICONERROR) != 0 ? SDL_MESSAGEBOX_ERROR : 0;
    return SDL_ShowSimpleMessageBox(flags, caption, text, parent) == 0;
}

bool ModuleFileName(HMODULE module, std::string& path) {
    if (module == nullptr) {
        char buffer[PATH_MAX];
        ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
        if (n <= 0) return false;
        path.assign(buffer, static_cast<std::size_t>(n));
        return true;
    }
    // A module handle is an address inside the loaded module, as on the original system.
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(module), &info) == 0 || info.dli_fname == nullptr) {
        return false;
    }
    char resolved[PATH_MAX];
    path = realpath(info.dli_fname, resolved) != nullptr ? resolved : info.dli_fname;
    return true;
}

}  // namespace platform::detail
