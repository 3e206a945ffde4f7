#include "drawn.h"

namespace artgen {

void DrawProgressBarFill(Canvas& canvas) { canvas.Fill(Rgba::Hex(0x40c040)); }

DrawnList UiDrawnSprites() { return {nullptr, 0}; }

} // namespace artgen
