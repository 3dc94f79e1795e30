// The one show of the process. The plug-in and the platform layer under it are one instance per
// process, so only one "Quenari Tolvek" source at a time can run a show: the first one shown
// holds it until it is removed; any other says so on its frame and takes over once the holder
// is gone. The show itself lives on OBS's video thread; a source removed on OBS's destruction
// thread only gives it up, and the next video tick calls Quit.
#pragma once

#include <obs.h>

#include <string>

#include "hostkit/desktop/embedded_show.h"

namespace tolvek_obs {

class ShowSlot {
  public:
    // The holder, or null.
    using Holder = const void*;

    // On the video thread: the show (made on first use), its commands aimed at `listened`.
    static hostkit::EmbeddedShow& Show();
    static void AimCommands(obs_source_t* listened);
    // True when `source` holds the show now (it took it, or already held it).
    static bool Take(Holder source, const std::string& name);
    static bool Holds(Holder source);
    static std::string HolderName();
    // What the plug-in said since the show last started (message boxes, lines about its files):
    // a few lines, then "...". On the video thread.
    static std::string Said();
    static void ForgetSaid();
    // The show started anew: its frames are counted from here.
    static void Started();
    static int FramesThisShow();

    // Any thread: `source` goes; the show it held stops on the next video tick.
    static void GiveUp(Holder source);

    // On the video thread, before the sources' own ticks: Quit for a show whose holder went.
    static void Tick();
    // On the video thread: Quit if running, with a line in the log saying why and what is left.
    static void StopShow(const std::string& why);
    // When OBS unloads the module (its video thread has ended): Quit, and the show goes.
    static void Shutdown();
};

// One line in OBS's log, with the module's prefix.
void LogInfo(const std::string& line);
void LogWarning(const std::string& line);

}  // namespace tolvek_obs
