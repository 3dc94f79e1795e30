// The frame's upload and its lookup through the palette.
#include "obs/frame_texture.h"

#include <obs-module.h>

#include <cstring>
#include <string>

#include "obs/show_slot.h"
#include "platform/portable/frame_conversion.h"

namespace tolvek_obs {
namespace {

// Each pixel's index fetched as it is (no filtering), then its colour from the table: at the
// frame's size every pixel comes out as the palette says, and OBS scales the frame by nearest
// neighbour as the player does (a scene item's scale filter, such as Area for a small corner,
// makes OBS draw the frame at its size first and scale that). One fetch of each, nothing more:
// under Mesa's llvmpipe every instruction here is the processor's, and blending the four nearest
// colours when drawn smaller cost nine per cent of a core.
constexpr const char* kPaletteEffect = R"(
uniform float4x4 ViewProj;
uniform texture2d image;
uniform texture2d palette;
uniform float2 size;

struct VertInOut {
    float4 pos : POSITION;
    float2 uv : TEXCOORD0;
};

VertInOut VSDefault(VertInOut vert_in)
{
    VertInOut vert_out;
    vert_out.pos = mul(float4(vert_in.pos.xyz, 1.0), ViewProj);
    vert_out.uv = vert_in.uv;
    return vert_out;
}

float4 PSPalette(VertInOut vert_in) : TARGET
{
    int2 pixel = int2(clamp(vert_in.uv * size, float2(0.0, 0.0), size - float2(1.0, 1.0)));
    float index = image.Load(int3(pixel, 0)).r;
    return palette.Load(int3(int(index * 255.0 + 0.5), 0, 0));
}

technique Draw
{
    pass
    {
        vertex_shader = VSDefault(vert_in);
        pixel_shader = PSPalette(vert_in);
    }
}
)";

}  // namespace

void FrameTexture::Upload(const hostkit::RenderedFrame& frame) {
    if (frame.width <= 0 || frame.height <= 0 ||
        frame.pixels.size() < static_cast<std::size_t>(frame.width) * frame.height)
        return;
    if (indices_ == nullptr || width_ != frame.width || height_ != frame.height) {
        if (indices_ != nullptr)
            gs_texture_destroy(indices_);
        indices_ =
            gs_texture_create(static_cast<uint32_t>(frame.width),
                              static_cast<uint32_t>(frame.height), GS_R8, 1, nullptr, GS_DYNAMIC);
        width_ = indices_ != nullptr ? frame.width : 0;
        height_ = indices_ != nullptr ? frame.height : 0;
    }
    if (palette_ == nullptr) {
        palette_ = gs_texture_create(256, 1, GS_BGRA, 1, nullptr, GS_DYNAMIC);
        paletteValid_ = false;
    }
    if (indices_ == nullptr || palette_ == nullptr)
        return;
    uint8_t* target = nullptr;
    uint32_t linesize = 0;
    if (gs_texture_map(indices_, &target, &linesize)) {
        for (int y = 0; y < frame.height; ++y) {
            std::memcpy(target + static_cast<std::size_t>(y) * linesize,
                        frame.pixels.data() + static_cast<std::size_t>(y) * frame.width,
                        static_cast<std::size_t>(frame.width));
        }
        gs_texture_unmap(indices_);
    }
    if (paletteValid_ &&
        std::memcmp(shownPalette_.data(), frame.palette.data(), sizeof shownPalette_) == 0)
        return;
    if (gs_texture_map(palette_, &target, &linesize)) {
        // 0xAARRGGBB words are B, G, R, A in memory: the table texture's BGRA.
        platform::detail::BuildLookup(frame.palette.data(),
                                      reinterpret_cast<std::uint32_t*>(target));
        gs_texture_unmap(palette_);
        shownPalette_ = frame.palette;
        paletteValid_ = true;
    }
}

bool FrameTexture::Draw() {
    if (indices_ == nullptr || !paletteValid_)
        return false;
    if (effect_ == nullptr && !effectFailed_) {
        char* error = nullptr;
        effect_ = gs_effect_create(kPaletteEffect, "quenari-tolvek-palette.effect", &error);
        if (effect_ == nullptr) {
            effectFailed_ = true;
            LogWarning(std::string("the palette effect does not compile: ") +
                       (error != nullptr ? error : "no reason given"));
        }
        bfree(error);
    }
    if (effect_ == nullptr)
        return false;
    vec2 size;
    vec2_set(&size, static_cast<float>(width_), static_cast<float>(height_));
    gs_effect_set_texture(gs_effect_get_param_by_name(effect_, "image"), indices_);
    gs_effect_set_texture(gs_effect_get_param_by_name(effect_, "palette"), palette_);
    gs_effect_set_vec2(gs_effect_get_param_by_name(effect_, "size"), &size);
    // The palette's bytes are the colours to show, as the player shows them: no sRGB decoding.
    const bool previous = gs_framebuffer_srgb_enabled();
    gs_enable_framebuffer_srgb(false);
    while (gs_effect_loop(effect_, "Draw"))
        gs_draw_sprite(indices_, 0, static_cast<uint32_t>(width_), static_cast<uint32_t>(height_));
    gs_enable_framebuffer_srgb(previous);
    return true;
}

void FrameTexture::Release() {
    if (indices_ != nullptr)
        gs_texture_destroy(indices_);
    if (palette_ != nullptr)
        gs_texture_destroy(palette_);
    if (effect_ != nullptr)
        gs_effect_destroy(effect_);
    indices_ = nullptr;
    palette_ = nullptr;
    effect_ = nullptr;
    width_ = 0;
    height_ = 0;
    paletteValid_ = false;
}

}  // namespace tolvek_obs
