// The sound server's capture sources, for --list-devices and --capture NAME.
#pragma once

#include <string>
#include <vector>

namespace player {

struct CaptureDevice {
    std::string name;         // what --capture takes
    std::string description;  // what people call it
    bool monitor = false;     // the sound an output plays
};

// The sources the sound server offers; false with the reason when no server answers.
bool ListCaptureDevices(std::vector<CaptureDevice>* devices, std::string* error);

}  // namespace player
