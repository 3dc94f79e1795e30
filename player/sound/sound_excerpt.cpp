// Writing a stretch of sound through libsndfile.
#include "player/sound/sound_excerpt.h"

#include <sndfile.h>
#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <vector>

#include "hostkit/sound_track.h"
#include "player/render/offline_client.h"

namespace player {
namespace {

constexpr int kChunkFrames = 65536;

}  // namespace

std::string WriteSoundExcerpt(const std::string& path, hostkit::SoundTrack* track,
                              std::int64_t start, std::int64_t end) {
    SF_INFO info{};
    info.samplerate = track != nullptr ? track->sampleRate() : kSilenceSampleRate;
    info.channels = track != nullptr ? track->storedChannels() : kSilenceChannels;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    std::unique_ptr<SNDFILE, int (*)(SNDFILE*)> file(sf_open(path.c_str(), SFM_WRITE, &info),
                                                     &sf_close);
    if (!file)
        return path + ": cannot be written: " + sf_strerror(nullptr);
    std::vector<std::int16_t> chunk(static_cast<std::size_t>(kChunkFrames) * info.channels, 0);
    for (std::int64_t at = start; at < end; at += kChunkFrames) {
        const int count = static_cast<int>(std::min<std::int64_t>(kChunkFrames, end - at));
        if (track != nullptr)
            track->Read(at, count, chunk.data());
        if (sf_writef_short(file.get(), chunk.data(), count) != count)
            return path + ": cannot be written: " + sf_strerror(file.get());
    }
    return {};
}

TemporaryFolder::TemporaryFolder() {
    std::error_code error;
    std::string pattern =
        (std::filesystem::temp_directory_path(error) / "tolvek-render-XXXXXX").string();
    if (!error && mkdtemp(pattern.data()) != nullptr)
        path_ = pattern;
}

TemporaryFolder::~TemporaryFolder() {
    if (path_.empty())
        return;
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

}  // namespace player
