// A playlist as one long sound, for `tolvek render`'s one video of many files.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "hostkit/sound_track.h"

namespace player {

class PlaylistTrack : public hostkit::SoundTrack {
  public:
    using Opener =
        std::function<std::unique_ptr<hostkit::SoundTrack>(const std::string&, std::string*)>;

    // Opens every entry once to learn its length. Entries that cannot be read, or whose rate
    // differs from the first readable one's (one video has one sound rate), are left out with a
    // line each to `report`. Null when none is left. Mono entries play on both channels when
    // any entry is stereo. Only one entry is held open at a time.
    static std::unique_ptr<PlaylistTrack> Open(
        const std::vector<std::string>& names, Opener opener,
        const std::function<void(const std::string&)>& report);

    const std::string& name() const override { return name_; }
    int sampleRate() const override { return sampleRate_; }
    int sourceChannels() const override { return channels_; }
    std::int64_t lengthFrames() const override { return length_; }
    int Read(std::int64_t start, int count, std::int16_t* out) override;

    int parts() const { return static_cast<int>(parts_.size()); }

  private:
    struct Part {
        std::string name;
        std::int64_t start = 0;
        std::int64_t length = 0;
    };

    PlaylistTrack() = default;
    // The open track of part `index`, opened again when another part was open; null when it
    // no longer opens (its frames are then silence).
    hostkit::SoundTrack* PartTrack(std::size_t index);

    std::string name_;
    int sampleRate_ = 0;
    int channels_ = 1;
    std::int64_t length_ = 0;
    std::vector<Part> parts_;
    Opener opener_;
    std::unique_ptr<hostkit::SoundTrack> open_;
    std::size_t openIndex_ = 0;
    std::vector<std::int16_t> mono_;
};

}  // namespace player
