#include "drawn.h"

namespace artgen {

DrawnList EventDrawnSpritesA() { return {nullptr, 0}; }

} // namespace artgen
