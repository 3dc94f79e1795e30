// The display objects of the Linux platform: device, software surfaces, palettes and clippers.
#pragma once

#include <memory>
#include <set>
#include <vector>

#include "platform/ddraw.h"

namespace platform::detail {

class SurfaceImpl;

// Live display objects, for leak checks.
extern int liveDisplayObjects;

template <class Interface>
class ComObject : public Interface {
public:
    ComObject() { ++liveDisplayObjects; }
    virtual ~ComObject() { --liveDisplayObjects; }
    ULONG AddRef() override { return ++refs_; }
    ULONG Release() override {
        ULONG left = --refs_;
        if (left == 0) delete this;
        return left;
    }
    HRESULT QueryInterface(REFIID, void** object) override {
        if (object != nullptr) *object = nullptr;
        return E_NOINTERFACE;
    }

private:
    ULONG refs_ = 1;
};

struct Device;
// Every live device, so the window system's loss of the display reaches all surfaces.
extern std::set<Device*> liveDevices;

struct Device {
    Device() { liveDevices.insert(this); }
    ~Device() { liveDevices.erase(this); }
    Device(const Device&) = delete;
    Device& operator=(const Device&) = delete;
    HWND window = nullptr;
    DWORD cooperativeLevel = 0;
    bool modeSet = false;
    int modeWidth = 0;
    int modeHeight = 0;
    SurfaceImpl* primary = nullptr;  // not owned
    std::set<SurfaceImpl*> surfaces;
    bool exclusive() const { return (cooperativeLevel & DDSCL_EXCLUSIVE) != 0; }
};

class PaletteImpl final : public ComObject<IDirectDrawPalette> {
public:
    explicit PaletteImpl(const PALETTEENTRY* entries);
    HRESULT GetEntries(DWORD flags, DWORD base, DWORD count, LPPALETTEENTRY entries) override;
    HRESULT SetEntries(DWORD flags, DWORD start, DWORD count, LPPALETTEENTRY entries) override;
    PALETTEENTRY entries[256];
};

class ClipperImpl final : public ComObject<IDirectDrawClipper> {
public:
    HRESULT SetHWnd(DWORD flags, HWND window) override;
    HRESULT GetHWnd(HWND* window) override;
    HWND window = nullptr;
};

class SurfaceImpl final : public ComObject<IDirectDrawSurface> {
public:
    enum class Kind { Plain, Primary, BackBuffer, WindowedPrimary };
    SurfaceImpl(std::shared_ptr<Device> device, Kind kind, int width, int height);
    ~SurfaceImpl() override;

    HRESULT Blt(LPRECT destRect, LPDIRECTDRAWSURFACE source, LPRECT sourceRect, DWORD flags,
                LPDDBLTFX effects) override;
    HRESULT BltFast(DWORD x, DWORD y, LPDIRECTDRAWSURFACE source, LPRECT sourceRect,
                    DWORD transferFlags) override;
    HRESULT Flip(LPDIRECTDRAWSURFACE targetOverride, DWORD flags) override;
    HRESULT GetAttachedSurface(LPDDSCAPS caps, LPDIRECTDRAWSURFACE* attached) override;
    HRESULT GetSurfaceDesc(LPDDSURFACEDESC description) override;
    HRESULT GetDC(HDC* dc) override;
    HRESULT ReleaseDC(HDC dc) override;
    HRESULT IsLost() override;
    HRESULT Lock(LPRECT rect, LPDDSURFACEDESC description, DWORD flags, HANDLE event) override;
    HRESULT Restore() override;
    HRESULT SetClipper(LPDIRECTDRAWCLIPPER clipper) override;
    HRESULT SetColorKey(DWORD flags, LPDDCOLORKEY key) override;
    HRESULT SetPalette(LPDIRECTDRAWPALETTE palette) override;
    HRESULT GetPalette(LPDIRECTDRAWPALETTE* palette) override;
    HRESULT Unlock(LPVOID surfaceData) override;

    void AttachBackBuffer(SurfaceImpl* back);
    void MarkLost() { lost_ = true; }
    BYTE* Row(int y) { return memory_.data() + static_cast<std::size_t>(y) * pitch_; }
    int width() const { return width_; }
    int height() const { return height_; }
    int pitch() const { return pitch_; }
    // The palette the display shows this surface's indices through.
    const PALETTEENTRY* DisplayPalette() const;

private:
    HRESULT CheckUsable() const;
    HRESULT CopyFrom(SurfaceImpl* source, const RECT& from, const RECT& to, bool keyed);
    HRESULT BltToWindow(const RECT* destRect, SurfaceImpl* source, const RECT& from);
    void Present();

    std::shared_ptr<Device> device_;
    Kind kind_;
    int width_;
    int height_;
    int pitch_;
    std::vector<BYTE> memory_;
    bool lost_ = false;
    bool locked_ = false;
    bool dcOut_ = false;
    bool hasKey_ = false;
    DWORD keyLow_ = 0;
    DWORD keyHigh_ = 0;
    SurfaceImpl* back_ = nullptr;  // owned reference of a flip chain's front
    PaletteImpl* palette_ = nullptr;
    ClipperImpl* clipper_ = nullptr;
    std::vector<BYTE> windowFrame_;
    // Reused by every copy, so that no copy allocates once the first has run.
    std::vector<BYTE> scratch_;
    std::vector<int> columns_;
};

// Row pitch of a software surface: deliberately wider than the width.
TOLVEK_PLATFORM_API int PitchFor(int width);

}  // namespace platform::detail
