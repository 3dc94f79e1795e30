// What the browser back-end tells its host page beyond the published calls.
#pragma once

namespace platform::detail {

// The packaged file system: the program and the plug-in "live" in /tolvek, the data pack beside.
inline constexpr const char* kWebProgramPath = "/tolvek/tolvek-web";
inline constexpr const char* kWebPluginPath = "/tolvek/vis_tolvek.wasm";

}  // namespace platform::detail
