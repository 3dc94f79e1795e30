// Sound, pacing, the photograph and the wait for the quit request.
#include "tools/winhost/vis_client.h"

#include <algorithm>

#include "host/plugin.h"
#include "hostkit/desktop/frame_sound.h"
#include "tools/winhost/screen_shot.h"

namespace winhost {
namespace {

// The flip is handed to the display's own thread; give it time to reach the screen.
constexpr DWORD kSettleMs = 500;

// Waits as an idle message loop does, leaving every message queued for the next turn. A plain
// Sleep is not enough: Wine copies what a window drew to the X screen only while its thread waits
// for messages, so without this the photograph shows the frame before.
void SettleAsAnIdleLoop() {
    const DWORD start = GetTickCount();
    for (DWORD waited = 0; waited < kSettleMs; waited = GetTickCount() - start) {
        if (MsgWaitForMultipleObjects(0, nullptr, FALSE, kSettleMs - waited, QS_ALLINPUT) ==
            WAIT_OBJECT_0)
            Sleep(1);  // a message is waiting: it stays for the turn; keep the time running
    }
}

}  // namespace

VisClient::VisClient(const hostkit::HostOptions& options, const hostkit::Sound* sound, HostLog& log)
    : options_(options), shotFrames_(options.ShotFrames()), sound_(sound), log_(log) {}

hostkit::SoundFormat VisClient::Format() {
    return hostkit::FormatOf(sound_);
}

bool VisClient::Paused() {
    return options_.frames > 0 && rendered_ >= options_.frames;
}

hostkit::HeardSound VisClient::Sound(const winampVisModule& module) {
    ++rendered_;
    return {hostkit::SoundAt(sound_, rendered_, module.delayMs, module.latencyMs), std::nullopt};
}

void VisClient::Wait(int delayMs) {
    const bool chosen =
        std::find(shotFrames_.begin(), shotFrames_.end(), rendered_) != shotFrames_.end();
    if (!options_.shotPath.empty() && chosen && !holding_)
        TakeShot(options_.ShotPathFor(rendered_));
    if (Paused() && !holding_)
        AfterLastFrame();
    Sleep(static_cast<DWORD>(delayMs > 0 ? delayMs : 0));
}

void VisClient::Tick() {
    if (!holding_ || closedByHost_)
        return;
    if (GetTickCount() - holdStart_ < static_cast<DWORD>(options_.holdSeconds) * 1000)
        return;
    log_.Line("FAIL: no quit request within " + std::to_string(options_.holdSeconds) +
              " s; the host closes the show window itself");
    closedByHost_ = true;
    HWND show = FindWindowA(kWindowClassName, nullptr);
    if (show != nullptr) {
        PostMessageA(show, WM_CLOSE, 0, 0);
    } else {
        PostQuitMessage(0);
    }
}

void VisClient::TakeShot(const std::string& path) {
    SettleAsAnIdleLoop();
    const DisplayMode mode = CurrentDisplayMode();
    hostkit::RgbImage image;
    if (mode.width <= 0 || !PhotographScreen(mode.width, mode.height, &image)) {
        log_.Line("FAIL: the screen of frame " + std::to_string(rendered_) +
                  " cannot be photographed");
        shotOk_ = false;
        return;
    }
    if (std::string error = hostkit::WriteFileBytes(path, hostkit::EncodeRgbBmp(image));
        !error.empty()) {
        log_.Line("FAIL: " + error);
        shotOk_ = false;
        return;
    }
    log_.Line("photographed frame " + std::to_string(rendered_) + " (" + mode.Text() + ") into " +
              path);
}

void VisClient::AfterLastFrame() {
    holding_ = true;
    holdStart_ = GetTickCount();
    log_.Line("rendered " + std::to_string(rendered_) + " frames; waiting for the quit request");
    if (!options_.escape)
        return;
    HWND show = FindWindowA(kWindowClassName, nullptr);
    if (show == nullptr)
        return;
    log_.Line("pressing Escape in the show window");
    // Repeat count 1, scan code 1: what the keyboard sends for Escape.
    PostMessageA(show, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
    PostMessageA(show, WM_KEYUP, VK_ESCAPE, static_cast<LPARAM>(0xC0010001u));
}

}  // namespace winhost
