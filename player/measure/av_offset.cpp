// tolvek-av-offset: measures how far the waveform the player hands the plug-in is from the sound
// leaving the device. It plays a click track through the player's own playback and host loop,
// listens to the output's monitor on the sound server, and compares, for every click, the moment
// it was heard with where it sat in the first waveform that showed it.
#include <pulse/error.h>
#include <pulse/simple.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <mutex>
#include <thread>
#include <vector>

#include "hostkit/host_loop.h"
#include "player/live/live_client.h"
#include "hostkit/host_window.h"
#include "player/sound/audio_output.h"
#include "player/sound/playback.h"

namespace {

constexpr int kRate = 44100;
constexpr int kClicks = 40;
constexpr double kFirstClick = 1.5;
// Not a multiple of the frame time, so clicks land at every phase of a frame.
constexpr double kClickSpacing = 0.437;
// Longer than a frame's turn, so that every click shows in some waveform.
constexpr int kClickFrames = kRate / 20;
constexpr double kTrackSeconds = kFirstClick + kClicks * kClickSpacing + 1.0;
constexpr int kThreshold = 8000;

double Now() {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

std::int64_t ClickFrame(int k) {
    return static_cast<std::int64_t>((kFirstClick + k * kClickSpacing) * kRate);
}

std::unique_ptr<hostkit::SoundTrack> ClickTrack(const std::string&, std::string*) {
    std::vector<std::int16_t> samples(static_cast<std::size_t>(kTrackSeconds * kRate) * 2, 0);
    for (int k = 0; k < kClicks; ++k) {
        // 50 ms of a full-scale 1 kHz square wave.
        for (int i = 0; i < kClickFrames; ++i) {
            std::int16_t value = (i / 22) % 2 == 0 ? 30000 : -30000;
            auto at = static_cast<std::size_t>(ClickFrame(k) + i) * 2;
            samples[at] = value;
            samples[at + 1] = value;
        }
    }
    return std::make_unique<hostkit::MemoryTrack>("click track", kRate, 2, std::move(samples));
}

// The monitor of the output: when each click's first loud sample left the device.
class MonitorListener {
  public:
    bool Start(std::string* error) {
        pa_sample_spec spec{PA_SAMPLE_S16NE, kRate, 2};
        pa_buffer_attr attr{static_cast<std::uint32_t>(-1), static_cast<std::uint32_t>(-1),
                            static_cast<std::uint32_t>(-1), static_cast<std::uint32_t>(-1),
                            441 * 4};
        int code = 0;
        stream_ = pa_simple_new(nullptr, "tolvek-av-offset", PA_STREAM_RECORD, "@DEFAULT_MONITOR@",
                                "monitor", &spec, nullptr, &attr, &code);
        if (stream_ == nullptr) {
            *error = pa_strerror(code);
            return false;
        }
        thread_ = std::thread([this] { Listen(); });
        return true;
    }
    ~MonitorListener() {
        stop_ = true;
        if (thread_.joinable())
            thread_.join();
        if (stream_ != nullptr)
            pa_simple_free(stream_);
    }
    std::vector<double> Onsets() {
        std::lock_guard lock(mutex_);
        return onsets_;
    }

  private:
    void Listen() {
        std::vector<std::int16_t> chunk(441 * 2);
        double quietUntil = 0.0;
        while (!stop_) {
            int code = 0;
            if (pa_simple_read(stream_, chunk.data(), chunk.size() * 2, &code) < 0)
                return;
            const double readAt = Now();
            const double latency = static_cast<double>(pa_simple_get_latency(stream_, &code)) / 1e6;
            for (int i = 0; i < 441; ++i) {
                // The chunk's last frame was captured `latency` before it could be read.
                double at = readAt - latency - static_cast<double>(440 - i) / kRate;
                if (std::abs(chunk[static_cast<std::size_t>(2 * i)]) > kThreshold &&
                    at > quietUntil) {
                    std::lock_guard lock(mutex_);
                    onsets_.push_back(at);
                    quietUntil = at + kClickSpacing / 2;
                }
            }
        }
    }
    pa_simple* stream_ = nullptr;
    std::thread thread_;
    std::atomic<bool> stop_{false};
    std::mutex mutex_;
    std::vector<double> onsets_;
};

// The module the player hosts here: notes when each waveform came and where a click began in it.
struct Probe {
    struct Frame {
        double renderAt;
        int clickAt;  // index of the first loud byte in channel 0, or -1
    };
    static std::vector<Frame> frames;
    static int Init(winampVisModule*) { return 0; }
    static int Render(winampVisModule* module) {
        int clickAt = -1;
        for (int i = 0; i < kWaveformSamples && clickAt < 0; ++i) {
            if (std::abs(static_cast<signed char>(module->waveformData[0][i])) > kThreshold / 256) {
                clickAt = i;
            }
        }
        frames.push_back({Now(), clickAt});
        return 0;
    }
    static void Quit(winampVisModule*) {}
    static void Config(winampVisModule*) {}
};
std::vector<Probe::Frame> Probe::frames;

}  // namespace

int main() {
    std::string error;
    MonitorListener monitor;
    if (!monitor.Start(&error)) {
        std::fprintf(stderr, "tolvek-av-offset: cannot listen to the output's monitor: %s\n",
                     error.c_str());
        return 1;
    }
    player::AudioOutput output;
    auto report = [](const std::string& line) { std::fprintf(stderr, "%s\n", line.c_str()); };
    player::Playback playback({"clicks"}, &ClickTrack, &output, &Now, report, false);
    // The monitor of a fresh sound server starts late; let it settle before the clicks.
    std::this_thread::sleep_for(std::chrono::seconds(3));
    if (!playback.Start() || !playback.playsOnDevice()) {
        std::fprintf(stderr, "tolvek-av-offset: no sound device to play the clicks on\n");
        return 1;
    }
    auto sleep = [](int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); };
    player::LiveClient client(&playback, nullptr, sleep, nullptr);
    hostkit::HostWindow window("TolvekAvOffset");
    window.SetControls(&client);
    char name[] = "probe";
    winampVisModule module{
        name,         nullptr,        nullptr,      0,      0, 25, 25, 0, 2, {}, {}, &Probe::Config,
        &Probe::Init, &Probe::Render, &Probe::Quit, nullptr};
    hostkit::HostLoop loop(module, window.handle(), nullptr);
    const double playStart = Now();
    struct Stopper : hostkit::HostClient {
        player::LiveClient& live;
        player::Playback& playback;
        Stopper(player::LiveClient& l, player::Playback& p) : live(l), playback(p) {}
        hostkit::SoundFormat Format() override { return live.Format(); }
        void Tick() override {
            live.Tick();
            if (playback.finished())
                PostQuitMessage(0);
        }
        bool Paused() override { return live.Paused(); }
        hostkit::HeardSound Sound(const winampVisModule& m) override { return live.Sound(m); }
        void Wait(int ms) override { live.Wait(ms); }
    } stopper(client, playback);
    loop.Host(stopper);
    std::this_thread::sleep_for(std::chrono::milliseconds(500));

    std::vector<double> onsets = monitor.Onsets();
    std::printf(
        "device buffer %d frames, latency assumed %d frames; %zu frames rendered in %.1f s\n",
        output.bufferFrames(), output.DeviceLatencyFrames(), Probe::frames.size(),
        Now() - playStart);
    if (static_cast<int>(onsets.size()) != kClicks) {
        std::fprintf(stderr, "tolvek-av-offset: heard %zu clicks of %d\n", onsets.size(), kClicks);
        return 1;
    }
    std::vector<double> clockErrors;
    std::vector<double> pictureOffsets;
    for (int k = 0; k < kClicks; ++k) {
        const double heardAt = onsets[static_cast<std::size_t>(k)];
        // The first frame near the moment the click was heard whose waveform shows it.
        auto first = std::find_if(Probe::frames.begin(), Probe::frames.end(), [&](const auto& f) {
            return f.clickAt >= 0 && std::abs(f.renderAt - heardAt) < kClickSpacing / 2;
        });
        if (first == Probe::frames.end())
            continue;
        pictureOffsets.push_back((first->renderAt - heardAt) * 1000.0);
        // Where the click began inside that waveform is exact only when it began after its
        // first frame: then the waveform started clickAt frames before the click, latencyMs
        // after what the player took for the moment being heard.
        if (first->clickAt == 0)
            continue;
        double believed = static_cast<double>(ClickFrame(k) - first->clickAt) / kRate - 0.025;
        double truth = static_cast<double>(ClickFrame(k)) / kRate + (first->renderAt - heardAt);
        clockErrors.push_back((believed - truth) * 1000.0);
    }
    auto summary = [](const char* what, std::vector<double> values) {
        std::sort(values.begin(), values.end());
        double sum = 0.0;
        for (double v : values)
            sum += v;
        std::printf("%s: mean %+.1f ms, median %+.1f ms, range %+.1f .. %+.1f ms (%zu clicks)\n",
                    what, sum / static_cast<double>(values.size()), values[values.size() / 2],
                    values.front(), values.back(), values.size());
    };
    if (clockErrors.empty() || pictureOffsets.empty()) {
        std::fprintf(stderr, "tolvek-av-offset: no frame showed a click\n");
        return 1;
    }
    summary("heard-moment error (waveform ahead of the sound when positive)", clockErrors);
    summary("render of the first frame showing a click, after the click was heard", pictureOffsets);
    return 0;
}
