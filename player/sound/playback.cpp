// Transport, device feeding and the heard-position clock of the playing track.
#include "player/sound/playback.h"

#include <algorithm>
#include <cmath>
#include <iterator>

#include "player/sound/audio_output.h"

namespace player {
namespace {

// Sound kept queued ahead of the device: enough to ride out a slow frame.
constexpr double kQueueAheadSeconds = 0.15;
constexpr int kFeedChunkFrames = 1024;
// Beyond this error the smoothed device clock jumps instead of gliding.
constexpr double kClockJumpSeconds = 0.08;
constexpr double kClockGlide = 0.05;

}  // namespace

Playback::Playback(std::vector<std::string> names, TrackOpener opener, AudioOutput* output,
                   SecondsClock clock, std::function<void(const std::string&)> report, bool loop)
    : names_(std::move(names)),
      opener_(std::move(opener)),
      output_(output),
      clock_(std::move(clock)),
      report_(std::move(report)),
      loop_(loop),
      order_(static_cast<int>(names_.size())),
      window_(static_cast<std::size_t>(kWaveformSamples) * 2),
      feed_(static_cast<std::size_t>(kFeedChunkFrames) * 2) {}

Playback::~Playback() = default;

bool Playback::Start() {
    if (!OpenWalk(order_.First(), hostkit::PlayOrder::Walk::Forward)) {
        finished_ = true;
        return false;
    }
    transport_ = Transport::Playing;
    RestartAt(0);
    return true;
}

bool Playback::OpenWalk(int position, hostkit::PlayOrder::Walk walk) {
    for (int p = position; p >= 0; p = order_.Failed(p, walk)) {
        std::unique_ptr<hostkit::SoundTrack> track =
            OpenEntry(names_[static_cast<std::size_t>(order_.EntryAt(p))]);
        if (track == nullptr)
            continue;
        order_.Opened(p);
        Adopt(std::move(track));
        return true;
    }
    return false;
}

std::unique_ptr<hostkit::SoundTrack> Playback::OpenEntry(const std::string& name) {
    std::string error;
    std::unique_ptr<hostkit::SoundTrack> track = opener_(name, &error);
    if (track == nullptr)
        report_(error);
    return track;
}

void Playback::Adopt(std::unique_ptr<hostkit::SoundTrack> track) {
    track_ = std::move(track);
    deviceOpen_ = false;
    if (output_ != nullptr) {
        std::string why;
        deviceOpen_ = output_->Open(track_->sampleRate(), track_->storedChannels(), &why);
        if (!deviceOpen_ && !deviceReported_) {
            report_("no sound device (" + why + "): the show follows the sound without playing it");
            deviceReported_ = true;
        }
    }
}

bool Playback::OpenNext() {
    return OpenWalk(order_.Next(), hostkit::PlayOrder::Walk::Onward);
}

int Playback::Add(const std::vector<std::string>& names) {
    if (names.empty())
        return 0;
    if (loop_)
        return ReplaceTune(names);
    const bool idle = track_ == nullptr || finished_ || transport_ == Transport::Stopped;
    names_.insert(names_.end(), names.begin(), names.end());
    const int start = order_.Append(static_cast<int>(names.size()), idle);
    if (!idle)
        return static_cast<int>(names.size());
    if (OpenWalk(start, hostkit::PlayOrder::Walk::Forward)) {
        finished_ = false;
        transport_ = Transport::Playing;
        RestartAt(0);
    }
    return static_cast<int>(names.size());
}

int Playback::ReplaceTune(const std::vector<std::string>& names) {
    // The tune goes only once something dropped has opened: a picture or a broken file dropped
    // on it must not leave the show in silence.
    std::vector<bool> unplayable(names.size(), false);
    std::unique_ptr<hostkit::SoundTrack> opened;
    int entry = 0;
    for (; entry < static_cast<int>(names.size()); ++entry) {
        opened = OpenEntry(names[static_cast<std::size_t>(entry)]);
        if (opened != nullptr)
            break;
        unplayable[static_cast<std::size_t>(entry)] = true;
    }
    if (opened == nullptr)
        return 0;
    loop_ = false;
    names_ = names;
    // The one that opened plays first of the round when shuffling.
    order_.Renew(static_cast<int>(names_.size()), entry, unplayable);
    Adopt(std::move(opened));
    finished_ = false;
    transport_ = Transport::Playing;
    RestartAt(0);
    return static_cast<int>(names.size());
}

bool Playback::playsOnDevice() const {
    return deviceOpen_ && output_ != nullptr;
}

int Playback::sampleRate() const {
    return track_ != nullptr ? track_->sampleRate() : 44100;
}

int Playback::sourceChannels() const {
    return track_ != nullptr ? track_->sourceChannels() : 2;
}

std::int64_t Playback::Wrap(std::int64_t frame) const {
    std::int64_t length = track_ != nullptr ? track_->lengthFrames() : 0;
    if (!loop_ || length <= 0 || frame < length)
        return frame;
    return frame % length;
}

void Playback::RestartAt(std::int64_t frame) {
    restartFrame_ = frame;
    heldFrame_ = frame;
    restartTime_ = clock_();
    queuedFrames_ = 0;
    if (playsOnDevice()) {
        output_->Clear();
        // Nothing is heard until the device's own buffers have played out.
        anchorTime_ = restartTime_;
        anchorFrames_ = -static_cast<double>(output_->DeviceLatencyFrames());
        if (transport_ == Transport::Playing)
            Feed();
    }
}

void Playback::Feed() {
    if (track_ == nullptr)
        return;
    const int stored = track_->storedChannels();
    const auto ahead = static_cast<int>(kQueueAheadSeconds * track_->sampleRate());
    while (output_->QueuedFrames() < ahead) {
        std::int64_t frame = restartFrame_ + queuedFrames_;
        int count = kFeedChunkFrames;
        if (!loop_) {
            std::int64_t left = track_->lengthFrames() - frame;
            if (left <= 0)
                return;
            count = static_cast<int>(std::min<std::int64_t>(count, left));
        }
        ReadWrapped(frame, count, feed_.data());
        for (int i = 0; i < count * stored; ++i) {
            auto& sample = feed_[static_cast<std::size_t>(i)];
            sample = static_cast<std::int16_t>(sample * volumePercent_ / 100);
        }
        output_->Queue(feed_.data(), count);
        queuedFrames_ += count;
    }
}

void Playback::UpdateClock() {
    if (!playsOnDevice() || transport_ != Transport::Playing)
        return;
    const double now = clock_();
    const int buffer = output_->bufferFrames();
    // The device takes whole buffers: halfway through one is the best guess between takes.
    double raw = static_cast<double>(queuedFrames_ - output_->QueuedFrames() -
                                     output_->DeviceLatencyFrames()) +
                 buffer / 2.0;
    const double rate = track_->sampleRate();
    double predicted = anchorFrames_ + (now - anchorTime_) * rate;
    double error = raw - predicted;
    anchorTime_ = now;
    anchorFrames_ =
        std::abs(error) > kClockJumpSeconds * rate ? raw : predicted + error * kClockGlide;
}

std::int64_t Playback::heardFrame() const {
    if (track_ == nullptr)
        return 0;
    if (transport_ != Transport::Playing)
        return heldFrame_;
    const double now = clock_();
    const double rate = track_->sampleRate();
    double heard =
        playsOnDevice() ? anchorFrames_ + (now - anchorTime_) * rate : (now - restartTime_) * rate;
    // Never ahead of what was handed to the device.
    if (playsOnDevice())
        heard = std::min(heard, static_cast<double>(queuedFrames_));
    return Wrap(restartFrame_ + static_cast<std::int64_t>(std::floor(heard)));
}

double Playback::positionSeconds() const {
    if (track_ == nullptr)
        return 0.0;
    return static_cast<double>(std::max<std::int64_t>(heardFrame(), 0)) / track_->sampleRate();
}

void Playback::Update() {
    if (track_ == nullptr || transport_ != Transport::Playing)
        return;
    if (playsOnDevice()) {
        Feed();
        UpdateClock();
    }
    if (!loop_ && heardFrame() >= track_->lengthFrames()) {
        if (OpenNext()) {
            RestartAt(0);
        } else {
            finished_ = true;
            heldFrame_ = track_->lengthFrames();
            transport_ = Transport::Stopped;
            if (playsOnDevice())
                output_->Clear();
        }
    }
}

void Playback::ReadWrapped(std::int64_t frame, int count, std::int16_t* out) {
    const int stored = track_->storedChannels();
    const std::int64_t length = track_->lengthFrames();
    frame = Wrap(frame);
    if (loop_ && length > 0 && frame >= 0 && frame + count > length) {
        int first = static_cast<int>(length - frame);
        track_->Read(frame, first, out);
        ReadWrapped(0, count - first, out + static_cast<std::ptrdiff_t>(first) * stored);
        return;
    }
    track_->Read(frame, count, out);
}

hostkit::SoundWindow Playback::WindowAt(int aheadMs) {
    if (track_ == nullptr || transport_ == Transport::Stopped)
        return hostkit::SoundWindow{};
    const int stored = track_->storedChannels();
    std::int64_t frame =
        heardFrame() + static_cast<std::int64_t>(aheadMs) * track_->sampleRate() / 1000;
    ReadWrapped(frame, kWaveformSamples, window_.data());
    return hostkit::SoundWindow{window_.data(), kWaveformSamples, stored};
}

void Playback::Play() {
    if (track_ == nullptr)
        return;
    if (transport_ == Transport::Playing)
        return;
    if (finished_) {
        finished_ = false;
        order_.Reshuffle();
        if (!OpenWalk(order_.First(), hostkit::PlayOrder::Walk::Forward)) {
            finished_ = true;
            return;
        }
        heldFrame_ = 0;
    }
    transport_ = Transport::Playing;
    RestartAt(heldFrame_);
}

void Playback::Pause() {
    if (transport_ != Transport::Playing)
        return;
    heldFrame_ = std::max<std::int64_t>(heardFrame(), 0);
    transport_ = Transport::Paused;
    if (playsOnDevice())
        output_->Clear();
}

void Playback::TogglePause() {
    if (transport_ == Transport::Playing) {
        Pause();
    } else if (transport_ == Transport::Paused) {
        Play();
    }
}

void Playback::Stop() {
    if (track_ == nullptr)
        return;
    transport_ = Transport::Stopped;
    heldFrame_ = 0;
    if (playsOnDevice())
        output_->Clear();
}

void Playback::Next() {
    if (track_ == nullptr)
        return;
    if (!OpenNext())
        return;
    finished_ = false;
    heldFrame_ = 0;
    if (transport_ == Transport::Playing)
        RestartAt(0);
}

void Playback::Previous() {
    if (track_ == nullptr)
        return;
    // At the first entry (or with none readable before it) this goes back to the start.
    OpenWalk(order_.Previous(), hostkit::PlayOrder::Walk::Backward);
    finished_ = false;
    heldFrame_ = 0;
    if (transport_ == Transport::Playing)
        RestartAt(0);
}

void Playback::SeekSeconds(double seconds) {
    if (track_ == nullptr || transport_ == Transport::Stopped)
        return;
    const std::int64_t length = track_->lengthFrames();
    std::int64_t target = std::max<std::int64_t>(heardFrame(), 0) +
                          static_cast<std::int64_t>(seconds * track_->sampleRate());
    target = std::clamp<std::int64_t>(target, 0, std::max<std::int64_t>(length - 1, 0));
    heldFrame_ = target;
    if (transport_ == Transport::Playing)
        RestartAt(target);
}

void Playback::ChangeVolume(int percent) {
    volumePercent_ = std::clamp(volumePercent_ + percent, 0, 100);
}

}  // namespace player
