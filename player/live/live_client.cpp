// The live host client.
#include "player/live/live_client.h"

#include <ctime>
#include <filesystem>

#include "hostkit/capture/capture_source.h"
#include "hostkit/desktop/frame_save.h"
#include "hostkit/waveform.h"
#include "player/live/status_line.h"
#include "player/sound/dropped_sources.h"
#include "player/sound/playback.h"

namespace player {
namespace {

using hostkit::kSeekSeconds;
using hostkit::PlayerCommand;

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

LiveClient::LiveClient(Playback* playback, hostkit::CaptureSource* capture,
                       std::function<void(int)> sleep, StatusLine* status)
    : playback_(playback), capture_(capture), sleep_(std::move(sleep)), status_(status) {}

LiveClient::~LiveClient() = default;

hostkit::SoundFormat LiveClient::Format() {
    if (playback_ != nullptr && playback_->track() != nullptr)
        return {playback_->sampleRate(), playback_->sourceChannels()};
    return {hostkit::kCaptureRate, hostkit::kCaptureChannels};
}

void LiveClient::Tick() {
    if (quitRequested_ && !quitPosted_) {
        quitPosted_ = true;
        PostQuitMessage(0);
    }
    if (playback_ != nullptr) {
        TakeDrops();
        playback_->Update();
    }
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

hostkit::HeardSound LiveClient::Sound(const winampVisModule& module) {
    hostkit::SoundWindow sound;
    if (playback_ != nullptr) {
        sound = playback_->WindowAt(module.latencyMs);
    } else if (capture_ != nullptr) {
        sound = capture_->Heard();
    }
    return {sound, std::nullopt};
}

void LiveClient::Wait(int delayMs) {
    if (delayMs > 0)
        sleep_(delayMs);
}

void LiveClient::Act(PlayerCommand command) {
    if (command == PlayerCommand::SaveFrame) {
        SaveFrame();
        return;
    }
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
            playback_->ChangeVolume(hostkit::kVolumeStepPercent);
            break;
        case PlayerCommand::VolumeDown:
            playback_->ChangeVolume(-hostkit::kVolumeStepPercent);
            break;
        case PlayerCommand::ToggleShuffle:
            playback_->SetShuffle(!playback_->shuffle());
            break;
        case PlayerCommand::ToggleRepeat:
            playback_->SetRepeat(!playback_->repeat());
            break;
        case PlayerCommand::ToggleFullScreen:
        case PlayerCommand::SaveFrame:
        case PlayerCommand::Quit:
            break;  // handled above or by the player window
    }
}

void LiveClient::Drop(const std::vector<std::string>& paths) {
    if (playback_ == nullptr) {
        if (status_ != nullptr)
            status_->Message(
                "dropped files are played when the player plays files, not live sound");
        return;
    }
    drops_.push_back(std::make_unique<DroppedSources>(paths));
}

void LiveClient::TakeDrops() {
    // In the order they were dropped: a later drop waits for an earlier one still being read.
    while (!drops_.empty() && drops_.front()->done()) {
        std::unique_ptr<DroppedSources> drop = std::move(drops_.front());
        drops_.pop_front();
        for (const std::string& line : drop->TakeLines())
            Say(line);
        const std::vector<std::string> files = drop->TakeFiles();
        if (files.empty())
            continue;
        const int added = playback_->Add(files);
        if (added == 0) {
            Say(files.size() == 1 ? files.front() + " cannot be played; the tune goes on"
                                  : "none of the dropped files can be played; the tune goes on");
        } else {
            Say(added == 1 ? "added " + files.front()
                           : "added " + std::to_string(added) + " files");
        }
    }
}

void LiveClient::Say(const std::string& line) {
    if (status_ != nullptr)
        status_->Message(line);
}

void LiveClient::SaveFrame() {
    if (status_ == nullptr)
        return;
    if (frames_ == nullptr || frames_->presentCount() == 0) {
        status_->Message("no frame on screen to save yet");
        return;
    }
    std::string error;
    const std::string path = hostkit::SaveFrame(frames_->latest(), hostkit::PicturesFolder(),
                                                std::time(nullptr), &error);
    status_->Message(path.empty() ? error : "saved the frame on screen as " + path);
}

void LiveClient::ShowTitle(const std::string& source) {
    if (!titleSink_)
        return;
    // The file's own name says what plays; its folders only make the caption long.
    std::string name = std::filesystem::path(source).filename().string();
    std::string title = (name.empty() ? source : name) + " - Quenari Tolvek";
    if (title == title_)
        return;
    title_ = title;
    titleSink_(title);
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
        status.entry = playback_->position() + 1;
        status.entries = static_cast<int>(playback_->names().size());
        status.shuffle = playback_->shuffle();
        status.repeat = playback_->repeat();
    } else if (capture_ != nullptr) {
        status.source = capture_->name();
        status.state = capturePaused_ ? "paused" : "capturing";
    } else {
        status.source = "silence";
        status.state = "showing";
    }
    ShowTitle(status.source);
    status_->Show(status);
}

}  // namespace player
