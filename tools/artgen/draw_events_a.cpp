#include "draw_areas_a.h"

namespace artgen {

DrawnList EventDrawnSpritesA() {
    static const std::vector<DrawnSprite> all = [] {
        DrawnCollector out;
        AddCeremonySprites(out);
        AddOpponentSprites(out);
        AddDivingSprites(out);
        AddFieldSprites(out);
        AddTrackSprites(out);
        AddRingsSprites(out);
        return out.sprites;
    }();
    return {all.data(), int(all.size())};
}

} // namespace artgen
