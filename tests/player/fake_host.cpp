// Loading the fake plug-in and the scripted client.
#include "tests/player/fake_host.h"

#include <cstring>

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

void ScriptedClient::FillFormat(winampVisModule& module) {
    module.sRate = sampleRate;
    module.nCh = channels;
}

void ScriptedClient::FillSound(winampVisModule& module) {
    record_->events.push_back("fill");
    std::memset(module.waveformData, fillByte, sizeof module.waveformData);
}

void ScriptedClient::Wait(int delayMs) {
    ++turn_;
    lastDelayMs = delayMs;
    record_->events.push_back("wait");
    if (onWait)
        onWait(turn_);
}

bool QuitRequestPending() {
    MSG message;
    bool quit = false;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE) != FALSE) {
        if (message.message == WM_QUIT)
            quit = true;
    }
    return quit;
}

}  // namespace player_testing
