// Loading the fake plug-in and the scripted client.
#include "tests/player/fake_host.h"

#include <cstring>

#include "tests/support/host_window.h"

namespace player_testing {

FakePlugin::FakePlugin() {
    if (!library_.Load(FAKE_VIS_PATH, &error_))
        return;
    auto get = reinterpret_cast<FakeVisRecordFunction>(library_.Symbol("fakeVisRecord"));
    if (get == nullptr) {
        error_ = "the fake exports no record";
        return;
    }
    record_ = get();
    record_->Clear();
    module().spectrumNch = 0;
    std::memset(module().waveformData, 0, sizeof module().waveformData);
    QuitRequestPending();
}

hostkit::SoundFormat ScriptedClient::Format() {
    return {sampleRate, channels};
}

hostkit::HeardSound ScriptedClient::Sound(const winampVisModule&) {
    record_->events.push_back("fill");
    // Samples whose top byte is fillByte: every waveform byte becomes it.
    samples_.assign(2 * kWaveformSamples, static_cast<std::int16_t>(fillByte << 8));
    return {hostkit::SoundWindow{samples_.data(), kWaveformSamples, 2}, std::nullopt};
}

void ScriptedClient::Wait(int delayMs) {
    ++turn_;
    lastDelayMs = delayMs;
    record_->events.push_back("wait");
    if (onWait)
        onWait(turn_);
}

bool QuitRequestPending() {
    return testing_support::DiscardMessages();
}

}  // namespace player_testing
