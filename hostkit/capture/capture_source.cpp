// Reading the sound server's capture stream on its own thread; the host loop only copies the
// newest frames out under a lock.
#include "hostkit/capture/capture_source.h"

#include <pulse/error.h>
#include <pulse/simple.h>

#include <chrono>
#include <cstring>

namespace hostkit {
namespace {

constexpr int kReadFrames = kCaptureRate / 100;  // 10 ms per read keeps the delay short

}  // namespace

std::unique_ptr<CaptureSource> CaptureSource::Open(const std::string& source, std::string* error) {
    std::unique_ptr<CaptureSource> capture(new CaptureSource());
    capture->name_ = source.empty() ? kDefaultMonitor : source;
    pa_sample_spec spec{};
    spec.format = PA_SAMPLE_S16NE;
    spec.rate = kCaptureRate;
    spec.channels = kCaptureChannels;
    pa_buffer_attr attr{};
    attr.maxlength = static_cast<std::uint32_t>(-1);
    attr.tlength = static_cast<std::uint32_t>(-1);
    attr.prebuf = static_cast<std::uint32_t>(-1);
    attr.minreq = static_cast<std::uint32_t>(-1);
    attr.fragsize = kReadFrames * kCaptureChannels * 2;
    int code = 0;
    capture->stream_ = pa_simple_new(nullptr, "tolvek", PA_STREAM_RECORD, capture->name_.c_str(),
                                     "visualization", &spec, nullptr, &attr, &code);
    if (capture->stream_ == nullptr) {
        *error = "capture from " + capture->name_ + ": no sound server or no such source (" +
                 pa_strerror(code) + ")";
        return nullptr;
    }
    capture->ring_.assign(static_cast<std::size_t>(kCaptureRate) * kCaptureChannels, 0);
    capture->reader_ = std::thread(&CaptureSource::ReadLoop, capture.get());
    return capture;
}

CaptureSource::~CaptureSource() {
    stop_ = true;
    if (reader_.joinable()) {
        // A read returns within 10 ms while the server sends sound; a server that stopped
        // sending must not hang the player's exit, so give up after a while.
        auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(500);
        while (!done_ && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        if (!done_) {
            reader_.detach();
            return;  // the stream stays with the blocked reader
        }
        reader_.join();
    }
    if (stream_ != nullptr)
        pa_simple_free(stream_);
}

void CaptureSource::ReadLoop() {
    std::vector<std::int16_t> chunk(static_cast<std::size_t>(kReadFrames) * kCaptureChannels);
    const std::size_t ringFrames = ring_.size() / kCaptureChannels;
    while (!stop_) {
        int code = 0;
        if (pa_simple_read(stream_, chunk.data(), chunk.size() * sizeof(std::int16_t), &code) < 0) {
            std::lock_guard lock(mutex_);
            failure_ = std::string("capture from ") + name_ + " ended: " + pa_strerror(code);
            break;
        }
        std::lock_guard lock(mutex_);
        for (int f = 0; f < kReadFrames; ++f) {
            std::size_t at =
                static_cast<std::size_t>(written_ % static_cast<std::int64_t>(ringFrames));
            ring_[at * 2] = chunk[static_cast<std::size_t>(f) * 2];
            ring_[at * 2 + 1] = chunk[static_cast<std::size_t>(f) * 2 + 1];
            ++written_;
        }
    }
    done_ = true;
}

std::int64_t CaptureSource::Latest(int frames, std::int16_t* out) const {
    std::lock_guard lock(mutex_);
    const auto ringFrames = static_cast<std::int64_t>(ring_.size() / kCaptureChannels);
    for (int i = 0; i < frames; ++i) {
        std::int64_t frame = written_ - frames + i;
        if (frame < 0 || frame < written_ - ringFrames) {
            out[i * 2] = 0;
            out[i * 2 + 1] = 0;
            continue;
        }
        auto at = static_cast<std::size_t>(frame % ringFrames);
        out[i * 2] = ring_[at * 2];
        out[i * 2 + 1] = ring_[at * 2 + 1];
    }
    return written_;
}

SoundWindow CaptureSource::Heard() {
    Latest(kWaveformSamples, heard_.data());
    return {heard_.data(), kWaveformSamples, kCaptureChannels};
}

std::string CaptureSource::failure() const {
    std::lock_guard lock(mutex_);
    return failure_;
}

}  // namespace hostkit
