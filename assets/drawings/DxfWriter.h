// Writes a Drawing as an R12 DXF file: header extents, a layer table and LINE entities.
#pragma once

#include <iosfwd>
#include <string>

#include "assets/drawings/Drawing.h"

namespace drawings {

// Every group code and every value on its own line.
std::string DxfText(const Drawing& drawing);
bool WriteDxf(const Drawing& drawing, const std::string& file, std::ostream& errors);

}  // namespace drawings
