// The frame's upload, through the platform's own frame conversion.
#include "obs/frame_texture.h"

#include <cstring>

#include "platform/portable/frame_conversion.h"

namespace tolvek_obs {

void FrameTexture::Upload(const hostkit::RenderedFrame& frame) {
    if (frame.width <= 0 || frame.height <= 0 ||
        frame.pixels.size() < static_cast<std::size_t>(frame.width) * frame.height)
        return;
    if (texture_ == nullptr || width_ != frame.width || height_ != frame.height) {
        Release();
        texture_ =
            gs_texture_create(static_cast<uint32_t>(frame.width),
                              static_cast<uint32_t>(frame.height), GS_BGRA, 1, nullptr, GS_DYNAMIC);
        if (texture_ == nullptr)
            return;
        width_ = frame.width;
        height_ = frame.height;
    }
    if (!lookupValid_ || std::memcmp(palette_.data(), frame.palette.data(), sizeof palette_) != 0) {
        palette_ = frame.palette;
        platform::detail::BuildLookup(palette_.data(), lookup_.data());
        lookupValid_ = true;
    }
    uint8_t* target = nullptr;
    uint32_t linesize = 0;
    if (!gs_texture_map(texture_, &target, &linesize))
        return;
    // 0xAARRGGBB words are B, G, R, A in memory: the texture's BGRA.
    platform::detail::ConvertIndexedFrame(
        frame.pixels.data(), frame.width, frame.width, frame.height, lookup_.data(),
        reinterpret_cast<std::uint32_t*>(target), static_cast<int>(linesize / 4));
    gs_texture_unmap(texture_);
}

void FrameTexture::Release() {
    if (texture_ != nullptr)
        gs_texture_destroy(texture_);
    texture_ = nullptr;
    width_ = 0;
    height_ = 0;
}

}  // namespace tolvek_obs
