// The player's commands and the keys that give them: what every host answers, each mapped onto
// its own controls (the desktop player's playlist, Audacious's transport, the page's sound).
#pragma once

#include <optional>

#include "platform/win32.h"

namespace hostkit {

// The numbers are the page's too (it reads them, with the names, from the module).
enum class PlayerCommand {
    Play,
    Pause,
    Stop,
    Previous,
    Next,
    SeekBack,
    SeekForward,
    VolumeUp,
    VolumeDown,
    ToggleFullScreen,
    ToggleShuffle,
    ToggleRepeat,
    SaveFrame,
    Quit,
};
inline constexpr int kCommandCount = static_cast<int>(PlayerCommand::Quit) + 1;

// X play, C or Space pause, V stop, Z/B previous/next, Left/Right seek, Up/Down volume,
// S shuffle, R repeat, P save the frame, F full screen, Q quit.
std::optional<PlayerCommand> CommandForKey(WPARAM virtualKey);

// Whether a held key repeats the command: seeking and volume follow it, the rest act once.
bool CommandRepeats(PlayerCommand command);

// "Play", "Pause", ... "Quit": the enumerator's own name.
const char* CommandName(PlayerCommand command);

// How far one seek goes and how much one volume step changes, in every host.
inline constexpr double kSeekSeconds = 5.0;
inline constexpr int kVolumeStepPercent = 5;

}  // namespace hostkit
