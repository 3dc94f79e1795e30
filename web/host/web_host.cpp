// The page's host of the plug-in, in the desktop player's order of calls: winampVisGetHeader,
// getModule(0), hwndParent / hDllInstance / sRate / nCh, Init; per frame the messages, the
// sound being heard plus latencyMs, Render; the quit request, Quit. A page's script has to give
// the browser back its thread between frames, so the page calls one turn at a time and waits
// delayMs itself.
#include <emscripten.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "host/winamp_vis.h"
#include "hostkit/host_loop.h"
#include "hostkit/waveform.h"
#include "platform/host_services.h"
#include "platform/web/web_platform.h"
#include "player/live/player_window.h"

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

// The player's keys reach the page, which holds the sound.
class PageControls final : public player::PlayerControls {
  public:
    void Act(player::PlayerCommand command) override { TolvekPageAct(static_cast<int>(command)); }
};

// The last presented frame, for the page's tests and for sharing a moment.
struct KeptFrame {
    std::vector<BYTE> indices;
    std::uint8_t palette[256 * 3] = {};
    int width = 0;
    int height = 0;
    int presented = 0;
};

class WebHost {
  public:
    WebHost() : window_(controls_) {
        platform::SetPresentObserver([this](const platform::PresentedFrame& frame) {
            frame.CopyPixels(kept_.indices);
            for (int i = 0; i < 256; ++i) {
                kept_.palette[3 * i] = frame.palette[i].peRed;
                kept_.palette[3 * i + 1] = frame.palette[i].peGreen;
                kept_.palette[3 * i + 2] = frame.palette[i].peBlue;
            }
            kept_.width = frame.width;
            kept_.height = frame.height;
            ++kept_.presented;
        });
    }

    // Fills the module record and calls Init; false when the module did not start.
    bool Start() {
        if (running_) return true;
        winampVisHeader* header = winampVisGetHeader();
        module_ = header != nullptr ? header->getModule(0) : nullptr;
        if (module_ == nullptr) return false;
        module_->hwndParent = window_.handle();
        // A module handle is an address inside the module, as the desktop's dladdr reads it.
        module_->hDllInstance = reinterpret_cast<HINSTANCE>(&winampVisGetHeader);
        FillFormat();
        running_ = module_->Init(module_) == 0;
        return running_;
    }

    // One turn: every pending message, then (unless paused) the sound and Render.
    // 1 while the show goes on, 0 once it ended (Quit was called).
    int Turn() {
        if (!running_) return 0;
        if (hostkit::PumpMessages()) {
            End();
            return 0;
        }
        if (TolvekPagePaused() != 0) return 1;
        FillFormat();
        FillSound();
        ++rendered_;
        const double before = emscripten_get_now();
        const int result = module_->Render(module_);
        lastRenderMs_ = emscripten_get_now() - before;
        if (result != 0) {
            End();
            return 0;
        }
        return 1;
    }

    void ToggleFullScreen() { window_.ToggleFullScreen(); }

    // The host's "configure" command: the module shows its credits box.
    void Configure() {
        if (module_ == nullptr) {
            winampVisHeader* header = winampVisGetHeader();
            module_ = header != nullptr ? header->getModule(0) : nullptr;
        }
        if (module_ == nullptr) return;
        module_->hwndParent = window_.handle();
        module_->Config(module_);
    }

    void Stop() {
        if (running_) End();
    }

    int delayMs() const { return module_ != nullptr ? module_->delayMs : 25; }
    int rendered() const { return rendered_; }
    double lastRenderMs() const { return lastRenderMs_; }
    const KeptFrame& kept() const { return kept_; }
    bool running() const { return running_; }

  private:
    void FillFormat() {
        module_->sRate = TolvekPageSampleRate();
        module_->nCh = TolvekPageChannels();
    }

    void FillSound() {
        const int filled = TolvekPageFillSound(left_, right_, samples_, kWaveformSamples,
                                               module_->latencyMs, rendered_ + 1);
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
        hostkit::FillWaveform(sound, *module_);
        if (module_->spectrumNch > 0) hostkit::FillSpectrum(sound, *module_);
    }

    void End() {
        running_ = false;
        module_->Quit(module_);
        // Quit closes the module's window, whose destruction asks to quit once more: that
        // request belongs to this show, not to the next one.
        hostkit::PumpMessages();
    }

    PageControls controls_;
    player::PlayerWindow window_;
    winampVisModule* module_ = nullptr;
    bool running_ = false;
    int rendered_ = 0;
    double lastRenderMs_ = 0;
    float left_[kWaveformSamples] = {};
    float right_[kWaveformSamples] = {};
    std::int16_t samples_[kWaveformSamples * kChannels] = {};
    KeptFrame kept_;
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
EMSCRIPTEN_KEEPALIVE int tolvek_frames_presented() { return web::Host().kept().presented; }
EMSCRIPTEN_KEEPALIVE int tolvek_frame_width() { return web::Host().kept().width; }
EMSCRIPTEN_KEEPALIVE int tolvek_frame_height() { return web::Host().kept().height; }
EMSCRIPTEN_KEEPALIVE const BYTE* tolvek_frame_indices() {
    return web::Host().kept().indices.data();
}
EMSCRIPTEN_KEEPALIVE const std::uint8_t* tolvek_frame_palette() {
    return web::Host().kept().palette;
}

}  // extern "C"
