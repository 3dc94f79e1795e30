// What a host program and the tests can ask of the platform beyond the published calls: how the
// display is shown, a view of every presented frame, the seed clock and fault injection.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/ddraw.h"

namespace platform {

enum class DisplayPreference {
    Automatic,   // a window system if one answers, otherwise headless
    Headless,    // never open a window; frames go only to the observer
    Window,      // a resizable window even where full screen is asked for
    FullScreen,  // desktop full screen where full screen is asked for
};

TOLVEK_PLATFORM_API void SetDisplayPreference(DisplayPreference preference, bool vsync = true);
TOLVEK_PLATFORM_API DisplayPreference GetDisplayPreference();
// True once the platform has decided no window system is there (or was told so).
TOLVEK_PLATFORM_API bool DisplayIsHeadless();
// Switches the shown frame of the window between desktop full screen and a window.
TOLVEK_PLATFORM_API void ToggleFullScreen(HWND window);

// One presented frame: palette indices and the palette in force when it was presented.
struct PresentedFrame {
    const BYTE* pixels;
    int pitch;
    int width;
    int height;
    const PALETTEENTRY* palette;  // 256 entries

    // The indices row after row, without the padding of the pitch; `out` is resized to fit.
    void CopyPixels(std::vector<BYTE>& out) const {
        out.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
        for (int y = 0; y < height; ++y) {
            std::memcpy(out.data() + static_cast<std::size_t>(y) * width,
                        pixels + static_cast<std::ptrdiff_t>(y) * pitch,
                        static_cast<std::size_t>(width));
        }
    }
};
using PresentObserver = std::function<void(const PresentedFrame&)>;
// Message boxes are also reported here (after the box closed, or instead of it when headless).
using MessageBoxObserver = std::function<void(const char* caption, const char* text)>;
// Debugger-channel lines and the lines of pictures that could not be loaded (what the error
// output gets) are also reported here, for hosts whose users never see the error output.
using DiagnosticObserver = std::function<void(const char* line)>;

// One registered observer; destroying (or resetting) the handle removes just that one. Every
// observer registered at a time sees every frame, box and line, in the order they registered.
class ObserverHandle {
  public:
    ObserverHandle() = default;
    ObserverHandle(void (*remove)(int id), int id) : remove_(remove), id_(id) {}
    ObserverHandle(ObserverHandle&& other) noexcept : remove_(other.remove_), id_(other.id_) {
        other.remove_ = nullptr;
    }
    ObserverHandle& operator=(ObserverHandle&& other) noexcept {
        if (this != &other) {
            Reset();
            remove_ = other.remove_;
            id_ = other.id_;
            other.remove_ = nullptr;
        }
        return *this;
    }
    ObserverHandle(const ObserverHandle&) = delete;
    ObserverHandle& operator=(const ObserverHandle&) = delete;
    ~ObserverHandle() { Reset(); }

    void Reset() {
        if (remove_ != nullptr) remove_(id_);
        remove_ = nullptr;
    }
    explicit operator bool() const { return remove_ != nullptr; }

  private:
    void (*remove_)(int id) = nullptr;
    int id_ = 0;
};

[[nodiscard]] TOLVEK_PLATFORM_API ObserverHandle AddPresentObserver(PresentObserver observer);
[[nodiscard]] TOLVEK_PLATFORM_API ObserverHandle AddMessageBoxObserver(MessageBoxObserver observer);
[[nodiscard]] TOLVEK_PLATFORM_API ObserverHandle AddDiagnosticObserver(DiagnosticObserver observer);

// Lost surfaces on demand, so the restore paths can be exercised.
TOLVEK_PLATFORM_API void MarkSurfaceLost(IDirectDrawSurface* surface);
TOLVEK_PLATFORM_API void MarkAllSurfacesLost();

// The next call of the named display operation fails with the given code, e.g.
// InjectDisplayFault("SetDisplayMode", DDERR_INVALIDMODE); "CreateWindowExA" fails a window.
TOLVEK_PLATFORM_API void InjectDisplayFault(const char* operation, HRESULT code);
TOLVEK_PLATFORM_API void ClearDisplayFaults();

// What the system does when files are dropped on `window`: one WM_DROPFILES to the window or
// owner that accepts files (nothing when none does). The SDL back-end and the tests call it.
TOLVEK_PLATFORM_API void DropFiles(HWND window, const std::vector<std::string>& paths);

// Windows alive in the window layer, for leak checks.
TOLVEK_PLATFORM_API int CountWindows();
// Display objects alive (devices, surfaces, palettes, clippers), for leak checks.
TOLVEK_PLATFORM_API int CountDisplayObjects();

// Fixes (or, with no value, frees) the calendar time the show seeds its generator from.
TOLVEK_PLATFORM_API void FixCalendarTime(std::optional<std::int64_t> seconds);

}  // namespace platform
