// Software surfaces of 8-bit palette indices: locks, fills, stretched and keyed copies, flips and
// lost memory.
#include <algorithm>
#include <cstring>

#include "platform/portable/display_objects.h"
#include "platform/portable/gdi_objects.h"
#include "platform/portable/internal.h"

namespace platform::detail {
namespace {

// Memory of a restored surface holds this until redrawn: visibly not a picture.
constexpr BYTE kUndefinedPixel = 0xCD;

bool RectInside(const RECT& r, int width, int height) {
    return r.left >= 0 && r.top >= 0 && r.left < r.right && r.top < r.bottom && r.right <= width &&
           r.bottom <= height;
}

RECT Whole(int width, int height) { return RECT{0, 0, width, height}; }

const PALETTEENTRY* GreyPalette() {
    static PALETTEENTRY grey[256] = {};
    static bool built = [] {
        for (int i = 0; i < 256; ++i) {
            grey[i] = {static_cast<BYTE>(i), static_cast<BYTE>(i), static_cast<BYTE>(i), 0};
        }
        return true;
    }();
    (void)built;
    return grey;
}

}  // namespace

int PitchFor(int width) { return (width + 63) / 64 * 64 + 64; }

SurfaceImpl::SurfaceImpl(std::shared_ptr<Device> device, Kind kind, int width, int height)
    : device_(std::move(device)),
      kind_(kind),
      width_(width),
      height_(height),
      pitch_(kind == Kind::WindowedPrimary ? 0 : PitchFor(width)) {
    if (kind != Kind::WindowedPrimary) {
        memory_.assign(static_cast<std::size_t>(pitch_) * static_cast<std::size_t>(height), 0);
    }
    device_->surfaces.insert(this);
    if (kind == Kind::Primary || kind == Kind::WindowedPrimary) device_->primary = this;
}

SurfaceImpl::~SurfaceImpl() {
    if (back_ != nullptr) back_->Release();
    if (palette_ != nullptr) palette_->Release();
    if (clipper_ != nullptr) clipper_->Release();
    device_->surfaces.erase(this);
    if (device_->primary == this) device_->primary = nullptr;
}

void SurfaceImpl::AttachBackBuffer(SurfaceImpl* back) { back_ = back; }

HRESULT SurfaceImpl::CheckUsable() const {
    if (lost_) return DDERR_SURFACELOST;
    if (locked_ || dcOut_) return DDERR_SURFACEBUSY;
    return DD_OK;
}

const PALETTEENTRY* SurfaceImpl::DisplayPalette() const {
    const SurfaceImpl* primary = device_->primary;
    if (primary != nullptr && primary->palette_ != nullptr) return primary->palette_->entries;
    return GreyPalette();
}

HRESULT SurfaceImpl::CopyFrom(SurfaceImpl* source, const RECT& from, const RECT& to, bool keyed) {
    const int fw = from.right - from.left;
    const int fh = from.bottom - from.top;
    const int tw = to.right - to.left;
    const int th = to.bottom - to.top;
    const BYTE* srcBase = source->memory_.data();
    const int srcPitch = source->pitch_;
    if (source == this) {
        // A copy within one surface may overlap: read from a snapshot, kept between copies.
        scratch_.assign(memory_.begin(), memory_.end());
        srcBase = scratch_.data();
    }
    // Pixels are bytes, so a key range is cut to 0..255; then v - low, as a byte, is at most
    // high - low exactly for the keyed values, a test the compiler can do many bytes at a time.
    const bool useKey =
        keyed && source->hasKey_ && source->keyLow_ <= source->keyHigh_ && source->keyLow_ <= 255;
    const BYTE low = static_cast<BYTE>(useKey ? source->keyLow_ : 0);
    const BYTE span =
        static_cast<BYTE>(useKey ? std::min<DWORD>(source->keyHigh_, 255) - source->keyLow_ : 0);
    // Source columns of a stretched copy, worked out once per copy rather than once per pixel.
    if (fw != tw) {
        columns_.resize(static_cast<std::size_t>(tw));
        for (int dx = 0; dx < tw; ++dx) {
            columns_[dx] = from.left + static_cast<int>(static_cast<long long>(dx) * fw / tw);
        }
    }
    for (int dy = 0; dy < th; ++dy) {
        const int sy = from.top + static_cast<int>(static_cast<long long>(dy) * fh / th);
        const BYTE* srcRow = srcBase + static_cast<std::size_t>(sy) * srcPitch;
        BYTE* dstRow = Row(to.top + dy) + to.left;
        if (fw == tw) {
            const BYTE* src = srcRow + from.left;
            if (!useKey) {
                std::memcpy(dstRow, src, static_cast<std::size_t>(tw));
                continue;
            }
            for (int dx = 0; dx < tw; ++dx) {
                const BYTE value = src[dx];
                dstRow[dx] = static_cast<BYTE>(value - low) <= span ? dstRow[dx] : value;
            }
            continue;
        }
        const int* columns = columns_.data();
        for (int dx = 0; dx < tw; ++dx) {
            const BYTE value = srcRow[columns[dx]];
            if (useKey && static_cast<BYTE>(value - low) <= span)
                continue;
            dstRow[dx] = value;
        }
    }
    return DD_OK;
}

HRESULT SurfaceImpl::Blt(LPRECT destRect, LPDIRECTDRAWSURFACE source, LPRECT sourceRect,
                         DWORD flags, LPDDBLTFX effects) {
    if (HRESULT state = CheckUsable(); state != DD_OK) return state;
    auto* src = static_cast<SurfaceImpl*>(source);
    if ((flags & DDBLT_COLORFILL) != 0) {
        if (effects == nullptr || kind_ == Kind::WindowedPrimary) return DDERR_INVALIDPARAMS;
        RECT to = destRect != nullptr ? *destRect : Whole(width_, height_);
        if (!RectInside(to, width_, height_)) return DDERR_INVALIDRECT;
        for (int y = to.top; y < to.bottom; ++y) {
            std::memset(Row(y) + to.left, static_cast<BYTE>(effects->dwFillColor),
                        static_cast<std::size_t>(to.right - to.left));
        }
        return DD_OK;
    }
    if ((flags & DDBLT_DDFX) != 0) {
        // Mirrors work on the surface itself when no source is named.
        if (effects == nullptr || kind_ == Kind::WindowedPrimary) return DDERR_INVALIDPARAMS;
        if (src == nullptr) src = this;
        if (HRESULT state = src->CheckUsable(); src != this && state != DD_OK) return state;
        if (src->width_ != width_ || src->height_ != height_) return DDERR_INVALIDRECT;
        scratch_.assign(src->memory_.begin(), src->memory_.end());
        for (int y = 0; y < height_; ++y) {
            int sy = (effects->dwDDFX & DDBLTFX_MIRRORUPDOWN) != 0 ? height_ - 1 - y : y;
            const BYTE* from = scratch_.data() + static_cast<std::size_t>(sy) * src->pitch_;
            BYTE* to = Row(y);
            for (int x = 0; x < width_; ++x) {
                int sx = (effects->dwDDFX & DDBLTFX_MIRRORLEFTRIGHT) != 0 ? width_ - 1 - x : x;
                to[x] = from[sx];
            }
        }
        return DD_OK;
    }
    if (src == nullptr) return DDERR_INVALIDPARAMS;
    if (src != this) {
        if (HRESULT state = src->CheckUsable(); state != DD_OK) return state;
    }
    if (src->kind_ == Kind::WindowedPrimary) return DDERR_UNSUPPORTED;
    RECT from = sourceRect != nullptr ? *sourceRect : Whole(src->width_, src->height_);
    if (!RectInside(from, src->width_, src->height_)) return DDERR_INVALIDRECT;
    if (kind_ == Kind::WindowedPrimary) return BltToWindow(destRect, src, from);
    RECT to = destRect != nullptr ? *destRect : Whole(width_, height_);
    if (!RectInside(to, width_, height_)) return DDERR_INVALIDRECT;
    return CopyFrom(src, from, to, (flags & DDBLT_KEYSRC) != 0);
}

HRESULT SurfaceImpl::BltFast(DWORD x, DWORD y, LPDIRECTDRAWSURFACE source, LPRECT sourceRect,
                             DWORD transferFlags) {
    if (HRESULT state = CheckUsable(); state != DD_OK) return state;
    auto* src = static_cast<SurfaceImpl*>(source);
    if (src == nullptr || kind_ == Kind::WindowedPrimary) return DDERR_INVALIDPARAMS;
    if (src != this) {
        if (HRESULT state = src->CheckUsable(); state != DD_OK) return state;
    }
    RECT from = sourceRect != nullptr ? *sourceRect : Whole(src->width_, src->height_);
    if (!RectInside(from, src->width_, src->height_)) return DDERR_INVALIDRECT;
    // Coordinates travel as unsigned values; negative positions wrap and are refused below.
    const long long left = static_cast<LONG>(x);
    const long long top = static_cast<LONG>(y);
    const long long right = left + (from.right - from.left);
    const long long bottom = top + (from.bottom - from.top);
    if (left < 0 || top < 0 || right > width_ || bottom > height_) return DDERR_INVALIDRECT;
    RECT to{static_cast<LONG>(left), static_cast<LONG>(top), static_cast<LONG>(right),
            static_cast<LONG>(bottom)};
    return CopyFrom(src, from, to, (transferFlags & DDBLTFAST_SRCCOLORKEY) != 0);
}

HRESULT SurfaceImpl::BltToWindow(const RECT* destRect, SurfaceImpl* source, const RECT& from) {
    HWND window = clipper_ != nullptr ? clipper_->window : device_->window;
    RECT client{};
    if (!GetClientRect(window, &client) || client.right <= 0 || client.bottom <= 0) {
        return DDERR_NOHWND;
    }
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    RECT to = destRect != nullptr ? *destRect
                                  : RECT{origin.x, origin.y, origin.x + client.right,
                                         origin.y + client.bottom};
    if (to.right <= to.left || to.bottom <= to.top) return DDERR_INVALIDRECT;
    const int cw = client.right;
    const int ch = client.bottom;
    windowFrame_.resize(static_cast<std::size_t>(cw) * ch);
    const long long tw = to.right - to.left;
    const long long th = to.bottom - to.top;
    const int fw = from.right - from.left;
    const int fh = from.bottom - from.top;
    // The clipper limits the copy to the window's client area.
    for (int cy = 0; cy < ch; ++cy) {
        long long dy = origin.y + cy - to.top;
        if (dy < 0 || dy >= th) continue;
        const BYTE* srcRow = source->Row(from.top + static_cast<int>(dy * fh / th));
        for (int cx = 0; cx < cw; ++cx) {
            long long dx = origin.x + cx - to.left;
            if (dx < 0 || dx >= tw) continue;
            windowFrame_[static_cast<std::size_t>(cy) * cw + cx] =
                srcRow[from.left + static_cast<int>(dx * fw / tw)];
        }
    }
    NotifyPresented({windowFrame_.data(), cw, cw, ch, DisplayPalette()});
    if (Presenter* presenter = PresenterFor(window, cw, ch, false)) {
        presenter->Present(windowFrame_.data(), cw, cw, ch, DisplayPalette());
    }
    return DD_OK;
}

HRESULT SurfaceImpl::Flip(LPDIRECTDRAWSURFACE targetOverride, DWORD flags) {
    (void)targetOverride;
    (void)flags;
    if (kind_ != Kind::Primary || back_ == nullptr) return DDERR_NOTFLIPPABLE;
    if (lost_ || back_->lost_) return DDERR_SURFACELOST;
    if (locked_ || back_->locked_ || dcOut_ || back_->dcOut_) return DDERR_SURFACEBUSY;
    std::swap(memory_, back_->memory_);
    Present();
    return DD_OK;
}

void SurfaceImpl::Present() {
    PresentedFrame frame{memory_.data(), pitch_, width_, height_, DisplayPalette()};
    NotifyPresented(frame);
    if (Presenter* presenter = PresenterFor(device_->window, width_, height_, true)) {
        presenter->Present(frame.pixels, frame.pitch, frame.width, frame.height, frame.palette);
    }
}

HRESULT SurfaceImpl::GetAttachedSurface(LPDDSCAPS caps, LPDIRECTDRAWSURFACE* attached) {
    if (caps == nullptr || attached == nullptr) return DDERR_INVALIDPARAMS;
    *attached = nullptr;
    if ((caps->dwCaps & DDSCAPS_BACKBUFFER) == 0 || back_ == nullptr) return DDERR_NOTFOUND;
    back_->AddRef();
    *attached = back_;
    return DD_OK;
}

HRESULT SurfaceImpl::GetSurfaceDesc(LPDDSURFACEDESC description) {
    if (description == nullptr) return DDERR_INVALIDPARAMS;
    description->dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH | DDSD_PITCH;
    description->dwWidth = static_cast<DWORD>(width_);
    description->dwHeight = static_cast<DWORD>(height_);
    description->lPitch = pitch_;
    description->ddsCaps.dwCaps = kind_ == Kind::Plain ? DDSCAPS_OFFSCREENPLAIN
                                  : kind_ == Kind::BackBuffer
                                      ? DDSCAPS_BACKBUFFER | DDSCAPS_FLIP | DDSCAPS_COMPLEX
                                      : DDSCAPS_PRIMARYSURFACE;
    return DD_OK;
}

HRESULT SurfaceImpl::GetDC(HDC* dc) {
    if (dc == nullptr) return DDERR_INVALIDPARAMS;
    *dc = nullptr;
    if (HRESULT state = CheckUsable(); state != DD_OK) return state;
    if (kind_ == Kind::WindowedPrimary) return DDERR_CANTCREATEDC;
    *dc = CreateSurfaceDC(this);
    dcOut_ = true;
    return DD_OK;
}

HRESULT SurfaceImpl::ReleaseDC(HDC dc) {
    if (!dcOut_ || dc == nullptr) return DDERR_NODC;
    DeleteSurfaceDC(dc);
    dcOut_ = false;
    return DD_OK;
}

HRESULT SurfaceImpl::IsLost() { return lost_ ? DDERR_SURFACELOST : DD_OK; }

HRESULT SurfaceImpl::Lock(LPRECT rect, LPDDSURFACEDESC description, DWORD flags, HANDLE event) {
    (void)flags;
    (void)event;
    if (description == nullptr) return DDERR_INVALIDPARAMS;
    if (HRESULT state = CheckUsable(); state != DD_OK) return state;
    if (kind_ == Kind::WindowedPrimary) return DDERR_CANTLOCKSURFACE;
    BYTE* start = memory_.data();
    if (rect != nullptr) {
        if (!RectInside(*rect, width_, height_)) return DDERR_INVALIDRECT;
        start = Row(rect->top) + rect->left;
    }
    GetSurfaceDesc(description);
    description->dwFlags |= DDSD_LPSURFACE;
    description->lpSurface = start;
    locked_ = true;
    return DD_OK;
}

HRESULT SurfaceImpl::Unlock(LPVOID surfaceData) {
    (void)surfaceData;
    if (!locked_) return DDERR_NOTLOCKED;
    locked_ = false;
    return DD_OK;
}

HRESULT SurfaceImpl::Restore() {
    if (lost_) {
        lost_ = false;
        std::fill(memory_.begin(), memory_.end(), kUndefinedPixel);
    }
    // A flip chain is restored as a whole.
    if (back_ != nullptr) back_->Restore();
    return DD_OK;
}

HRESULT SurfaceImpl::SetClipper(LPDIRECTDRAWCLIPPER clipper) {
    auto* next = static_cast<ClipperImpl*>(clipper);
    if (next != nullptr) next->AddRef();
    if (clipper_ != nullptr) clipper_->Release();
    clipper_ = next;
    return DD_OK;
}

HRESULT SurfaceImpl::SetColorKey(DWORD flags, LPDDCOLORKEY key) {
    if ((flags & DDCKEY_SRCBLT) == 0) return DDERR_UNSUPPORTED;
    if (lost_) return DDERR_SURFACELOST;
    hasKey_ = key != nullptr;
    if (key != nullptr) {
        keyLow_ = key->dwColorSpaceLowValue;
        keyHigh_ = key->dwColorSpaceHighValue;
    }
    return DD_OK;
}

HRESULT SurfaceImpl::SetPalette(LPDIRECTDRAWPALETTE palette) {
    auto* next = static_cast<PaletteImpl*>(palette);
    if (next != nullptr) next->AddRef();
    if (palette_ != nullptr) palette_->Release();
    palette_ = next;
    return DD_OK;
}

HRESULT SurfaceImpl::GetPalette(LPDIRECTDRAWPALETTE* palette) {
    if (palette == nullptr) return DDERR_INVALIDPARAMS;
    *palette = palette_;
    if (palette_ == nullptr) return DDERR_NOPALETTEATTACHED;
    palette_->AddRef();
    return DD_OK;
}

}  // namespace platform::detail
