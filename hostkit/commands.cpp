// The key map and the commands' names.
#include "hostkit/commands.h"

namespace hostkit {

std::optional<PlayerCommand> CommandForKey(WPARAM virtualKey) {
    switch (virtualKey) {
        case 'X':
            return PlayerCommand::Play;
        case 'C':
        case VK_SPACE:
            return PlayerCommand::Pause;
        case 'V':
            return PlayerCommand::Stop;
        case 'Z':
            return PlayerCommand::Previous;
        case 'B':
            return PlayerCommand::Next;
        case VK_LEFT:
            return PlayerCommand::SeekBack;
        case VK_RIGHT:
            return PlayerCommand::SeekForward;
        case VK_UP:
            return PlayerCommand::VolumeUp;
        case VK_DOWN:
            return PlayerCommand::VolumeDown;
        case 'F':
            return PlayerCommand::ToggleFullScreen;
        case 'S':
            return PlayerCommand::ToggleShuffle;
        case 'R':
            return PlayerCommand::ToggleRepeat;
        case 'P':
            return PlayerCommand::SaveFrame;
        case 'Q':
            return PlayerCommand::Quit;
        default:
            return std::nullopt;
    }
}

bool CommandRepeats(PlayerCommand command) {
    return command == PlayerCommand::SeekBack || command == PlayerCommand::SeekForward ||
           command == PlayerCommand::VolumeUp || command == PlayerCommand::VolumeDown;
}

const char* CommandName(PlayerCommand command) {
    switch (command) {
        case PlayerCommand::Play:
            return "Play";
        case PlayerCommand::Pause:
            return "Pause";
        case PlayerCommand::Stop:
            return "Stop";
        case PlayerCommand::Previous:
            return "Previous";
        case PlayerCommand::Next:
            return "Next";
        case PlayerCommand::SeekBack:
            return "SeekBack";
        case PlayerCommand::SeekForward:
            return "SeekForward";
        case PlayerCommand::VolumeUp:
            return "VolumeUp";
        case PlayerCommand::VolumeDown:
            return "VolumeDown";
        case PlayerCommand::ToggleFullScreen:
            return "ToggleFullScreen";
        case PlayerCommand::ToggleShuffle:
            return "ToggleShuffle";
        case PlayerCommand::ToggleRepeat:
            return "ToggleRepeat";
        case PlayerCommand::SaveFrame:
            return "SaveFrame";
        case PlayerCommand::Quit:
            return "Quit";
    }
    return "";
}

}  // namespace hostkit
