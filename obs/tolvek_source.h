// The OBS source "Quenari Tolvek": hosts the visualization plug-in in a scene, fed by one of
// OBS's audio sources, through the host kit's embedded show. Which thread calls what:
//   OBS's UI thread           create, update, properties, KeyClicked (the Interact window)
//   the listened source's     the capture callback: the samples go into the ring, nothing else
//     audio (any thread)
//   OBS's video thread        Shown, Hidden, Tick: the show's Init, turns and Quit, the texture
//   whoever renders, under    Render: draws the texture and the notice, nothing more
//     the graphics lock
//   OBS's destruction thread  the destructor: stops listening, gives the show up
#pragma once

#include <obs.h>

#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "obs/frame_texture.h"
#include "obs/notice_text.h"
#include "obs/source_sound.h"

namespace tolvek_obs {

struct SourceSettings {
    std::string audioSource;  // empty: the desktop audio
    std::string pluginPath;   // empty: the plug-in installed with this source
    bool fixedClock = false;
    long long clockSeconds = 0;
};

class TolvekSource {
  public:
    TolvekSource(obs_data_t* settings, obs_source_t* source);
    ~TolvekSource();
    TolvekSource(const TolvekSource&) = delete;
    TolvekSource& operator=(const TolvekSource&) = delete;

    void Update(obs_data_t* settings);
    void Shown();
    void Hidden();
    void Tick(float seconds);
    void Render();
    void KeyClicked(const obs_key_event& event, bool up);
    uint32_t Width() const;
    uint32_t Height() const;

    // The plug-in installed beside this module.
    static std::string DefaultPluginPath();

  private:
    static void Captured(void* param, obs_source_t* source, const audio_data* audio, bool muted);
    void TickShow(float seconds);
    void ApplySettings();
    void CheckListening(float seconds);
    void Listen(const std::string& name);
    void StopListening();
    bool StartShow();
    void RunTurns(float seconds);
    void SendKeys();
    std::string Name() const;
    // Under the graphics lock, so a render elsewhere never sees half a change.
    void SetNotice(const std::string& text, bool drawShow);

    obs_source_t* source_;

    std::mutex settingsMutex_;  // settings_ and settingsVersion_: written on the UI thread
    SourceSettings settings_;
    int settingsVersion_ = 0;

    std::mutex keysMutex_;  // keys typed in OBS's Interact window, for the next tick
    std::vector<std::pair<WPARAM, bool>> keys_;

    SourceSound sound_;

    // The video thread's own.
    SourceSettings applied_;
    int appliedVersion_ = -1;
    obs_weak_source_t* listened_ = nullptr;
    obs_source_t* listenedRaw_ = nullptr;  // compared only, never used
    float sinceListenCheck_ = 0;
    bool shown_ = false;
    bool startFailed_ = false;
    bool ended_ = false;
    double dueMs_ = 0;
    int uploadedPresent_ = -1;
    std::vector<WPARAM> keysDown_;

    // Drawn by Render; changed only under the graphics lock.
    FrameTexture texture_;
    NoticeText notice_;
    bool drawShow_ = false;
};

// The source's description for obs_register_source.
obs_source_info SourceInfo();

}  // namespace tolvek_obs
