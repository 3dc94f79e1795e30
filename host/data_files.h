// The data files beside the plug-in, the settings file and the window-position settings.
#pragma once

#include "platform/win32.h"

// One path slot: at most 259 characters and the terminating zero.
inline constexpr int kPathSlot = MAX_PATH;

struct DataFiles {
    char leafFile[kPathSlot];
    char figureFiles[4][kPathSlot];
    char backdropFiles[4][kPathSlot];
    char actorFiles[4][kPathSlot];
};

// The table: names relative to the plug-in's folder until Init makes them absolute.
extern DataFiles dataFiles;
// The last known left and top edge of the show window (50, 50 at load).
extern int windowX;
extern int windowY;

// The slot becomes folder + relative name with the system's separator. A path that does not fit
// the slot is refused with a line on the error output rather than cut; the slot is left empty.
bool FormAbsolute(char* slot, const char* folder, const char* relative);
// The plug-in's own folder, with its trailing separator; empty when the name has none. False (and
// empty) when the plug-in's own file name does not fit a path slot, so no folder can be trusted.
bool ModuleFolder(HINSTANCE instance, char* folder, int size);
// The leaf and figure slots, then the backdrop and actor slots interleaved, each formed anew
// from its relative name, so that a second Init does not put the folder in front twice.
void MakeLeafAndFigurePathsAbsolute(HINSTANCE instance);
void MakeSceneFilePathsAbsolute(HINSTANCE instance);
// Reads Screen_x and Screen_y from plugin.ini beside the plug-in; missing ones keep their value.
void ReadSettings(HINSTANCE instance, const char* section);
