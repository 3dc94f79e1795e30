// The controller: the show's life in the view, its turns, keys, commands and notices.
#include "audacious/show_controller.h"

#include <cstdio>
#include <ctime>

#include "hostkit/desktop/frame_save.h"
#include "platform/host_services.h"

namespace audacious {
namespace {

// A few lines say what is wrong; a whole missing folder would fill the view.
constexpr std::size_t kMaxNotices = 6;
// How long a passing word stays, in ticks (about three seconds at the show's 25 ms).
constexpr int kStatusTicks = 120;

}  // namespace

ShowController::ShowController(HostPlayer& host, ShowView& view) : host_(host), view_(view) {}

// The view closes its own windows: it is going away itself.
ShowController::~ShowController() {
    Stop();
}

const hostkit::RenderedFrame* ShowController::frame() const {
    return session_ && shownPresent_ > 0 ? &session_->frame() : nullptr;
}

std::string ShowController::NoticeText() const {
    std::string text;
    for (const std::string& line : notices_)
        text += (text.empty() ? "" : "\n") + line;
    if (!status_.empty())
        text += (text.empty() ? "" : "\n") + status_;
    // After what the show said last, which is often why it ended.
    if (endedByShow_)
        text += (text.empty() ? "" : "\n") + std::string("The show has ended.");
    return text;
}

void ShowController::AddNotice(const std::string& line) {
    host_.Note("notice " + line);
    if (notices_.size() < kMaxNotices)
        notices_.push_back(line);
    else if (notices_.size() == kMaxNotices)
        notices_.push_back("...");
    view_.Repaint();
}

void ShowController::ShowProblem(const std::string& text) {
    std::fprintf(stderr, "quenari-tolvek: %s\n", text.c_str());
    AddNotice(text);
}

void ShowController::Message(const std::string& caption, const std::string& text) {
    AddNotice(caption.empty() ? text : caption + ": " + text);
}

void ShowController::Start() {
    if (running())
        return;
    notices_.clear();
    endedByShow_ = false;
    view_.OfferRestart(false);
    if (!session_) {
        session_ = std::make_unique<hostkit::EmbeddedShow>(
            static_cast<hostkit::HostControls*>(this),
            [this](const std::string& caption, const std::string& text) {
                Message(caption, text);
            });
    }
    std::string error;
    if (!session_->Load(host_.PluginPath(), &error) ||
        !session_->Start(static_cast<hostkit::HostClient&>(*this), &error)) {
        ShowProblem(error);
        return;
    }
    host_.StartTimer(session_->delayMs(), [this] { TimerTick(); });
    host_.Note("started, a frame every " + std::to_string(session_->delayMs()) + " ms");
    if (host_.FullScreenOnStart() && !fullScreen_)
        ToggleFullScreen();
}

void ShowController::Stop() {
    host_.StopTimer();
    if (!running())
        return;
    session_->Stop();
    NoteStopped();
}

void ShowController::ViewShown() {
    if (!endedByShow_)
        Start();
}

void ShowController::StartAgain() {
    endedByShow_ = false;
    Start();
}

void ShowController::NoteStopped() {
    // What the show leaves behind once it stopped: only the host's own window.
    host_.Note("stopped after " + std::to_string(session_->framesRendered()) + " frames; windows " +
               std::to_string(platform::CountWindows()) + ", display objects " +
               std::to_string(platform::CountDisplayObjects()));
}

void ShowController::ShowEnded() {
    host_.StopTimer();
    endedByShow_ = true;
    std::fprintf(stderr, "quenari-tolvek: the show ended after %d frames\n", framesRendered());
    NoteStopped();
    if (fullScreen_) {
        fullScreen_ = false;
        view_.CloseFullScreen();
    }
    view_.OfferRestart(true);
    view_.Repaint();
}

void ShowController::Tick() {
    if (statusTicks_ > 0 && --statusTicks_ == 0) {
        status_.clear();
        view_.Repaint();
    }
}

void ShowController::TimerTick() {
    if (!session_)
        return;
    switch (session_->Turn(static_cast<hostkit::HostClient&>(*this))) {
        case hostkit::TurnResult::Rendered:
            host_.Rendered(session_->framesRendered(), session_->module());
            if (session_->presentCount() != shownPresent_) {
                shownPresent_ = session_->presentCount();
                view_.FrameChanged();
            }
            break;
        case hostkit::TurnResult::Idle:
            break;
        case hostkit::TurnResult::Ended:
            ShowEnded();
            break;
    }
}

bool ShowController::Key(WPARAM virtualKey, bool down, bool repeat) {
    if (virtualKey == 0)
        return false;
    if (running()) {
        session_->SendKey(virtualKey, down, repeat);
    } else if (down && !repeat && virtualKey == 'F') {
        ToggleFullScreen();
    } else if (down && virtualKey == VK_ESCAPE && fullScreen_) {
        ToggleFullScreen();
    }
    return true;
}

void ShowController::ToggleFullScreen() {
    fullScreen_ = !fullScreen_;
    if (fullScreen_)
        view_.OpenFullScreen();
    else
        view_.CloseFullScreen();
}

void ShowController::FullScreenClosed() {
    fullScreen_ = false;
}

void ShowController::ViewPlaced(int x, int y, int width, int height) {
    const std::array<int, 4> place{x, y, width, height};
    if (place == place_)
        return;
    place_ = place;
    host_.Note("at " + std::to_string(x) + " " + std::to_string(y) + " " + std::to_string(width) +
               " " + std::to_string(height));
}

hostkit::SoundFormat ShowController::Format() {
    // nCh is what was handed over, which for a mono file played as stereo is not the song's.
    return {host_.Format().sampleRate, host_.Ring().channels()};
}

hostkit::HeardSound ShowController::Sound(const winampVisModule&) {
    hostkit::SoundRing& ring = host_.Ring();
    // The trace shows the block spread over the 576 frames; the spectrum is computed from the
    // block as it is, or every pitch would read 576/512 low.
    return {ring.Spread(kAudaciousBlockFrames), ring.Newest(kAudaciousBlockFrames)};
}

void ShowController::Act(hostkit::PlayerCommand command) {
    switch (command) {
        case hostkit::PlayerCommand::ToggleFullScreen:
            ToggleFullScreen();
            break;
        case hostkit::PlayerCommand::SaveFrame:
            SaveFrame();
            break;
        case hostkit::PlayerCommand::Quit:
            break;  // Audacious is not ours to end
        default:
            host_.Act(command);
            break;
    }
}

void ShowController::SaveFrame() {
    const hostkit::RenderedFrame* shown = frame();
    std::string error;
    const std::string path = shown != nullptr ? hostkit::SaveFrame(*shown, host_.PicturesFolder(),
                                                                   std::time(nullptr), &error)
                                              : "";
    if (shown == nullptr)
        error = "no frame on screen to save yet";
    status_ = path.empty() ? error : "saved the frame on screen as " + path;
    statusTicks_ = kStatusTicks;
    std::fprintf(stderr, "quenari-tolvek: %s\n", status_.c_str());
    view_.Repaint();
}

}  // namespace audacious
