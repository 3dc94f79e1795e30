// The browser back-end: frames into the page's canvas, the page's keys and full-screen changes
// as window messages, message boxes as a dialog of the page, and the module's file name in the
// packaged file system.
#include <emscripten.h>

#include <cstdint>
#include <cstring>
#include <deque>
#include <vector>

#include "platform/portable/backend.h"
#include "platform/portable/frame_conversion.h"
#include "platform/portable/internal.h"
#include "platform/web/web_platform.h"
#include "platform/win32.h"

// The canvas is Module.canvas; the page may leave it out, and then nothing is drawn. Only rows
// [top, top + rows) changed since the frame drawn before; a canvas new, resized or restored
// after its context was lost gets the whole frame.
EM_JS(void, TolvekWebDraw, (const void* rgba, int width, int height, int top, int rows), {
    const canvas = Module['canvas'];
    if (!canvas) return;
    let whole = false;
    if (canvas.width !== width || canvas.height !== height) {
        canvas.width = width;
        canvas.height = height;
        whole = true;
    }
    if (!Module['tolvekContext2d'] || Module['tolvekContext2d'].canvas !== canvas) {
        Module['tolvekContext2d'] = canvas.getContext('2d', {alpha: false});
        canvas.addEventListener('contextrestored', () => { Module['tolvekCanvasStale'] = true; });
        whole = true;
    }
    if (Module['tolvekCanvasStale']) {
        Module['tolvekCanvasStale'] = false;
        whole = true;
    }
    if (!whole && rows <= 0) return;
    const bytes = new Uint8ClampedArray(HEAPU8.buffer, rgba, width * height * 4);
    const image = new ImageData(bytes, width, height);
    if (whole) Module['tolvekContext2d'].putImageData(image, 0, 0);
    else Module['tolvekContext2d'].putImageData(image, 0, 0, 0, top, width, rows);
});

// Full screen is asked of the element holding the canvas, so the page's letterbox comes along.
EM_JS(void, TolvekWebSetFullScreen, (int fullScreen), {
    const canvas = Module['canvas'];
    if (!canvas) return;
    const stage = canvas.closest('[data-fullscreen]') || canvas;
    if (fullScreen && !document.fullscreenElement && stage.requestFullscreen) {
        stage.requestFullscreen().catch((e) => {
            if (Module['tolvekNotice']) Module['tolvekNotice']('Full screen refused: ' + e.message);
        });
    } else if (!fullScreen && document.fullscreenElement) {
        document.exitFullscreen().catch(() => {});
    }
});

// A dialog of the page with the caption and the text; the page's host loop waits while it is
// open, as the desktop's modal box holds the thread.
EM_JS(int, TolvekWebMessageBox, (const char* caption, const char* text), {
    if (Module['tolvekMessageBox']) {
        Module['tolvekMessageBox'](UTF8ToString(caption), UTF8ToString(text));
        return 1;
    }
    return 0;
});

// The page's keys as virtual-key codes, the same keys the desktop back-end reports; the keys
// the show handles do not also scroll the page.
EM_JS(void, TolvekWebListen, (), {
    if (Module['tolvekListening']) return;
    Module['tolvekListening'] = true;
    const named = {
        Escape: 27, Space: 32, Enter: 13, NumpadEnter: 13, Backspace: 8, Tab: 9,
        ArrowLeft: 37, ArrowUp: 38, ArrowRight: 39, ArrowDown: 40,
        PageUp: 33, PageDown: 34, Home: 36, End: 35
    };
    const virtualKey = (code) => {
        if (/^Key[A-Z]$/.test(code)) return code.charCodeAt(3);
        if (/^Digit[0-9]$/.test(code)) return code.charCodeAt(5);
        const f = /^F([0-9]{1,2})$/.exec(code);
        if (f && +f[1] >= 1 && +f[1] <= 12) return 0x6F + +f[1];
        return named[code] || 0;
    };
    // Scan codes as the desktop reports them (USB usage numbers, as SDL's).
    const usage = {
        Enter: 40, NumpadEnter: 88, Escape: 41, Backspace: 42, Tab: 43, Space: 44,
        Home: 74, PageUp: 75, End: 77, PageDown: 78,
        ArrowRight: 79, ArrowLeft: 80, ArrowDown: 81, ArrowUp: 82
    };
    const scanCode = (code, vk) => {
        if (/^Key[A-Z]$/.test(code)) return 4 + vk - 65;
        if (/^Digit[1-9]$/.test(code)) return 30 + vk - 49;
        if (code === 'Digit0') return 39;
        if (/^F[0-9]{1,2}$/.test(code)) return 58 + vk - 0x70;
        return usage[code] || 0;
    };
    const send = (event, down) => {
        if (event.ctrlKey || event.altKey || event.metaKey) return;
        if (Module['tolvekKeysWanted'] && !Module['tolvekKeysWanted'](event)) return;
        const vk = virtualKey(event.code);
        if (!vk) return;
        event.preventDefault();
        Module['_tolvek_web_key'](down ? 1 : 0, vk, event.repeat ? 1 : 0, scanCode(event.code, vk));
    };
    window.addEventListener('keydown', (e) => send(e, true));
    window.addEventListener('keyup', (e) => send(e, false));
    document.addEventListener('fullscreenchange', () => {
        if (!document.fullscreenElement) Module['_tolvek_web_full_screen_left']();
    });
});

namespace platform::detail {
namespace {

enum class Video { Unknown, Up, Absent };
Video videoState = Video::Unknown;

struct PageEvent {
    enum class Kind { Key, FullScreenLeft } kind;
    bool down = false;
    int virtualKey = 0;
    bool repeat = false;
    int scanCode = 0;
};
std::deque<PageEvent> pendingEvents;

// Time spent presenting, for the page's figures: the conversion through the palette and the
// copy into the canvas.
double conversionMs = 0;
double canvasMs = 0;

class WebPresenter;
WebPresenter* shownPresenter = nullptr;  // the one canvas has one presenter at a time

class WebPresenter final : public Presenter {
  public:
    explicit WebPresenter(HWND handle) : handle_(handle) { shownPresenter = this; }
    ~WebPresenter() override {
        if (shownPresenter == this) shownPresenter = nullptr;
        if (fullScreen_) TolvekWebSetFullScreen(0);
    }

    void Present(const BYTE* pixels, int pitch, int width, int height,
                 const PALETTEENTRY* palette) override {
        if (!lookupValid_ || std::memcmp(lastPalette_, palette, sizeof lastPalette_) != 0) {
            std::memcpy(lastPalette_, palette, sizeof lastPalette_);
            // The canvas takes bytes in the order red, green, blue, alpha.
            for (int i = 0; i < 256; ++i) {
                lookup_[i] = 0xFF000000u | (std::uint32_t{palette[i].peBlue} << 16) |
                             (std::uint32_t{palette[i].peGreen} << 8) | palette[i].peRed;
            }
            lookupValid_ = true;
            rgbaValid_ = false;  // every pixel's colour may have changed
        }
        const double start = emscripten_get_now();
        // Over a cycle about half of the rows are those of the frame before: only the rows
        // that changed are converted and drawn again.
        const std::size_t size =
            static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
        const bool whole = !rgbaValid_ || rgba_.size() != size || width_ != width;
        if (whole) {
            rgba_.resize(size);
            previous_.resize(size);
            width_ = width;
        }
        int top = height, bottom = 0;
        for (int y = 0; y < height; ++y) {
            const BYTE* row = pixels + static_cast<std::ptrdiff_t>(y) * pitch;
            BYTE* before = previous_.data() + static_cast<std::size_t>(y) * width;
            if (!whole && std::memcmp(row, before, static_cast<std::size_t>(width)) == 0) continue;
            std::memcpy(before, row, static_cast<std::size_t>(width));
            ConvertIndexedFrame(row, pitch, width, 1, lookup_,
                                rgba_.data() + static_cast<std::size_t>(y) * width, width);
            top = y < top ? y : top;
            bottom = y + 1;
        }
        rgbaValid_ = true;
        const double converted = emscripten_get_now();
        TolvekWebDraw(rgba_.data(), width, height, top, bottom > top ? bottom - top : 0);
        conversionMs += converted - start;
        canvasMs += emscripten_get_now() - converted;
    }

    void SetFullScreen(bool fullScreen) override {
        fullScreen_ = fullScreen;
        TolvekWebSetFullScreen(fullScreen ? 1 : 0);
    }
    // The browser left full screen on its own (Escape, the browser's own controls).
    void LeftFullScreen() { fullScreen_ = false; }
    bool fullScreen() const override { return fullScreen_; }
    bool Position(int& x, int& y) const override {
        x = 0;
        y = 0;
        return true;
    }
    void Minimise() override {}
    HWND handle() const { return handle_; }

  private:
    HWND handle_;
    bool fullScreen_ = false;
    PALETTEENTRY lastPalette_[256]{};
    std::uint32_t lookup_[256]{};
    bool lookupValid_ = false;
    // The frame converted last: its pixels in the canvas's bytes and its indices.
    std::vector<std::uint32_t> rgba_;
    std::vector<BYTE> previous_;
    int width_ = 0;
    bool rgbaValid_ = false;
};

}  // namespace

bool EnsureVideo() {
    if (videoState == Video::Unknown) {
        videoState = GetDisplayPreference() == DisplayPreference::Headless ? Video::Absent
                                                                           : Video::Up;
        if (videoState == Video::Up) TolvekWebListen();
    }
    return videoState == Video::Up;
}

void StayHeadless() {
    if (videoState == Video::Unknown) videoState = Video::Absent;
}

void PumpSystemEvents() {
    while (!pendingEvents.empty()) {
        const PageEvent event = pendingEvents.front();
        pendingEvents.pop_front();
        if (shownPresenter == nullptr || FindWindow(shownPresenter->handle()) == nullptr) continue;
        const HWND handle = shownPresenter->handle();
        if (event.kind == PageEvent::Kind::FullScreenLeft) {
            if (!shownPresenter->fullScreen()) continue;
            shownPresenter->LeftFullScreen();
            // Leaving full screen takes the display from the show, as on the desktop.
            MarkDisplayLost();
            continue;
        }
        LPARAM lParam = 1 | (static_cast<LPARAM>(event.scanCode & 0xFF) << 16);
        if (!event.down) lParam |= (LPARAM{1} << 30) | (LPARAM{1} << 31);
        if (event.down && event.repeat) lParam |= LPARAM{1} << 30;
        PostMessageA(handle, event.down ? WM_KEYDOWN : WM_KEYUP,
                     static_cast<WPARAM>(event.virtualKey), lParam);
    }
}

std::unique_ptr<Presenter> OpenPresenter(HWND handle, const char*, int, int, bool fullScreen,
                                         bool) {
    auto presenter = std::make_unique<WebPresenter>(handle);
    if (fullScreen) presenter->SetFullScreen(true);
    return presenter;
}

bool ShowMessageBox(HWND, const char* caption, const char* text, UINT) {
    return TolvekWebMessageBox(caption, text) != 0;
}

bool ModuleFileName(HMODULE module, std::string& path) {
    path = module == nullptr ? kWebProgramPath : kWebPluginPath;
    return true;
}

}  // namespace platform::detail

extern "C" {

EMSCRIPTEN_KEEPALIVE void tolvek_web_key(int down, int virtualKey, int repeat, int scanCode) {
    using platform::detail::PageEvent;
    if (virtualKey <= 0 || virtualKey > 0xFE) return;
    platform::detail::pendingEvents.push_back(
        PageEvent{PageEvent::Kind::Key, down != 0, virtualKey, repeat != 0, scanCode});
}

EMSCRIPTEN_KEEPALIVE double tolvek_web_conversion_ms() { return platform::detail::conversionMs; }
EMSCRIPTEN_KEEPALIVE double tolvek_web_canvas_ms() { return platform::detail::canvasMs; }

EMSCRIPTEN_KEEPALIVE void tolvek_web_full_screen_left() {
    using platform::detail::PageEvent;
    platform::detail::pendingEvents.push_back(PageEvent{PageEvent::Kind::FullScreenLeft});
}

}  // extern "C"
