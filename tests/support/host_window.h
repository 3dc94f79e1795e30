// The window a host gives a visualization module as its parent, and the module made ready to
// start under it, for the tests, benchmarks and soak program that host the show themselves.
#pragma once

#include "host/winamp_vis.h"
#include "platform/win32.h"

namespace testing_support {

// Registers `className` with `procedure` (DefWindowProcA when null) and opens a window of it.
HWND OpenHostWindow(const char* className, WNDPROC procedure = nullptr);
// Destroys the window and unregisters its class.
void CloseHostWindow(HWND window, const char* className);

// A host's message pump: delivers what is waiting; true when the quit request was among it.
bool PumpMessages();
// Drops what is waiting (an earlier show's leftovers) undelivered; true when the quit request
// was among it.
bool DiscardMessages();

// The fields a host sets before Init: its window, the module's instance, 44.1 kHz stereo.
void PrepareModule(winampVisModule* module, HWND parent, HINSTANCE instance);

}  // namespace testing_support
