// The notice through a private text source.
#include "obs/notice_text.h"

#include <graphics/matrix4.h>
#include <graphics/vec4.h>

#include <algorithm>

namespace tolvek_obs {
namespace {

constexpr int kMargin = 16;
constexpr int kPadding = 10;
constexpr int kTextWidth = 640 - 2 * (kMargin + kPadding);
// Dark red, as OBS packs a colour: 0xAABBGGRR.
constexpr uint32_t kBoxColour = 0xFF1C1C40;

void FillBox(float x, float y, float width, float height, uint32_t argb) {
    gs_effect_t* solid = obs_get_base_effect(OBS_EFFECT_SOLID);
    vec4 colour;
    vec4_from_rgba(&colour, argb);
    gs_effect_set_vec4(gs_effect_get_param_by_name(solid, "color"), &colour);
    gs_matrix_push();
    gs_matrix_translate3f(x, y, 0.0f);
    while (gs_effect_loop(solid, "Solid"))
        gs_draw_sprite(nullptr, 0, static_cast<uint32_t>(width), static_cast<uint32_t>(height));
    gs_matrix_pop();
}

}  // namespace

NoticeText::NoticeText() {
    obs_data_t* settings = obs_data_create();
    obs_data_t* font = obs_data_create();
    obs_data_set_string(font, "face", "Sans Serif");
    obs_data_set_int(font, "size", 22);
    obs_data_set_obj(settings, "font", font);
    obs_data_release(font);
    obs_data_set_bool(settings, "word_wrap", true);
    obs_data_set_int(settings, "custom_width", kTextWidth);
    obs_data_set_int(settings, "color1", 0xFFFFFFFF);
    obs_data_set_int(settings, "color2", 0xFFFFFFFF);
    obs_data_set_string(settings, "text", " ");
    source_ = obs_source_create_private("text_ft2_source_v2", "Quenari Tolvek notice", settings);
    obs_data_release(settings);
}

NoticeText::~NoticeText() {
    obs_source_release(source_);
}

void NoticeText::Set(const std::string& text) {
    if (text == text_)
        return;
    text_ = text;
    if (source_ == nullptr)
        return;
    obs_data_t* settings = obs_data_create();
    obs_data_set_string(settings, "text", text.empty() ? " " : text.c_str());
    obs_source_update(source_, settings);
    obs_data_release(settings);
}

void NoticeText::Render(int width, int height) const {
    if (text_.empty())
        return;
    // The text's own size; without OBS's text source (obs-plugins missing) only the box shows.
    float textWidth = source_ != nullptr ? static_cast<float>(obs_source_get_width(source_)) : 0;
    float textHeight = source_ != nullptr ? static_cast<float>(obs_source_get_height(source_)) : 0;
    if (textWidth <= 0 || textHeight <= 0) {
        textWidth = static_cast<float>(kTextWidth);
        textHeight = 24.0f;
    }
    const float room = static_cast<float>(std::max(1, width - 2 * (kMargin + kPadding)));
    const float roomHeight = static_cast<float>(std::max(1, height - 2 * (kMargin + kPadding)));
    const float scale = std::min({1.0f, room / textWidth, roomHeight / textHeight});
    const float boxWidth = textWidth * scale + 2 * kPadding;
    const float boxHeight = textHeight * scale + 2 * kPadding;
    const float x = (static_cast<float>(width) - boxWidth) / 2;
    const float y = static_cast<float>(kMargin);
    gs_blend_state_push();
    gs_blend_function(GS_BLEND_ONE, GS_BLEND_ZERO);
    FillBox(x, y, boxWidth, boxHeight, kBoxColour);
    if (source_ != nullptr) {
        gs_blend_function_separate(GS_BLEND_SRCALPHA, GS_BLEND_INVSRCALPHA, GS_BLEND_ONE,
                                   GS_BLEND_INVSRCALPHA);
        gs_matrix_push();
        gs_matrix_translate3f(x + kPadding, y + kPadding, 0.0f);
        gs_matrix_scale3f(scale, scale, 1.0f);
        obs_source_video_render(source_);
        gs_matrix_pop();
    }
    gs_blend_state_pop();
}

}  // namespace tolvek_obs
