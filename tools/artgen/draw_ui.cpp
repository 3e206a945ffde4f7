#include "drawn.h"

namespace artgen {

DrawnList UiDrawnSprites() { return {nullptr, 0}; }

} // namespace artgen
