// Saving the frame on screen as an indexed PNG in the user's pictures folder: the frame-save
// key of every host that has one.
#pragma once

#include <ctime>
#include <string>

#include "hostkit/indexed_png.h"  // FrameFileName
#include "hostkit/presented_frame.h"

namespace hostkit {

// The pictures folder of the XDG user directories (XDG_PICTURES_DIR in user-dirs.dirs under
// $XDG_CONFIG_HOME or ~/.config), else ~/Pictures.
std::string PicturesFolder();

// Writes the frame's indices and palette into `folder` (made when missing) under the name for
// `when`, with -2, -3 ... before the ending when that name is taken. Returns the path written,
// or an empty string with `error` set to one line naming the file and the problem.
std::string SaveFrame(const RenderedFrame& frame, const std::string& folder, std::time_t when,
                      std::string* error);

}  // namespace hostkit
