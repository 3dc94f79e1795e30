// Drives the show inside the test process: a parent window that records what reaches it, the
// module record filled as the media player fills it, and the frames the display presents.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <vector>

#include "host/plugin.h"
#include "platform/host_services.h"
#include "show/show_state.h"

namespace testing_support {

struct ParentMessage {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

// An address inside the built plug-in, so the show finds the data pack beside it.
HINSTANCE PluginFolderInstance();

class ShowFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Pumps and dispatches pending messages; true if the quit request came.
    bool Pump();
    // Fills the waveform (both channels) with one byte value.
    void FillWaveform(unsigned char value);
    // Renders n frames, each with the current waveform; every Render must return 0.
    void RenderFrames(int n);

    winampVisModule* module = nullptr;
    HWND parent = nullptr;
    std::vector<ParentMessage> parentMessages;
    // The last presented frame: width x height indices and its palette.
    std::vector<unsigned char> lastFrame;
    std::array<PALETTEENTRY, 256> lastPalette{};
    int presentedCount = 0;
    bool initialised = false;

  private:
    platform::ObserverHandle presents_;
    platform::ObserverHandle boxes_;
};

}  // namespace testing_support
