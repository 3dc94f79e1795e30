// The plug-in's face towards the host: the header and module records and the entry points.
#pragma once

#include "host/winamp_vis.h"

// The module record, and the header that hands it out.
winampVisHeader* PluginHeader();
winampVisModule* GetModule(int index);

void Config(winampVisModule* module);
int Init(winampVisModule* module);
int Render(winampVisModule* module);
void Quit(winampVisModule* module);
LRESULT CALLBACK ShowWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

inline constexpr const char* kWindowClassName = "Pelloran";
