// Sound files written for the tests through libsndfile, in a scratch folder of their own.
#pragma once

#include <cstdio>
#include <functional>
#include <string>

namespace player_testing {

// A fresh folder under the system's temporary folder, removed with everything in it.
class ScratchFolder {
  public:
    // `inMemory`: in /dev/shm where there is one, for trees of many folders.
    explicit ScratchFolder(bool inMemory = false);
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    std::string Path(const std::string& name) const { return path_ + "/" + name; }

  private:
    std::string path_;
};

// Everything written to `file` so far (it is rewound first).
std::string ReadWholeFile(std::FILE* file);

// Writes `frames` frames where sample(frame, channel) gives the value in -1..1; `format` is a
// libsndfile format such as SF_FORMAT_WAV | SF_FORMAT_PCM_16. Returns an error, empty on success.
std::string WriteSoundFile(const std::string& path, int format, int sampleRate, int channels,
                           long frames, const std::function<double(long, int)>& sample);

// Writes raw 16-bit values exactly (no scaling), interleaved.
std::string WriteSamples16(const std::string& path, int sampleRate, int channels, long frames,
                           const std::function<short(long, int)>& sample);

}  // namespace player_testing
