// The opening ceremonies of a competition: in the stadium a torch bearer runs in from the right
// to the cauldron on the stage, the competitors march in behind him with their flags, a blimp
// tows a banner across the sky, the cauldron is lit and the flags rise and fall in turns. Every
// figure is a physics box the player may grab and throw. The HUD button skips the ceremony (79)
// and, once it has run its course, continues (78); the game session ends the scene on either.
#pragma once

#include "sim/records.h"
#include "sim/sport_event.h"

#include <cstdint>

namespace kel {

class OpeningCeremonies : public SportEvent {
  public:
    enum Stage : int32_t {
        kTorchRun = 0,
        kMarch = 1,
        kBlimpFlight = 2,
        kCelebration = 3,
    };

    static constexpr int kSkipButton = 79;
    static constexpr int kMaxMarchers = kPlayerCount;

    // The competitors come from the registered scene host; without one (or with none in it) four
    // stand-ins with first-start nations and colours march.
    OpeningCeremonies();
    ~OpeningCeremonies() override;

    void Update() override;
    void Draw() override;
    void DrawHud() override;

    int32_t timer = 0;                   // frames since the scene, later the celebration, began
    b2Body* torchBearer = nullptr;       // owned by the world
    b2Body* marchers[kMaxMarchers] = {}; // one per competitor, the rest null
    b2Body* cauldronStand = nullptr;
    b2Body* cauldronBowl = nullptr;                     // rests loose on the stand
    b2Body* blimp = nullptr;                            // a floating ball drawn as the blimp
    float poleHeights[kMaxMarchers] = {};               // metres
    int32_t stageFrames = 0;                            // frames since the march began
    uint32_t jetChannel = 0;                            // the looping blimp sound, 0 when none
    int32_t stage = kTorchRun;                          // a Stage
    int32_t competitorCount = 0;                        // 1..4
    const PlayerRecord* competitors[kMaxMarchers] = {}; // in turn order; never null below the count
    PlayerRecord standIns[kMaxMarchers];                // marching when no host names the competitors
};

// The scene factory's entry for scene id 20.
SportEvent* CreateOpeningCeremonies();

} // namespace kel
