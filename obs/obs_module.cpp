// The OBS module "quenari-tolvek": registers the "Quenari Tolvek" source, lists its properties,
// and ends the show when OBS unloads it.
#include <obs-module.h>

#include <climits>
#include <string>

#include "obs/show_slot.h"
#include "obs/tolvek_source.h"

OBS_DECLARE_MODULE()
OBS_MODULE_USE_DEFAULT_LOCALE("quenari-tolvek", "en-US")

namespace tolvek_obs {
namespace {

TolvekSource* Self(void* data) {
    return static_cast<TolvekSource*>(data);
}

bool AddAudioSource(void* param, obs_source_t* source) {
    auto* list = static_cast<obs_property_t*>(param);
    const uint32_t flags = obs_source_get_output_flags(source);
    const char* name = obs_source_get_name(source);
    if ((flags & OBS_SOURCE_AUDIO) != 0 && name != nullptr)
        obs_property_list_add_string(list, name, name);
    return true;
}

bool ClockToggled(obs_properties_t* properties, obs_property_t*, obs_data_t* settings) {
    obs_property_set_visible(obs_properties_get(properties, "clock_seconds"),
                             obs_data_get_bool(settings, "fixed_clock"));
    return true;
}

obs_properties_t* Properties(void*) {
    obs_properties_t* properties = obs_properties_create();
    obs_property_t* audio =
        obs_properties_add_list(properties, "audio_source", obs_module_text("AudioSource"),
                                OBS_COMBO_TYPE_LIST, OBS_COMBO_FORMAT_STRING);
    obs_property_list_add_string(audio, obs_module_text("DesktopAudio"), "");
    obs_enum_sources(&AddAudioSource, audio);

    obs_property_t* path =
        obs_properties_add_path(properties, "plugin_path", obs_module_text("PluginPath"),
                                OBS_PATH_FILE, "Visualization plug-ins (*.so)", nullptr);
    const std::string installed =
        std::string(obs_module_text("PluginPathEmpty")) + " " + TolvekSource::DefaultPluginPath();
    obs_property_set_long_description(path, installed.c_str());

    obs_property_t* fixed =
        obs_properties_add_bool(properties, "fixed_clock", obs_module_text("FixedClock"));
    obs_property_set_long_description(fixed, obs_module_text("FixedClockHint"));
    obs_property_set_modified_callback(fixed, &ClockToggled);
    obs_properties_add_int(properties, "clock_seconds", obs_module_text("ClockSeconds"), 0, INT_MAX,
                           1);
    return properties;
}

void Defaults(obs_data_t* settings) {
    obs_data_set_default_string(settings, "audio_source", "");
    obs_data_set_default_string(settings, "plugin_path", "");
    obs_data_set_default_bool(settings, "fixed_clock", false);
    obs_data_set_default_int(settings, "clock_seconds", 1234567890);
}

void ShowSlotTick(void*, float) {
    ShowSlot::Tick();
}

}  // namespace

obs_source_info SourceInfo() {
    obs_source_info info{};
    info.id = "quenari_tolvek_source";
    info.type = OBS_SOURCE_TYPE_INPUT;
    info.output_flags = OBS_SOURCE_VIDEO | OBS_SOURCE_CUSTOM_DRAW | OBS_SOURCE_INTERACTION;
    info.icon_type = OBS_ICON_TYPE_MEDIA;
    info.get_name = [](void*) { return obs_module_text("QuenariTolvek"); };
    info.create = [](obs_data_t* settings, obs_source_t* source) -> void* {
        return new TolvekSource(settings, source);
    };
    info.destroy = [](void* data) { delete Self(data); };
    info.get_width = [](void* data) { return Self(data)->Width(); };
    info.get_height = [](void* data) { return Self(data)->Height(); };
    info.get_defaults = &Defaults;
    info.get_properties = &Properties;
    info.update = [](void* data, obs_data_t* settings) { Self(data)->Update(settings); };
    info.show = [](void* data) { Self(data)->Shown(); };
    info.hide = [](void* data) { Self(data)->Hidden(); };
    info.video_tick = [](void* data, float seconds) { Self(data)->Tick(seconds); };
    info.video_render = [](void* data, gs_effect_t*) { Self(data)->Render(); };
    // Keys typed into OBS's Interact window of the source go to the show, as the player's do.
    info.key_click = [](void* data, const obs_key_event* event, bool up) {
        if (event != nullptr)
            Self(data)->KeyClicked(*event, up);
    };
    return info;
}

}  // namespace tolvek_obs

MODULE_EXPORT const char* obs_module_description(void) {
    return "The Quenari Tolvek show (vis_tolvek.so, or any visualization plug-in of the same "
           "interface) as a source, following one of OBS's audio sources.";
}

bool obs_module_load(void) {
    const obs_source_info info = tolvek_obs::SourceInfo();
    obs_register_source(&info);
    obs_add_tick_callback(&tolvek_obs::ShowSlotTick, nullptr);
    tolvek_obs::LogInfo("loaded; the plug-in by default: " +
                        tolvek_obs::TolvekSource::DefaultPluginPath());
    return true;
}

void obs_module_unload(void) {
    obs_remove_tick_callback(&tolvek_obs::ShowSlotTick, nullptr);
    tolvek_obs::ShowSlot::Shutdown();
}
