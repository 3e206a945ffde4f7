#include "drawn.h"

namespace artgen {

DrawnList EventDrawnSpritesB() { return {nullptr, 0}; }

} // namespace artgen
