// The entries of a playlist end to end, read through one open entry at a time.
#include "player/sound/playlist_track.h"

#include <algorithm>

namespace player {

std::unique_ptr<PlaylistTrack> PlaylistTrack::Open(
    const std::vector<std::string>& names, Opener opener,
    const std::function<void(const std::string&)>& report) {
    std::unique_ptr<PlaylistTrack> list(new PlaylistTrack());
    for (const std::string& name : names) {
        std::string error;
        std::unique_ptr<hostkit::SoundTrack> track = opener(name, &error);
        if (track == nullptr) {
            report(error);
            continue;
        }
        if (list->parts_.empty()) {
            list->sampleRate_ = track->sampleRate();
        } else if (track->sampleRate() != list->sampleRate_) {
            report(name + ": " + std::to_string(track->sampleRate()) +
                   " Hz, but the video's sound is " + std::to_string(list->sampleRate_) +
                   " Hz (from the first file); left out");
            continue;
        }
        if (track->lengthFrames() <= 0) {
            report(name + ": holds no sound; left out");
            continue;
        }
        if (track->storedChannels() == 2)
            list->channels_ = 2;
        list->parts_.push_back({name, list->length_, track->lengthFrames()});
        list->length_ += track->lengthFrames();
    }
    if (list->parts_.empty())
        return nullptr;
    list->name_ = std::to_string(list->parts_.size()) + " files from " + list->parts_.front().name;
    list->opener_ = std::move(opener);
    return list;
}

hostkit::SoundTrack* PlaylistTrack::PartTrack(std::size_t index) {
    if (open_ == nullptr || openIndex_ != index) {
        std::string ignored;
        open_ = opener_(parts_[index].name, &ignored);
        openIndex_ = index;
    }
    return open_.get();
}

int PlaylistTrack::Read(std::int64_t start, int count, std::int16_t* out) {
    const int stored = storedChannels();
    std::fill(out, out + static_cast<std::ptrdiff_t>(count) * stored, std::int16_t{0});
    int real = 0;
    int done = 0;
    // Frames before the start are silence.
    if (start < 0) {
        done = static_cast<int>(std::min<std::int64_t>(count, -start));
    }
    while (done < count) {
        const std::int64_t frame = start + done;
        if (frame >= length_)
            break;
        // The last part starting at or before the frame.
        auto part = std::upper_bound(parts_.begin(), parts_.end(), frame,
                                     [](std::int64_t f, const Part& p) { return f < p.start; });
        const std::size_t index = static_cast<std::size_t>(part - parts_.begin()) - 1;
        const Part& piece = parts_[index];
        const int take = static_cast<int>(
            std::min<std::int64_t>(count - done, piece.start + piece.length - frame));
        if (take <= 0)
            break;
        std::int16_t* at = out + static_cast<std::ptrdiff_t>(done) * stored;
        if (hostkit::SoundTrack* track = PartTrack(index)) {
            if (track->storedChannels() == stored) {
                real += track->Read(frame - piece.start, take, at);
            } else {
                // A mono entry in a stereo list: its one channel on both.
                mono_.resize(static_cast<std::size_t>(take));
                real += track->Read(frame - piece.start, take, mono_.data());
                for (int i = 0; i < take; ++i) {
                    at[2 * i] = mono_[static_cast<std::size_t>(i)];
                    at[2 * i + 1] = mono_[static_cast<std::size_t>(i)];
                }
            }
        }
        done += take;
    }
    return real;
}

}  // namespace player
