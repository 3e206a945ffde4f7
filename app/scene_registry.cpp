#include "app/scene_registry.h"

#include "audio/sound.h"
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
#include "gfx/renderer.h"
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
    CreateHighJumpEvent,     // 5 high jump
    CreateWeightliftingEvent, // 6 weightlifting
    CreateShotPutEvent,      // 7 shot put
    CreatePoleVaultEvent,    // 8 pole vault
    CreateRowingEvent,       // 9 rowing
    CreateSwimmingEvent,     // 10 swimming
    CreateWalkEvent,         // 11 racewalk
    CreateLongJumpEvent,     // 12 long jump
    CreateWhitewaterEvent,   // 13 kayak slalom
    CreateHammerThrowEvent,  // 14 hammer throw
    CreateCyclingEvent,      // 15 cycling
    CreateArcheryEvent,      // 16 archery
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

// The piece each scene plays, opened when the scene is created so that starting it in play
// allocates nothing; null for a scene without music.
constexpr const char* kSceneMusic[] = {
    "Diving.mp3",            // 0 diving
    "Javelin.mp3",           // 1 javelin
    "Equestrian.mp3",        // 2 equestrian
    "100MDash.mp3",          // 3 100 m dash
    "Rings.mp3",             // 4 rings
    "HighJump.mp3",          // 5 high jump
    "Weightlifting.mp3",     // 6 weightlifting
    "ShotPut.mp3",           // 7 shot put
    "PoleVault.mp3",         // 8 pole vault
    "Rowing.mp3",            // 9 rowing
    "Swimming.mp3",          // 10 swimming
    "Racewalking.mp3",       // 11 racewalk
    "ShotPut.mp3",           // 12 long jump
    "KayakSlalom.mp3",       // 13 kayak slalom
    "HammerThrow.mp3",       // 14 hammer throw
    "Cycling.mp3",           // 15 cycling
    "Archery.mp3",           // 16 archery
    nullptr,                 // 17 unused
    nullptr,                 // 18 menu
    "MedalPresentation.mp3", // 19 medal presentation
    "OpeningCeremonies.mp3", // 20 opening ceremonies
    "ClosingCeremonies.mp3", // 21 closing ceremonies
};
static_assert(std::size(kSceneMusic) == kSceneIdCount, "one entry per scene id 0..21");

// The art slots each scene draws from beyond the menu's, loaded when the scene is first created
// rather than at start-up; -1 for none. A slot a scene draws from without being named here loads
// the first time it is drawn.
constexpr int kSceneSlots[][3] = {
    {11, -1, -1}, // 0 diving
    {12, -1, -1}, // 1 javelin
    {13, -1, -1}, // 2 equestrian
    {14, -1, -1}, // 3 100 m dash
    {15, -1, -1}, // 4 rings
    {16, -1, -1}, // 5 high jump
    {17, -1, -1}, // 6 weightlifting
    {18, -1, -1}, // 7 shot put
    {24, 16, -1}, // 8 pole vault: the high jump's mat
    {19, -1, -1}, // 9 rowing
    {20, -1, -1}, // 10 swimming
    {14, -1, -1}, // 11 racewalk
    {14, 16, -1}, // 12 long jump: the high jump's sheet too
    {19, 20, 14}, // 13 kayak slalom: the swimming and dash sheets too
    {21, -1, -1}, // 14 hammer throw
    {22, -1, -1}, // 15 cycling
    {23, -1, -1}, // 16 archery
    {-1, -1, -1}, // 17 unused
    {-1, -1, -1}, // 18 menu
    {10, -1, -1}, // 19 medal presentation
    {9, -1, -1},  // 20 opening ceremonies
    {10, 9, -1},  // 21 closing ceremonies
};
static_assert(std::size(kSceneSlots) == kSceneIdCount, "one entry per scene id 0..21");

} // namespace

bool SceneBuilt(int id) {
    return id >= 0 && id < kSceneIdCount && kSceneFactories[id] != nullptr;
}

SportEvent* CreateSceneById(int id) {
    if (!SceneBuilt(id)) {
        LogDebug("Scene %d does not exist", id);
        return nullptr;
    }
    // The medal presentation draws over the event that has just finished, so that event's sheet
    // stays; any other scene frees the sheets the scenes before it used.
    if (id != kSceneMedals) ReleaseTextureSlotsExcept(kSceneSlots[id], static_cast<int>(std::size(kSceneSlots[id])));
    for (const int slot : kSceneSlots[id])
        if (slot >= 0) EnsureTextureSlot(slot);
    SportEvent* scene = kSceneFactories[id]();
    if (kSceneMusic[id]) PrepareMusic(kSceneMusic[id]);
    return scene;
}

} // namespace kel
