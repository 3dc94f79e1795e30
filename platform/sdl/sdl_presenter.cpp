// SDL presentation of 8-bit frames: nearest-neighbour scaling, aspect kept, letterboxed.
#include "platform/sdl/sdl_presenter.h"

#include "platform/portable/frame_conversion.h"

#include <SDL2/SDL.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <set>
#include <string>

namespace platform::detail {

bool IsSoftwareRasteriser(const char* glRenderer) {
    if (glRenderer == nullptr)
        return false;
    const std::string name = glRenderer;
    for (const char* cpu : {"llvmpipe", "softpipe", "swrast", "Software Rasterizer"}) {
        if (name.find(cpu) != std::string::npos)
            return true;
    }
    return false;
}

namespace {

// A machine without a GPU device node can only have OpenGL emulated by the CPU.
bool HasGpuDevice() {
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator("/dev/dri", error)) {
        const std::string name = entry.path().filename().string();
        if (name.rfind("renderD", 0) == 0 || name.rfind("card", 0) == 0)
            return true;
    }
    return std::filesystem::exists("/dev/nvidia0", error);
}

// The renderer string of the OpenGL context SDL made current for `renderer`, or null.
const char* OpenGlRendererName(SDL_Renderer* renderer) {
    SDL_RendererInfo info;
    if (SDL_GetRendererInfo(renderer, &info) != 0 || std::strncmp(info.name, "opengl", 6) != 0) {
        return nullptr;
    }
    using GetString = const unsigned char* (*)(unsigned);
    auto getString = reinterpret_cast<GetString>(SDL_GL_GetProcAddress("glGetString"));
    constexpr unsigned kGlRenderer = 0x1F01;
    return getString != nullptr ? reinterpret_cast<const char*>(getString(kGlRenderer)) : nullptr;
}

SDL_Renderer* CreateSoftwareRenderer(SDL_Window* window) {
    // Straight into the window's shared-memory image; SDL would otherwise put an OpenGL
    // texture between the two, and with it the driver's whole weight.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    return SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
}

}  // namespace

namespace {

// Every open presenter, so that SDL's events find the window they belong to.
std::set<SdlPresenter*> livePresenters;

}  // namespace

SdlPresenter::SdlPresenter(HWND handle) : handle_(handle) {
    livePresenters.insert(this);
}

SdlPresenter* SdlPresenter::OfSdlWindow(unsigned sdlWindowId) {
    if (sdlWindowId == 0)
        return nullptr;
    for (SdlPresenter* presenter : livePresenters) {
        if (presenter->windowId() == sdlWindowId)
            return presenter;
    }
    return nullptr;
}

SdlPresenter::~SdlPresenter() {
    livePresenters.erase(this);
    if (texture_ != nullptr)
        SDL_DestroyTexture(texture_);
    if (renderer_ != nullptr)
        SDL_DestroyRenderer(renderer_);
    if (window_ != nullptr)
        SDL_DestroyWindow(window_);
}

bool SdlPresenter::Open(const char* title, int width, int height, bool fullScreen, bool vsync) {
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "0");
    Uint32 flags = SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI;
    int x = SDL_WINDOWPOS_UNDEFINED;
    int y = SDL_WINDOWPOS_UNDEFINED;
    int windowWidth = width;
    int windowHeight = height;
    SDL_DisplayMode desktop;
    if (fullScreen && SDL_GetDesktopDisplayMode(0, &desktop) == 0) {
        // Made desktop-sized from the start, so it covers the screen even without a window
        // manager to honour the full-screen request.
        flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
        x = 0;
        y = 0;
        windowWidth = desktop.w;
        windowHeight = desktop.h;
    } else if (fullScreen) {
        flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
    }
    window_ = SDL_CreateWindow(title, x, y, windowWidth, windowHeight, flags);
    if (window_ == nullptr) {
        std::fprintf(stderr, "tolvek: cannot open a window: %s\n", SDL_GetError());
        return false;
    }
    if (!CreateRenderer(vsync)) {
        std::fprintf(stderr, "tolvek: cannot draw into the window: %s\n", SDL_GetError());
        return false;
    }
    fullScreen_ = fullScreen;
    if (fullScreen)
        SDL_ShowCursor(SDL_DISABLE);
    return true;
}

// A GPU scales the frame for nothing. Without one, OpenGL is emulated by the CPU at several
// times the cost of SDL's software renderer and with some 90 MB of driver in memory, so that
// renderer is used instead. SDL_RENDER_DRIVER still chooses when it is set.
bool SdlPresenter::CreateRenderer(bool vsync) {
    const Uint32 flags = vsync ? SDL_RENDERER_PRESENTVSYNC : 0;
    const char* asked = SDL_GetHint(SDL_HINT_RENDER_DRIVER);
    if (asked != nullptr && *asked != '\0') {
        renderer_ = SDL_strcasecmp(asked, "software") == 0 ? CreateSoftwareRenderer(window_)
                                                           : SDL_CreateRenderer(window_, -1, flags);
    } else if (HasGpuDevice()) {
        renderer_ = SDL_CreateRenderer(window_, -1, flags);
        if (renderer_ != nullptr && IsSoftwareRasteriser(OpenGlRendererName(renderer_))) {
            SDL_DestroyRenderer(renderer_);
            renderer_ = nullptr;
        }
    }
    if (renderer_ == nullptr)
        renderer_ = CreateSoftwareRenderer(window_);
    return renderer_ != nullptr;
}

bool SdlPresenter::Position(int& x, int& y) const {
    if (window_ == nullptr)
        return false;
    SDL_GetWindowPosition(window_, &x, &y);
    return true;
}

void SdlPresenter::Minimise() {
    if (window_ != nullptr)
        SDL_MinimizeWindow(window_);
}

unsigned SdlPresenter::windowId() const {
    return window_ ? SDL_GetWindowID(window_) : 0;
}

bool SdlPresenter::EnsureTexture(int width, int height) {
    if (texture_ != nullptr && width == textureWidth_ && height == textureHeight_)
        return true;
    if (texture_ != nullptr)
        SDL_DestroyTexture(texture_);
    texture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING,
                                 width, height);
    textureWidth_ = width;
    textureHeight_ = height;
    // Logical size keeps the aspect and letterboxes whatever the window's size.
    SDL_RenderSetLogicalSize(renderer_, width, height);
    return texture_ != nullptr;
}

void SdlPresenter::Present(const BYTE* pixels, int pitch, int width, int height,
                        const PALETTEENTRY* palette) {
    if (renderer_ == nullptr || !EnsureTexture(width, height))
        return;
    if (!lookupValid_ || std::memcmp(lastPalette_, palette, sizeof lastPalette_) != 0) {
        std::memcpy(lastPalette_, palette, sizeof lastPalette_);
        BuildLookup(palette, lookup_);
        lookupValid_ = true;
    }
    void* texels = nullptr;
    int texturePitch = 0;
    if (SDL_LockTexture(texture_, nullptr, &texels, &texturePitch) == 0) {
        ConvertIndexedFrame(pixels, pitch, width, height, lookup_,
                            static_cast<std::uint32_t*>(texels), texturePitch / 4);
        SDL_UnlockTexture(texture_);
    }
    SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
    SDL_RenderClear(renderer_);
    SDL_RenderCopy(renderer_, texture_, nullptr, nullptr);
    SDL_RenderPresent(renderer_);
}

void SdlPresenter::SetFullScreen(bool fullScreen) {
    if (window_ == nullptr || fullScreen == fullScreen_)
        return;
    if (fullScreen) {
        SDL_GetWindowPosition(window_, &windowedX_, &windowedY_);
        SDL_GetWindowSize(window_, &windowedWidth_, &windowedHeight_);
        // Sized to the desktop as well, so the frame covers the screen even where no window
        // manager honours the full-screen request.
        int display = SDL_GetWindowDisplayIndex(window_);
        SDL_Rect bounds;
        if (SDL_GetDisplayBounds(display < 0 ? 0 : display, &bounds) == 0) {
            SDL_SetWindowPosition(window_, bounds.x, bounds.y);
            SDL_SetWindowSize(window_, bounds.w, bounds.h);
        }
        SDL_SetWindowFullscreen(window_, SDL_WINDOW_FULLSCREEN_DESKTOP);
    } else {
        SDL_SetWindowFullscreen(window_, 0);
        SDL_SetWindowSize(window_, windowedWidth_, windowedHeight_);
        SDL_SetWindowPosition(window_, windowedX_, windowedY_);
    }
    SDL_ShowCursor(fullScreen ? SDL_DISABLE : SDL_ENABLE);
    fullScreen_ = fullScreen;
}

}  // namespace platform::detail
