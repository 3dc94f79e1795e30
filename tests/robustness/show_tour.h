// The show inside the test process, started from a plug-in folder and taken through every scene
// of both acts: each change of picture, palette and figure, the tree's leaves, the flock.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/win32.h"

namespace robustness {

struct TourResult {
    int initResult = -1;
    int renders = 0;        // Render calls made
    int failedRenders = 0;  // Render calls that did not return 0
    int presented = 0;      // frames the display showed
    bool quitRequested = false;
    std::string errors;  // everything written to stderr, Init to Quit
    std::vector<std::string> messageBoxes;
    int windowsLeft = 0;  // windows and display objects alive after Quit, beyond those before
    int displayObjectsLeft = 0;
    int lastFrameColours = 0;  // distinct indices in the last frame shown

    // Lines of `errors` that contain `text`.
    int LinesWith(const std::string& text) const;
};

// Init with `instance` as the module's own (so its folder is the plug-in's), about a hundred
// frames around every change of the cycle with a loud, changing sound, then Quit.
// `beforeRender`, when given, runs before each Render with the number of Renders made so far.
TourResult TourTheShow(HINSTANCE instance, const std::function<void(int)>& beforeRender = {});

// The tour went through: Init succeeded, every frame was rendered and shown, nothing asked to
// quit or showed a message box, and Quit left no window or display object behind.
void ExpectTheShowWentOn(const TourResult& tour);

}  // namespace robustness
