// Decoding through libsndfile into a bounded window of 16-bit frames.
#include "player/sound/file_track.h"

#include <sndfile.h>

#include <algorithm>
#include <cstring>
#include <filesystem>

#include "hostkit/waveform.h"

namespace player {
namespace {

constexpr int kMaxChannels = 8;
constexpr int kMinRate = 1000;
constexpr int kMaxRate = 768000;
constexpr int kChunkFrames = 4096;
// Seconds of decoded sound held; forward reads within this distance decode instead of seeking.
constexpr int kWindowSeconds = 8;

}  // namespace

std::unique_ptr<FileTrack> FileTrack::Open(const std::string& path, std::string* error) {
    // A named pipe would block the open for ever and a device could play without end; "-" (the
    // standard input, which libsndfile reads) is left to it.
    std::error_code statusError;
    const auto status = std::filesystem::status(path, statusError);
    if (std::filesystem::exists(status) && !std::filesystem::is_regular_file(status)) {
        *error = path + ": " +
                 (std::filesystem::is_directory(status) ? "is a folder" : "is not a regular file");
        return nullptr;
    }
    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    std::unique_ptr<FileTrack> track(new FileTrack());
    track->path_ = path;
    return Start(std::move(track), file, info.channels, info.samplerate, info.frames,
                 info.seekable != 0, error);
}

std::unique_ptr<FileTrack> FileTrack::Start(std::unique_ptr<FileTrack> track, SNDFILE* file,
                                            int channels, int sampleRate, std::int64_t frames,
                                            bool seekable, std::string* error) {
    const std::string& path = track->path_;
    if (file == nullptr) {
        *error = path + ": cannot be read: " + sf_strerror(nullptr);
        return nullptr;
    }
    track->file_ = file;
    if (channels < 1 || channels > kMaxChannels) {
        *error = path + ": " + std::to_string(channels) + " channels (1 to 8 are played)";
        return nullptr;
    }
    if (sampleRate < kMinRate || sampleRate > kMaxRate) {
        *error = path + ": sample rate " + std::to_string(sampleRate) +
                 " Hz is outside 1000 to 768000 Hz";
        return nullptr;
    }
    track->sampleRate_ = sampleRate;
    track->channels_ = channels;
    track->length_ = frames > 0 ? frames : 0;
    track->seekable_ = seekable;
    track->windowCapacity_ = static_cast<std::size_t>(sampleRate) * kWindowSeconds;
    track->window_.reserve(track->windowCapacity_ * track->storedChannels());
    track->scratch_.resize(static_cast<std::size_t>(kChunkFrames) * channels);
    // Float data beyond full scale is clipped by FloatToSample16, never wrapped.
    sf_command(file, SFC_SET_NORM_FLOAT, nullptr, SF_TRUE);
    if (track->length_ == 0 || !track->Decode(0, 1) || track->heldFrames() == 0) {
        *error = path + ": no sound could be decoded";
        return nullptr;
    }
    return track;
}

FileTrack::~FileTrack() {
    if (file_ != nullptr)
        sf_close(file_);
}

bool FileTrack::SeekTo(std::int64_t frame) {
    window_.clear();
    windowStart_ = frame;
    if (seekable_ && sf_seek(file_, frame, SEEK_SET) == frame)
        return true;
    // Without seeking, read from the start and drop what comes before the frame.
    if (sf_seek(file_, 0, SEEK_SET) != 0)
        return false;
    windowStart_ = 0;
    return true;
}

bool FileTrack::Decode(std::int64_t from, std::int64_t to) {
    const auto capacity = static_cast<std::int64_t>(windowCapacity_);
    const int stored = storedChannels();
    if (from < windowStart_ || from > windowEnd() + capacity / 2) {
        if (!SeekTo(from))
            return false;
    }
    while (windowEnd() < to) {
        sf_count_t got = sf_readf_float(file_, scratch_.data(), kChunkFrames);
        if (got <= 0) {
            // The decoder ended before the length the file announced.
            length_ = windowEnd();
            break;
        }
        const std::size_t end = window_.size();
        window_.resize(end + static_cast<std::size_t>(got) * stored);
        std::int16_t* out = window_.data() + end;
        for (sf_count_t f = 0; f < got; ++f) {
            const float* frame = scratch_.data() + f * channels_;
            for (int c = 0; c < stored; ++c)
                *out++ = hostkit::FloatToSample16(frame[c]);
        }
        // Keep the window bounded: drop the oldest frames that are not asked for.
        std::int64_t held = static_cast<std::int64_t>(heldFrames());
        if (held > capacity) {
            std::int64_t drop =
                std::min(held - capacity * 3 / 4, std::max<std::int64_t>(from - windowStart_, 0));
            if (drop == 0 && held > capacity + kChunkFrames)
                drop = held - capacity;
            window_.erase(window_.begin(), window_.begin() + drop * stored);
            windowStart_ += drop;
        }
    }
    return windowEnd() > from || windowEnd() >= to;
}

int FileTrack::Read(std::int64_t start, int count, std::int16_t* out) {
    const int stored = storedChannels();
    std::fill(out, out + static_cast<std::ptrdiff_t>(count) * stored, std::int16_t{0});
    std::int64_t from = std::max<std::int64_t>(start, 0);
    std::int64_t to = std::min<std::int64_t>(start + count, length_);
    if (to <= from)
        return 0;
    Decode(from, to);
    from = std::max(from, windowStart_);
    to = std::min(to, windowEnd());
    if (to <= from)
        return 0;
    std::memcpy(out + (from - start) * stored, window_.data() + (from - windowStart_) * stored,
                static_cast<std::size_t>((to - from) * stored) * sizeof(std::int16_t));
    return static_cast<int>(to - from);
}

}  // namespace player
