// The live host client.
#include "player/live/live_client.h"

#include "player/sound/capture_source.h"
#include "player/sound/playback.h"
#include "player/live/status_line.h"
#include "hostkit/waveform.h"

namespace player {
namespace {

constexpr double kSeekSeconds = 5.0;
constexpr int kVolumeStep = 5;

const char* StateName(Transport transport) {
    switch (transport) {
        case Transport::Playing:
            return "playing";
        case Transport::Paused:
            return "paused";
        case Transport::Stopped:
            return "stopped";
    }
    return "";
}

}  // namespace

LiveClient::LiveClient(Playback* playback, CaptureSource* capture, std::function<void(int)> sleep,
                       StatusLine* status)
    : playback_(playback),
      capture_(capture),
      sleep_(std::move(sleep)),
      status_(status),
      captured_(static_cast<std::size_t>(kWaveformSamples) * kCaptureChannels) {}

void LiveClient::FillFormat(winampVisModule& module) {
    if (playback_ != nullptr && playback_->track() != nullptr) {
        module.sRate = playback_->sampleRate();
        module.nCh = playback_->sourceChannels();
    } else {
        module.sRate = kCaptureRate;
        module.nCh = kCaptureChannels;
    }
}

void LiveClient::Tick() {
    if (quitRequested_ && !quitPosted_) {
        quitPosted_ = true;
        PostQuitMessage(0);
    }
    if (playback_ != nullptr)
        playback_->Update();
    if (capture_ != nullptr && !captureFailureShown_ && status_ != nullptr) {
        std::string failure = capture_->failure();
        if (!failure.empty()) {
            status_->Message(failure + "; the show goes on with the last sound");
            captureFailureShown_ = true;
        }
    }
    ShowStatus();
}

bool LiveClient::Paused() {
    if (playback_ != nullptr)
        return playback_->transport() == Transport::Paused;
    return capturePaused_;
}

void LiveClient::FillSound(winampVisModule& module) {
    hostkit::SoundWindow sound;
    if (playback_ != nullptr) {
        sound = playback_->WindowAt(module.latencyMs);
    } else if (capture_ != nullptr) {
        // Live sound has no future: the newest frames are the closest to what is heard.
        capture_->Latest(kWaveformSamples, captured_.data());
        sound = hostkit::SoundWindow{captured_.data(), kWaveformSamples, kCaptureChannels};
    }
    hostkit::FillWaveform(sound, module);
    if (module.spectrumNch > 0)
        hostkit::FillSpectrum(sound, module);
}

void LiveClient::Wait(int delayMs) {
    if (delayMs > 0)
        sleep_(delayMs);
}

void LiveClient::Act(PlayerCommand command) {
    if (playback_ == nullptr) {
        if (command == PlayerCommand::Pause)
            capturePaused_ = !capturePaused_;
        if (command == PlayerCommand::Play)
            capturePaused_ = false;
        return;
    }
    switch (command) {
        case PlayerCommand::Play:
            playback_->Play();
            break;
        case PlayerCommand::Pause:
            playback_->TogglePause();
            break;
        case PlayerCommand::Stop:
            playback_->Stop();
            break;
        case PlayerCommand::Previous:
            playback_->Previous();
            break;
        case PlayerCommand::Next:
            playback_->Next();
            break;
        case PlayerCommand::SeekBack:
            playback_->SeekSeconds(-kSeekSeconds);
            break;
        case PlayerCommand::SeekForward:
            playback_->SeekSeconds(kSeekSeconds);
            break;
        case PlayerCommand::VolumeUp:
            playback_->ChangeVolume(kVolumeStep);
            break;
        case PlayerCommand::VolumeDown:
            playback_->ChangeVolume(-kVolumeStep);
            break;
        case PlayerCommand::ToggleFullScreen:
        case PlayerCommand::Quit:
            break;  // the player window handles these
    }
}

void LiveClient::ShowStatus() {
    if (status_ == nullptr)
        return;
    PlayerStatus status;
    if (playback_ != nullptr && playback_->track() != nullptr) {
        const hostkit::SoundTrack* track = playback_->track();
        status.source = track->name();
        status.state = StateName(playback_->transport());
        if (playback_->finished())
            status.state = "finished";
        status.positionSeconds = playback_->positionSeconds();
        status.lengthSeconds = static_cast<double>(track->lengthFrames()) / track->sampleRate();
        status.volumePercent = playback_->volumePercent();
    } else if (capture_ != nullptr) {
        status.source = capture_->name();
        status.state = capturePaused_ ? "paused" : "capturing";
    } else {
        status.source = "silence";
        status.state = "showing";
    }
    status_->Show(status);
}

}  // namespace player
