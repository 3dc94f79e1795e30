// The host's visualization interface: the header and module records, in their published C layout.
#pragma once

#include "platform/win32.h"

extern "C" {

struct winampVisModule {
    char* description;
    HWND hwndParent;
    HINSTANCE hDllInstance;
    int sRate;
    int nCh;
    int latencyMs;
    int delayMs;
    int spectrumNch;
    int waveformNch;
    unsigned char spectrumData[2][576];
    unsigned char waveformData[2][576];
    void (*Config)(winampVisModule* thisModule);
    int (*Init)(winampVisModule* thisModule);
    int (*Render)(winampVisModule* thisModule);
    void (*Quit)(winampVisModule* thisModule);
    void* userData;
};

struct winampVisHeader {
    int version;
    char* description;
    winampVisModule* (*getModule)(int index);
};

using winampVisGetHeaderType = winampVisHeader* (*)();

}  // extern "C"

inline constexpr int VIS_HDRVER = 0x101;
inline constexpr int kWaveformSamples = 576;
