// Shows 8-bit frames in an SDL window: indices through the palette into a streaming texture.
#pragma once

#include <cstdint>

#include "platform/ddraw.h"
#include "platform/portable/backend.h"

struct SDL_Window;
struct SDL_Renderer;
struct SDL_Texture;

namespace platform::detail {

class SdlPresenter final : public Presenter {
  public:
    explicit SdlPresenter(HWND handle);
    SdlPresenter(const SdlPresenter&) = delete;
    SdlPresenter& operator=(const SdlPresenter&) = delete;
    ~SdlPresenter() override;

    bool Open(const char* title, int width, int height, bool fullScreen, bool vsync);
    // Converts the frame through the palette and shows it; the table is rebuilt only when the
    // palette's contents changed.
    void Present(const BYTE* pixels, int pitch, int width, int height,
                 const PALETTEENTRY* palette) override;
    void SetFullScreen(bool fullScreen) override;
    bool fullScreen() const override { return fullScreen_; }
    bool Position(int& x, int& y) const override;
    void Minimise() override;
    unsigned windowId() const;
    SDL_Window* window() const { return window_; }
    HWND handle() const { return handle_; }
    // The open presenter showing SDL's window `sdlWindowId`, or null.
    static SdlPresenter* OfSdlWindow(unsigned sdlWindowId);

  private:
    bool EnsureTexture(int width, int height);
    bool CreateRenderer(bool vsync);

    HWND handle_;
    SDL_Window* window_ = nullptr;
    SDL_Renderer* renderer_ = nullptr;
    SDL_Texture* texture_ = nullptr;
    int textureWidth_ = 0;
    int textureHeight_ = 0;
    bool fullScreen_ = false;
    // Where the window goes back to when it leaves full screen.
    int windowedX_ = 64;
    int windowedY_ = 64;
    int windowedWidth_ = 640;
    int windowedHeight_ = 480;
    PALETTEENTRY lastPalette_[256]{};
    std::uint32_t lookup_[256]{};
    bool lookupValid_ = false;
};

// True for the OpenGL renderer strings of drivers that draw with the CPU (Mesa's llvmpipe,
// softpipe and swrast): SDL's own software renderer does the same job for a fraction of the time
// and memory. GPU drivers that merely name LLVM as their shader compiler are not among them.
TOLVEK_PLATFORM_API bool IsSoftwareRasteriser(const char* glRenderer);

}  // namespace platform::detail
