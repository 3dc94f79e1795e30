// What the fake visualization plug-in saw of its host, shared with the tests that load it.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "host/winamp_vis.h"

struct FakeVisRecord {
    // "Init", "Render", "Quit", "message N" for each message its window got, and whatever the
    // test adds, in the order it happened.
    std::vector<std::string> events;
    std::vector<std::array<unsigned char, 2 * kWaveformSamples>> waveforms;  // one per Render
    std::vector<std::array<unsigned char, 2 * kWaveformSamples>> spectra;    // one per Render
    std::vector<std::array<int, 2>> formats;  // sRate, nCh per Render
    HWND parentAtInit = nullptr;
    HINSTANCE instanceAtInit = nullptr;
    int sRateAtInit = 0;
    int nChAtInit = 0;
    HWND window = nullptr;  // the fake's show window, owned by hwndParent

    // Behaviour the test asks for.
    int initResult = 0;
    int stopAfterRenders = -1;  // Render returns 1 on this call (counting from 1)

    void Clear() { *this = FakeVisRecord{}; }
};

using FakeVisRecordFunction = FakeVisRecord* (*)();
