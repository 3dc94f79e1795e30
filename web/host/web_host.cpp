// The page's host of the plug-in: the host kit's turn, one at a time (a page's script has to give
// the browser back its thread between frames, so the page calls each turn and waits delayMs
// itself), with the page's sound, transport and reaction to the player's keys.
#include <emscripten.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

#include "host/winamp_vis.h"
#include "hostkit/commands.h"
#include "hostkit/host_loop.h"
#include "hostkit/host_window.h"
#include "hostkit/indexed_png.h"
#include "hostkit/presented_frame.h"
#include "hostkit/waveform.h"
#include "platform/host_services.h"
#include "platform/web/web_platform.h"

extern "C" winampVisHeader* winampVisGetHeader();

// The page's side of the host (web/page/tolvek-page.js): its sound, its transport and its
// reaction to the player's keys.
// The sound for the renderIndex-th Render: 0 for silence; otherwise its channel count, with
// kSixteenBits added when it wrote 16-bit frames (two values each) instead of floats.
EM_JS(int, TolvekPageFillSound, (float* left, float* right, std::int16_t* frames, int count,
                                 int latencyMs, int renderIndex), {
    return Module['tolvekHost']['fillSound'](left, right, frames, count, latencyMs, renderIndex);
});
EM_JS(int, TolvekPageSampleRate, (), { return Module['tolvekHost']['sampleRate'](); });
EM_JS(int, TolvekPageChannels, (), { return Module['tolvekHost']['channels'](); });
EM_JS(int, TolvekPagePaused, (), { return Module['tolvekHost']['paused']() ? 1 : 0; });
EM_JS(void, TolvekPageAct, (int command), { Module['tolvekHost']['act'](command); });

namespace web {
namespace {

constexpr int kChannels = 2;
constexpr int kSixteenBits = 0x10;

// The page's side of one turn and of the player's commands; the turn itself is the host kit's.
class WebHost final : public hostkit::HostClient, public hostkit::HostControls {
  public:
    WebHost() : window_("TolvekPage", "Quenari Tolvek page") { window_.SetControls(this); }

    // Fills the module record and calls Init; false when the module did not start.
    bool Start() {
        if (loop_ && loop_->running()) return true;
        winampVisModule* module = Module();
        if (module == nullptr) return false;
        if (!loop_) {
            // A module handle is an address inside the module, as the desktop's dladdr reads it.
            loop_ = std::make_unique<hostkit::HostLoop>(
                *module, window_.handle(), reinterpret_cast<HINSTANCE>(&winampVisGetHeader));
        }
        return loop_->Start(*this);
    }

    // One turn: 1 while the show goes on, 0 once it ended (Quit was called).
    int Turn() {
        if (!loop_) return 0;
        soundMs_ = 0;
        const double before = emscripten_get_now();
        const hostkit::TurnResult result = loop_->Turn(*this);
        if (result == hostkit::TurnResult::Rendered)
            lastRenderMs_ = emscripten_get_now() - before - soundMs_;
        return result == hostkit::TurnResult::Ended ? 0 : 1;
    }

    void ToggleFullScreen() { window_.ToggleFullScreen(); }

    // The host's "configure" command: the module shows its credits box.
    void Configure() {
        winampVisModule* module = Module();
        if (module == nullptr) return;
        module->hwndParent = window_.handle();
        module->Config(module);
    }

    void Stop() {
        if (loop_) loop_->Stop();
    }

    // The frame on screen as an indexed PNG, kept until the next call; its size in bytes.
    int EncodeFramePng() {
        png_ = capture_.presentCount() > 0 ? hostkit::EncodeIndexedPng(capture_.latest())
                                           : std::vector<std::uint8_t>{};
        return static_cast<int>(png_.size());
    }
    const std::uint8_t* png() const { return png_.data(); }

    int delayMs() const { return loop_ ? loop_->delayMs() : hostkit::kShortestDelayMs; }
    int rendered() const { return loop_ ? loop_->framesRendered() : 0; }
    double lastRenderMs() const { return lastRenderMs_; }
    const hostkit::RenderedFrame& frame() const { return capture_.latest(); }
    int presented() const { return capture_.presentCount(); }
    bool running() const { return loop_ && loop_->running(); }

    // The palette of the frame on screen as red, green, blue bytes.
    const std::uint8_t* Palette() {
        for (int i = 0; i < 256; ++i) {
            const PALETTEENTRY& e = capture_.latest().palette[static_cast<std::size_t>(i)];
            palette_[3 * i] = e.peRed;
            palette_[3 * i + 1] = e.peGreen;
            palette_[3 * i + 2] = e.peBlue;
        }
        return palette_;
    }

  private:
    static winampVisModule* Module() {
        winampVisHeader* header = winampVisGetHeader();
        return header != nullptr ? header->getModule(0) : nullptr;
    }

    hostkit::SoundFormat Format() override {
        return {TolvekPageSampleRate(), TolvekPageChannels()};
    }
    bool Paused() override { return TolvekPagePaused() != 0; }
    void Act(hostkit::PlayerCommand command) override {
        TolvekPageAct(static_cast<int>(command));
    }

    hostkit::HeardSound Sound(const winampVisModule& module) override {
        const double before = emscripten_get_now();
        const int filled = TolvekPageFillSound(left_, right_, samples_, kWaveformSamples,
                                               module.latencyMs, rendered() + 1);
        const int channels = filled & ~kSixteenBits;
        hostkit::SoundWindow sound;  // no samples: silence
        if (channels > 0 && (filled & kSixteenBits) != 0) {
            // Samples the page recovered exactly: a decoded 16-bit file, the built-in tune.
            sound = hostkit::SoundWindow{samples_, kWaveformSamples, kChannels};
        } else if (channels > 0) {
            // Decoded by the browser as floats; to 16 bits exactly as the desktop's decoders.
            for (int i = 0; i < kWaveformSamples; ++i) {
                samples_[kChannels * i] = hostkit::FloatToSample16(left_[i]);
                samples_[kChannels * i + 1] =
                    hostkit::FloatToSample16(channels > 1 ? right_[i] : left_[i]);
            }
            sound = hostkit::SoundWindow{samples_, kWaveformSamples, kChannels};
        }
        soundMs_ += emscripten_get_now() - before;
        return {sound, std::nullopt};
    }

    hostkit::HostWindow window_;
    std::unique_ptr<hostkit::HostLoop> loop_;
    hostkit::PresentedFrameCapture capture_;
    double lastRenderMs_ = 0;
    double soundMs_ = 0;
    float left_[kWaveformSamples] = {};
    float right_[kWaveformSamples] = {};
    std::int16_t samples_[kWaveformSamples * kChannels] = {};
    std::uint8_t palette_[256 * 3] = {};
    std::vector<std::uint8_t> png_;
};

WebHost& Host() {
    static WebHost host;
    return host;
}

}  // namespace
}  // namespace web

extern "C" {

// clockSeconds: the seed clock to fix, or NaN to let the show read the calendar.
EMSCRIPTEN_KEEPALIVE int tolvek_start(double clockSeconds) {
    if (std::isnan(clockSeconds)) {
        platform::FixCalendarTime(std::nullopt);
    } else {
        platform::FixCalendarTime(static_cast<std::int64_t>(clockSeconds));
    }
    // The page shows the show in its own area; full screen is the visitor's choice.
    platform::SetDisplayPreference(platform::DisplayPreference::Window);
    return web::Host().Start() ? 1 : 0;
}

EMSCRIPTEN_KEEPALIVE int tolvek_turn() { return web::Host().Turn(); }
EMSCRIPTEN_KEEPALIVE void tolvek_stop() { web::Host().Stop(); }
// A double click or the page's button: the same path as the F key.
EMSCRIPTEN_KEEPALIVE void tolvek_toggle_full_screen() { web::Host().ToggleFullScreen(); }
EMSCRIPTEN_KEEPALIVE void tolvek_configure() { web::Host().Configure(); }
// For the page's tests: the next call of the named display operation fails with `code`.
EMSCRIPTEN_KEEPALIVE void tolvek_inject_display_fault(const char* operation, int code) {
    platform::InjectDisplayFault(operation, static_cast<HRESULT>(code));
}
EMSCRIPTEN_KEEPALIVE int tolvek_running() { return web::Host().running() ? 1 : 0; }
EMSCRIPTEN_KEEPALIVE int tolvek_delay_ms() { return web::Host().delayMs(); }
EMSCRIPTEN_KEEPALIVE int tolvek_frames_rendered() { return web::Host().rendered(); }
EMSCRIPTEN_KEEPALIVE double tolvek_last_render_ms() { return web::Host().lastRenderMs(); }
EMSCRIPTEN_KEEPALIVE int tolvek_frames_presented() { return web::Host().presented(); }
EMSCRIPTEN_KEEPALIVE int tolvek_frame_width() { return web::Host().frame().width; }
EMSCRIPTEN_KEEPALIVE int tolvek_frame_height() { return web::Host().frame().height; }
EMSCRIPTEN_KEEPALIVE const BYTE* tolvek_frame_indices() {
    return web::Host().frame().pixels.data();
}
EMSCRIPTEN_KEEPALIVE const std::uint8_t* tolvek_frame_palette() { return web::Host().Palette(); }
// The frame on screen as an indexed PNG (the P key's download): its size, then its bytes.
EMSCRIPTEN_KEEPALIVE int tolvek_frame_png_size() { return web::Host().EncodeFramePng(); }
EMSCRIPTEN_KEEPALIVE const std::uint8_t* tolvek_frame_png() { return web::Host().png(); }
// The name the desktop hosts save a frame under, for now.
EMSCRIPTEN_KEEPALIVE const char* tolvek_frame_png_name() {
    static std::string name;
    name = hostkit::FrameFileName(std::time(nullptr));
    return name.c_str();
}

// The player's commands, numbered as the page's act() receives them, with their names.
EMSCRIPTEN_KEEPALIVE int tolvek_command_count() { return hostkit::kCommandCount; }
EMSCRIPTEN_KEEPALIVE const char* tolvek_command_name(int command) {
    if (command < 0 || command >= hostkit::kCommandCount) return "";
    return hostkit::CommandName(static_cast<hostkit::PlayerCommand>(command));
}
// The command a key gives (its virtual-key code), or -1.
EMSCRIPTEN_KEEPALIVE int tolvek_command_for_key(int virtualKey) {
    const auto command = hostkit::CommandForKey(static_cast<WPARAM>(virtualKey));
    return command ? static_cast<int>(*command) : -1;
}

}  // extern "C"
