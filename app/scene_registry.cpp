#include "app/scene_registry.h"

#include "ceremonies/closing.h"
#include "ceremonies/medals.h"
#include "ceremonies/opening.h"
#include "events/archery/archery.h"
#include "events/cycling/cycling.h"
#include "events/diving/diving.h"
#include "events/equestrian/equestrian.h"
#include "events/hammer/hammer.h"
#include "events/highjump/highjump.h"
#include "events/javelin/javelin.h"
#include "events/kayak/kayak.h"
#include "events/longjump/longjump.h"
#include "events/polevault/polevault.h"
#include "events/racewalk/racewalk.h"
#include "events/rings/rings.h"
#include "events/rowing/rowing.h"
#include "events/shotput/shotput.h"
#include "events/sprint/sprint.h"
#include "events/swimming/swimming.h"
#include "events/weightlifting/weightlifting.h"
#include "platform/log.h"
#include "sim/records.h"
#include "sim/sport_event.h"

#include <iterator>

namespace kel {
namespace {

// Indexed by scene id. Each scene adds its factory here when it is written; a null entry keeps
// the game and the runner from offering a scene that does not exist.
constexpr SceneFactory kSceneFactories[] = {
    CreateDivingEvent,       // 0 diving
    CreateJavelinEvent,      // 1 javelin
    CreateEquestrianEvent,   // 2 equestrian
    CreateSprintEvent,       // 3 100 m dash
    CreateRingsEvent,        // 4 rings
    CreateWeightliftingEvent, // 6 weightlifting
    CreateShotPutEvent,      // 7 shot put
    CreateWalkEvent,         // 11 racewalk
    CreateHighJumpEvent,     // 5 high jump
    CreatePoleVaultEvent,    // 8 pole vault
    CreateLongJumpEvent,     // 12 long jump
    CreateHammerThrowEvent,  // 14 hammer throw
    CreateArcheryEvent,      // 16 archery
    CreateCyclingEvent,      // 15 cycling
    CreateRowingEvent,       // 9 rowing
    CreateSwimmingEvent,     // 10 swimming
    CreateWhitewaterEvent,   // 13 kayak slalom
    nullptr,                 // 17 unused
    nullptr,                 // 18 menu
    CreateMedalPresentation, // 19 medal presentation
    CreateOpeningCeremonies, // 20 opening ceremonies
    CreateClosingCeremonies, // 21 closing ceremonies
};
static_assert(std::size(kSceneFactories) == kSceneIdCount, "one entry per scene id 0..21");
static_assert(kEventCount == 17 && kSceneMenu == 18 && kSceneMedals == 19 && kSceneOpening == 20 &&
                  kSceneClosing == 21,
              "the table is indexed by EventId and the scene ids");

} // namespace

bool SceneBuilt(int id) {
    return id >= 0 && id < kSceneIdCount && kSceneFactories[id] != nullptr;
}

SportEvent* CreateSceneById(int id) {
    if (!SceneBuilt(id)) {
        LogDebug("Scene %d does not exist", id);
        return nullptr;
    }
    return kSceneFactories[id]();
}

} // namespace kel
