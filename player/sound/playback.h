// Playing a list of sound tracks: transport, volume, feeding the device and the moment being
// heard, which the waveform handed to the plug-in follows.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "hostkit/play_order.h"
#include "hostkit/sound_track.h"
#include "hostkit/waveform.h"

namespace player {

class AudioOutput;

enum class Transport { Playing, Paused, Stopped };

using TrackOpener = std::function<std::unique_ptr<hostkit::SoundTrack>(const std::string& name,
                                                                       std::string* error)>;
// Seconds from any fixed origin; the steady clock in the player, a counter in tests.
using SecondsClock = std::function<double()>;

class Playback {
  public:
    // `output` may be null or fail to open: the sound is then followed on `clock` without being
    // played. `loop` repeats a single track (the built-in tune) instead of stopping at its end.
    Playback(std::vector<std::string> names, TrackOpener opener, AudioOutput* output,
             SecondsClock clock, std::function<void(const std::string&)> report, bool loop);
    ~Playback();

    // Opens the first playable entry and plays it; false when none can be played.
    bool Start();
    // Keeps the device fed and moves on at the end of a track. Call once per host loop turn.
    void Update();
    // The 576 frames at the moment being heard plus `aheadMs` (silence when stopped).
    hostkit::SoundWindow WindowAt(int aheadMs);

    void Play();
    void Pause();
    void TogglePause();
    void Stop();
    void Next();
    void Previous();
    void SeekSeconds(double seconds);
    void ChangeVolume(int percent);

    // Shuffle plays every entry once a round in an order of its own, the playing one first;
    // repeat starts another round after the last entry instead of stopping.
    void SetShuffle(bool shuffle) { order_.SetShuffle(shuffle); }
    void SetRepeat(bool repeat) { order_.SetRepeat(repeat); }
    bool shuffle() const { return order_.shuffle(); }
    bool repeat() const { return order_.repeat(); }
    // Seeds the shuffle order, for tests; otherwise it differs every run.
    void SeedShuffle(unsigned seed) { order_.Seed(seed); }
    // Entries joining the list (files dropped on the show): after the others, or spread among
    // the rest of the round when shuffling. When nothing is playing (the list played out or was
    // stopped) the first of them that opens starts. The built-in tune is replaced by them only
    // once one of them opened, and goes on when none does. Returns how many joined (0 then).
    int Add(const std::vector<std::string>& names);
    // Entry positions in playing order for this round, and where the playing one stands.
    const std::vector<int>& order() const { return order_.order(); }
    int position() const { return order_.position(); }
    const std::vector<std::string>& names() const { return names_; }

    Transport transport() const { return transport_; }
    const hostkit::SoundTrack* track() const { return track_.get(); }
    // Every entry played through or none left that can be read.
    bool finished() const { return finished_; }
    bool playsOnDevice() const;
    std::int64_t heardFrame() const;
    double positionSeconds() const;
    int volumePercent() const { return volumePercent_; }
    int sampleRate() const;
    int sourceChannels() const;

  private:
    // Opens the entry at `position` of the order or, skipping unreadable ones, the next the
    // walk comes to; false when none opened.
    bool OpenWalk(int position, hostkit::PlayOrder::Walk walk);
    // Opens one entry's track; null (and the reason reported) when it cannot be played.
    std::unique_ptr<hostkit::SoundTrack> OpenEntry(const std::string& name);
    // Makes `track` the playing one.
    void Adopt(std::unique_ptr<hostkit::SoundTrack> track);
    int ReplaceTune(const std::vector<std::string>& names);
    // The next entry after the playing one, starting a new round when repeating.
    bool OpenNext();
    // Makes `frame` of the current track the next thing heard.
    void RestartAt(std::int64_t frame);
    void Feed();
    void UpdateClock();
    std::int64_t Wrap(std::int64_t frame) const;
    void ReadWrapped(std::int64_t frame, int count, std::int16_t* out);

    std::vector<std::string> names_;
    TrackOpener opener_;
    AudioOutput* output_;
    SecondsClock clock_;
    std::function<void(const std::string&)> report_;
    bool loop_;

    std::unique_ptr<hostkit::SoundTrack> track_;
    hostkit::PlayOrder order_;  // the host kit's, which the page's list walks too
    Transport transport_ = Transport::Stopped;
    bool finished_ = false;
    bool deviceOpen_ = false;
    bool deviceReported_ = false;
    int volumePercent_ = 100;

    std::int64_t restartFrame_ = 0;  // the track frame heard first after the last restart
    std::int64_t heldFrame_ = 0;     // where a paused or stopped track rests
    double restartTime_ = 0.0;
    std::int64_t queuedFrames_ = 0;  // frames handed to the device since the restart
    double anchorTime_ = 0.0;        // the smoothed device clock: frames heard at anchorTime_
    double anchorFrames_ = 0.0;
    std::vector<std::int16_t> window_;
    std::vector<std::int16_t> feed_;
};

}  // namespace player
