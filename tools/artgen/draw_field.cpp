#include "draw_areas_a.h"

namespace artgen {

void AddFieldSprites(DrawnCollector&) {}

} // namespace artgen
