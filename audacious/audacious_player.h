// Audacious's side of the hosting, the same in its GTK and its Qt mode: its transport, its
// settings, its main loop's timer and the sound it hands its visualizations.
#pragma once

#include <libaudcore/mainloop.h>

#include <cstdio>
#include <string>

#include "audacious/show_controller.h"

namespace audacious {

// The settings section, shared by both builds.
inline constexpr const char* kSection = "quenari-tolvek";

class AudaciousPlayer : public HostPlayer {
  public:
    bool Playing() override;
    hostkit::SoundFormat Format() override;
    hostkit::SoundRing& Ring() override { return ring_; }
    void Act(hostkit::PlayerCommand command) override;
    std::string PluginPath() override;
    bool FullScreenOnStart() override;
    std::string PicturesFolder() override;
    void StartTimer(int intervalMs, std::function<void()> tick) override;
    void StopTimer() override;
    void Rendered(int frame, const winampVisModule& module) override;
    void Note(const std::string& line) override;

    // The plug-in enabled and disabled.
    void Init();
    void Cleanup();

  private:
    // A few blocks: only the newest is shown.
    hostkit::SoundRing ring_{4 * kAudaciousBlockFrames};
    QueuedFunc timer_;
    // With TOLVEK_AUDACIOUS_LOG set, the record the real-client test reads.
    std::FILE* log_ = nullptr;
};

}  // namespace audacious
