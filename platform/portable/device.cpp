// The display device on Linux: cooperative level, display mode, surface, palette and clipper
// creation, lost surfaces, fault injection and the view of presented frames.
#include <cstring>
#include <map>
#include <string>

#include "platform/host_services.h"
#include "platform/portable/display_objects.h"
#include "platform/portable/internal.h"
#include "platform/portable/observer_list.h"

const GUID IID_IDirectDraw2 = {
    0xB3A6F3E0, 0x2B43, 0x11CF, {0xA2, 0xDE, 0x00, 0xAA, 0x00, 0xB9, 0x33, 0x56}};

namespace platform::detail {

int liveDisplayObjects = 0;
std::set<Device*> liveDevices;

namespace {

constexpr int kMaxSide = 16384;
constexpr long long kMaxPixels = 64LL * 1024 * 1024;

std::map<std::string, HRESULT> faults;
ObserverList<PresentObserver>& PresentObservers() {
    static ObserverList<PresentObserver> observers;
    return observers;
}

void RemovePresentObserver(int id) { PresentObservers().Remove(id); }

bool SameGuid(const GUID& a, const GUID& b) { return std::memcmp(&a, &b, sizeof(GUID)) == 0; }

class DirectDraw2Impl final : public ComObject<IDirectDraw2> {
public:
    explicit DirectDraw2Impl(std::shared_ptr<Device> device) : device_(std::move(device)) {}

    HRESULT CreateClipper(DWORD flags, LPDIRECTDRAWCLIPPER* clipper, IUnknown* outer) override {
        (void)flags;
        (void)outer;
        if (clipper == nullptr) return DDERR_INVALIDPARAMS;
        HRESULT fault = DD_OK;
        if (FaultInjected("CreateClipper", &fault)) return fault;
        *clipper = new ClipperImpl;
        return DD_OK;
    }

    HRESULT CreatePalette(DWORD flags, LPPALETTEENTRY entries, LPDIRECTDRAWPALETTE* palette,
                          IUnknown* outer) override {
        (void)outer;
        if (palette == nullptr) return DDERR_INVALIDPARAMS;
        *palette = nullptr;
        HRESULT fault = DD_OK;
        if (FaultInjected("CreatePalette", &fault)) return fault;
        if ((flags & DDPCAPS_8BIT) == 0 || entries == nullptr) return DDERR_INVALIDPARAMS;
        *palette = new PaletteImpl(entries);
        return DD_OK;
    }

    HRESULT CreateSurface(LPDDSURFACEDESC desc, LPDIRECTDRAWSURFACE* surface,
                          IUnknown* outer) override {
        (void)outer;
        if (surface == nullptr) return DDERR_INVALIDPARAMS;
        *surface = nullptr;
        HRESULT fault = DD_OK;
        if (FaultInjected("CreateSurface", &fault)) return fault;
        if (desc == nullptr || desc->dwSize != sizeof(DDSURFACEDESC) ||
            (desc->dwFlags & DDSD_CAPS) == 0) {
            return DDERR_INVALIDPARAMS;
        }
        const DWORD caps = desc->ddsCaps.dwCaps;
        if ((caps & DDSCAPS_PRIMARYSURFACE) != 0) return CreatePrimary(desc, surface);
        if ((desc->dwFlags & (DDSD_WIDTH | DDSD_HEIGHT)) != (DDSD_WIDTH | DDSD_HEIGHT)) {
            return DDERR_INVALIDPARAMS;
        }
        const long long width = static_cast<LONG>(desc->dwWidth);
        const long long height = static_cast<LONG>(desc->dwHeight);
        if (width <= 0 || height <= 0) return DDERR_INVALIDPARAMS;
        if (width > kMaxSide || height > kMaxSide || width * height > kMaxPixels) {
            return DDERR_TOOBIGSIZE;
        }
        *surface = new SurfaceImpl(device_, SurfaceImpl::Kind::Plain, static_cast<int>(width),
                                   static_cast<int>(height));
        return DD_OK;
    }

    HRESULT RestoreDisplayMode() override {
        if (device_->modeSet) {
            device_->modeSet = false;
            // Closing the show's presentation gives the desktop back.
            if (Window* window = FindWindow(device_->window)) window->presenter.reset();
        }
        return DD_OK;
    }

    HRESULT SetCooperativeLevel(HWND window, DWORD flags) override {
        HRESULT fault = DD_OK;
        if (FaultInjected("SetCooperativeLevel", &fault)) return fault;
        if ((flags & DDSCL_EXCLUSIVE) != 0 && (flags & DDSCL_FULLSCREEN) == 0) {
            return DDERR_INVALIDPARAMS;
        }
        if ((flags & (DDSCL_EXCLUSIVE | DDSCL_NORMAL)) == 0) return DDERR_INVALIDPARAMS;
        if (window == nullptr || !IsWindow(window)) return DDERR_INVALIDPARAMS;
        device_->window = window;
        device_->cooperativeLevel = flags;
        return DD_OK;
    }

    HRESULT SetDisplayMode(DWORD width, DWORD height, DWORD bitsPerPixel, DWORD refreshRate,
                           DWORD flags) override {
        (void)refreshRate;
        (void)flags;
        HRESULT fault = DD_OK;
        if (FaultInjected("SetDisplayMode", &fault)) return fault;
        if (!device_->exclusive()) return DDERR_NOEXCLUSIVEMODE;
        // The software display offers palettized 8-bit modes only.
        if (bitsPerPixel != 8) return DDERR_UNSUPPORTEDMODE;
        if (width == 0 || height == 0 || width > kMaxSide || height > kMaxSide) {
            return DDERR_INVALIDMODE;
        }
        device_->modeSet = true;
        device_->modeWidth = static_cast<int>(width);
        device_->modeHeight = static_cast<int>(height);
        PresenterFor(device_->window, device_->modeWidth, device_->modeHeight, true);
        return DD_OK;
    }

private:
    HRESULT CreatePrimary(LPDDSURFACEDESC desc, LPDIRECTDRAWSURFACE* surface) {
        if (device_->cooperativeLevel == 0) return DDERR_NOCOOPERATIVELEVELSET;
        if (device_->primary != nullptr) return DDERR_PRIMARYSURFACEALREADYEXISTS;
        if (!device_->exclusive()) {
            *surface = new SurfaceImpl(device_, SurfaceImpl::Kind::WindowedPrimary, 8192, 8192);
            return DD_OK;
        }
        if (!device_->modeSet) return DDERR_NOEXCLUSIVEMODE;
        const bool chain = (desc->dwFlags & DDSD_BACKBUFFERCOUNT) != 0;
        if (chain && (desc->dwBackBufferCount != 1 ||
                      (desc->ddsCaps.dwCaps & (DDSCAPS_FLIP | DDSCAPS_COMPLEX)) !=
                          (DDSCAPS_FLIP | DDSCAPS_COMPLEX))) {
            return DDERR_INVALIDPARAMS;
        }
        auto* primary = new SurfaceImpl(device_, SurfaceImpl::Kind::Primary, device_->modeWidth,
                                        device_->modeHeight);
        if (chain) {
            primary->AttachBackBuffer(new SurfaceImpl(device_, SurfaceImpl::Kind::BackBuffer,
                                                      device_->modeWidth, device_->modeHeight));
        }
        *surface = primary;
        return DD_OK;
    }

    std::shared_ptr<Device> device_;
};

class DirectDrawImpl final : public ComObject<IDirectDraw> {
public:
    DirectDrawImpl() : device_(std::make_shared<Device>()) {}

    HRESULT QueryInterface(REFIID iid, void** object) override {
        if (object == nullptr) return DDERR_INVALIDPARAMS;
        *object = nullptr;
        HRESULT fault = DD_OK;
        if (FaultInjected("QueryInterface", &fault)) return fault;
        if (!SameGuid(iid, IID_IDirectDraw2)) return E_NOINTERFACE;
        *object = static_cast<IDirectDraw2*>(new DirectDraw2Impl(device_));
        return DD_OK;
    }

private:
    std::shared_ptr<Device> device_;
};

}  // namespace

bool FaultInjected(const char* operation, HRESULT* code) {
    auto it = faults.find(operation);
    if (it == faults.end()) return false;
    *code = it->second;
    faults.erase(it);
    return true;
}

void NotifyPresented(const PresentedFrame& frame) {
    PresentObservers().Notify(frame);
}

void MarkDisplayLost() {
    for (Device* device : liveDevices) {
        for (SurfaceImpl* surface : device->surfaces) surface->MarkLost();
    }
}

PaletteImpl::PaletteImpl(const PALETTEENTRY* source) {
    std::memcpy(entries, source, sizeof entries);
}

HRESULT PaletteImpl::GetEntries(DWORD flags, DWORD base, DWORD count, LPPALETTEENTRY out) {
    (void)flags;
    if (out == nullptr || base > 256 || count > 256 - base) return DDERR_INVALIDPARAMS;
    std::memcpy(out, entries + base, count * sizeof(PALETTEENTRY));
    return DD_OK;
}

HRESULT PaletteImpl::SetEntries(DWORD flags, DWORD start, DWORD count, LPPALETTEENTRY in) {
    (void)flags;
    if (in == nullptr || start > 256 || count > 256 - start) return DDERR_INVALIDPARAMS;
    std::memcpy(entries + start, in, count * sizeof(PALETTEENTRY));
    return DD_OK;
}

HRESULT ClipperImpl::SetHWnd(DWORD flags, HWND target) {
    (void)flags;
    window = target;
    return DD_OK;
}

HRESULT ClipperImpl::GetHWnd(HWND* target) {
    if (target == nullptr) return DDERR_INVALIDPARAMS;
    *target = window;
    return DD_OK;
}

}  // namespace platform::detail

using namespace platform::detail;

namespace platform {

ObserverHandle AddPresentObserver(PresentObserver observer) {
    return ObserverHandle(&RemovePresentObserver, PresentObservers().Add(std::move(observer)));
}

void MarkSurfaceLost(IDirectDrawSurface* surface) {
    if (surface != nullptr) static_cast<SurfaceImpl*>(surface)->MarkLost();
}

void MarkAllSurfacesLost() { MarkDisplayLost(); }

void InjectDisplayFault(const char* operation, HRESULT code) { faults[operation] = code; }

void ClearDisplayFaults() { faults.clear(); }

int CountDisplayObjects() { return liveDisplayObjects; }

}  // namespace platform

extern "C" HRESULT DirectDrawCreate(GUID* driver, LPDIRECTDRAW* directDraw, IUnknown* outer) {
    (void)driver;
    (void)outer;
    if (directDraw == nullptr) return DDERR_INVALIDPARAMS;
    *directDraw = nullptr;
    HRESULT fault = DD_OK;
    if (FaultInjected("DirectDrawCreate", &fault)) return fault;
    *directDraw = new DirectDrawImpl;
    return DD_OK;
}
