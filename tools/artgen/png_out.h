// Writes a canvas as an 8-bit RGBA PNG, rows from the top. The bytes depend only on the pixels
// (no time stamp, fixed compression settings), so repeated runs give identical files.
#pragma once

#include "canvas.h"

#include <string>

namespace artgen {

bool WritePngFile(const std::string& path, const Canvas& canvas, std::string& error);

} // namespace artgen
