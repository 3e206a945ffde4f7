#include "draw_areas_a.h"

namespace artgen {

void AddRingsSprites(DrawnCollector&) {}

} // namespace artgen
