// Test programs find the built plug-in and its data pack, and run headless, without being told;
// a variable already set in the environment wins.
#include <cstdlib>

namespace {

const bool environmentReady = [] {
    setenv("TOLVEK_DISPLAY", "headless", 0);
    setenv("TOLVEK_PLUGIN_DIR", TOLVEK_BUILT_PLUGIN_DIR, 0);
    setenv("TOLVEK_DATA_DIR", TOLVEK_BUILT_PLUGIN_DIR "/v_tolvek", 0);
    return true;
}();

}  // namespace
