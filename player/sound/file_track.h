// A sound file read through libsndfile, decoded a few seconds at a time around where it is read.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "hostkit/sound_track.h"

struct sf_private_tag;

namespace player {

class FileTrack : public hostkit::SoundTrack {
  public:
    // Opens and decodes the start of the file; null with a one-line reason when it cannot be
    // played (not a sound file, no channels, an unusable rate, nothing decodable).
    static std::unique_ptr<FileTrack> Open(const std::string& path, std::string* error);
    // The same over a copy of bytes in memory (file_track_bytes.cpp); name is used in messages.
    static std::unique_ptr<FileTrack> OpenBytes(std::string_view bytes, const std::string& name,
                                                std::string* error);
    ~FileTrack() override;
    FileTrack(const FileTrack&) = delete;
    FileTrack& operator=(const FileTrack&) = delete;

    const std::string& name() const override { return path_; }
    int sampleRate() const override { return sampleRate_; }
    int sourceChannels() const override { return channels_; }
    std::int64_t lengthFrames() const override { return length_; }
    int Read(std::int64_t start, int count, std::int16_t* out) override;

    // Frames of decoded sound held at most, whatever the file's length.
    std::size_t windowCapacityFrames() const { return windowCapacity_; }
    std::size_t heldFrames() const { return window_.size() / storedChannels(); }

  private:
    FileTrack() = default;
    // Takes an opened file (null: it could not be opened), checks its shape and decodes its start.
    static std::unique_ptr<FileTrack> Start(std::unique_ptr<FileTrack> track, sf_private_tag* file,
                                            int channels, int sampleRate, std::int64_t frames,
                                            bool seekable, std::string* error);
    // Makes [from, to) decoded and held; false when the decoder cannot get there.
    bool Decode(std::int64_t from, std::int64_t to);
    bool SeekTo(std::int64_t frame);
    std::int64_t windowEnd() const {
        return windowStart_ + static_cast<std::int64_t>(heldFrames());
    }

    std::string path_;
    std::shared_ptr<void> bytes_;  // what a track opened over bytes reads from
    sf_private_tag* file_ = nullptr;
    int sampleRate_ = 0;
    int channels_ = 0;
    std::int64_t length_ = 0;
    bool seekable_ = true;
    std::vector<std::int16_t> window_;  // decoded frames from windowStart_
    std::int64_t windowStart_ = 0;
    std::size_t windowCapacity_ = 0;
    std::vector<float> scratch_;
};

}  // namespace player
