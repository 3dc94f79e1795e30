// The fake plug-in loaded for a test, and a host client that logs into the fake's record so the
// order of host and plug-in calls can be read in one list.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "hostkit/host_loop.h"
#include "hostkit/desktop/plugin_library.h"
#include "tests/player/fake_plugin/fake_vis_record.h"

namespace player_testing {

// Loads the recording fake and clears its record; record() is null when it could not load.
class FakePlugin {
  public:
    FakePlugin();
    winampVisModule& module() { return *library_.module(); }
    FakeVisRecord* record() const { return record_; }
    hostkit::PluginLibrary& library() { return library_; }
    const std::string& error() const { return error_; }

  private:
    hostkit::PluginLibrary library_;
    FakeVisRecord* record_ = nullptr;
    std::string error_;
};

// Logs "tick", "fill" and "wait"; runs `onWait(turn)` at each wait (turns count from 1) so a
// test can post messages or ask to quit between frames.
class ScriptedClient : public hostkit::HostClient {
  public:
    explicit ScriptedClient(FakeVisRecord* record) : record_(record) {}

    hostkit::SoundFormat Format() override;
    void Tick() override { record_->events.push_back("tick"); }
    bool Paused() override { return paused ? paused(turn_ + 1) : false; }
    hostkit::HeardSound Sound(const winampVisModule& module) override;
    void Wait(int delayMs) override;

    int sampleRate = 44100;
    int channels = 2;
    unsigned char fillByte = 0x40;
    std::function<bool(int turn)> paused;
    std::function<void(int turn)> onWait;
    int lastDelayMs = -1;

  private:
    FakeVisRecord* record_;
    int turn_ = 0;
    std::vector<std::int16_t> samples_;
};

// Passes everything to a live client (any host client) and runs the test's script after each
// wait, with the turn's number (from 1).
class ScriptedTurns : public hostkit::HostClient {
  public:
    ScriptedTurns(hostkit::HostClient& live, std::function<void(int)> onTurn)
        : live_(live), onTurn_(std::move(onTurn)) {}
    hostkit::SoundFormat Format() override { return live_.Format(); }
    void Tick() override { live_.Tick(); }
    bool Paused() override { return live_.Paused(); }
    hostkit::HeardSound Sound(const winampVisModule& m) override { return live_.Sound(m); }
    void Wait(int delayMs) override {
        live_.Wait(delayMs);
        onTurn_(++turn_);
    }

  private:
    hostkit::HostClient& live_;
    std::function<void(int)> onTurn_;
    int turn_ = 0;
};

// Pops every pending message without dispatching; true when the quit request was pending.
bool QuitRequestPending();

}  // namespace player_testing
