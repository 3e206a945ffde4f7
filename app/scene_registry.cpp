#include "app/scene_registry.h"

#include "ceremonies/closing.h"
#include "ceremonies/medals.h"
#include "ceremonies/opening.h"
#include "events/kayak/kayak.h"
#include "events/rowing/rowing.h"
#include "events/sprint/sprint.h"
#include "events/swimming/swimming.h"
#include "platform/log.h"
#include "sim/records.h"
#include "sim/sport_event.h"

#include <iterator>

namespace kel {
namespace {

// Indexed by scene id. Each scene adds its factory here when it is written; a null entry keeps
// the game and the runner from offering a scene that does not exist.
constexpr SceneFactory kSceneFactories[] = {
    nullptr,                 // 0 diving
    nullptr,                 // 1 javelin
    nullptr,                 // 2 equestrian
    CreateSprintEvent,       // 3 100 m dash
    nullptr,                 // 4 rings
    nullptr,                 // 5 high jump
    nullptr,                 // 6 weightlifting
    nullptr,                 // 7 shot put
    nullptr,                 // 8 pole vault
    CreateRowingEvent,       // 9 rowing
    CreateSwimmingEvent,     // 10 swimming
    nullptr,                 // 11 racewalk
    nullptr,                 // 12 long jump
    CreateWhitewaterEvent,   // 13 kayak slalom
    nullptr,                 // 14 hammer throw
    nullptr,                 // 15 cycling
    nullptr,                 // 16 archery
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
