// The stretch of sound a rendered video covers, written as a 16-bit WAV file for ffmpeg to mux.
#pragma once

#include <cstdint>
#include <string>

namespace hostkit {
class SoundTrack;
}  // namespace hostkit

namespace player {

// Writes frames [start, end) of `track` (null: stereo silence at 44100 Hz) at its own rate, with
// the channels the show was handed. Returns an empty string or one line naming the problem.
std::string WriteSoundExcerpt(const std::string& path, hostkit::SoundTrack* track,
                              std::int64_t start, std::int64_t end);

// A fresh folder under the temporary folder, removed with its contents when destroyed.
class TemporaryFolder {
  public:
    TemporaryFolder();
    ~TemporaryFolder();
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;

    // Empty when the folder could not be made.
    const std::string& path() const { return path_; }

  private:
    std::string path_;
};

}  // namespace player
