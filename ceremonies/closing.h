// The closing ceremonies: the end of a full competition. The competitors are ranked by their
// medals, the best medal haul of a human winner is kept, the final medal table stands in the
// stadium, the competitors parade to the right under flag poles as tall as their rank, a rocket
// bursts into fireworks every four seconds and later balls rain from the sky. Every figure is a
// body the player may grab. The button at the bottom (88) ends the scene.
#pragma once

#include "sim/particles.h"
#include "sim/records.h"
#include "sim/sport_event.h"

#include <cstdint>

namespace kel {

constexpr int kClosingEndButton = 88;
constexpr int kClosingFireworkCount = 4;
constexpr int kClosingBallCount = 50;

// What the game flow tells the ceremonies about the competition that just ended. The scene copies
// what it needs, so nothing here has to outlive the constructor except `bestMedalHaul`.
struct ClosingSetup {
    const PlayerRecord* players = nullptr;      // the four slots, with nations, colours and medals
    int32_t order[kPlayerCount] = {0, 1, 2, 3}; // slots in turn order
    int32_t competitorCount = 0;                // the first entries of `order` that competed, 0..4
    bool withComputers = false;                 // one human against three computer opponents
    int32_t scheduleCount = 0;                  // events the competition held
    int32_t* bestMedalHaul = nullptr;           // gold, silver, bronze; raised in place, may be null
};

// Medal-table order of two slots: more golds, then silvers, then bronzes, then the lower slot.
bool RanksBefore(const PlayerRecord slots[kPlayerCount], int a, int b);

// A medal haul as one comparable number.
int64_t MedalHaulScore(int64_t gold, int64_t silver, int64_t bronze);

class ClosingCeremonies : public SportEvent {
  public:
    // The competitors of the registered scene host; with none, four first-start stand-ins
    // (blended nations, no medals).
    ClosingCeremonies();
    explicit ClosingCeremonies(const ClosingSetup& setup);
    ~ClosingCeremonies() override;

    void Update() override;
    void Draw() override;
    void DrawHud() override;

    int32_t timer = 0;                     // frames since the scene began
    int32_t ranking[kPlayerCount] = {};    // slots, best first; the first `competitorCount` count
    b2Vec2 rocketPos = b2Vec2(0.0f, 0.0f); // metres
    b2Vec2 rocketVel = b2Vec2(0.0f, 0.0f); // metres per frame
    int32_t rocketFrames = 0;              // frames of flight left; 0 when no rocket flies
    Emitter fireworks[kClosingFireworkCount];
    int32_t nextFirework = 0;                                    // the emitter that bursts next
    b2Body* fallingBalls[kClosingBallCount] = {};                // null slots are empty
    b2Body* paraders[kPlayerCount] = {};                         // figure k carries ranking[k]
    float poleHeights[kPlayerCount] = {10.2f, 7.8f, 5.4f, 3.0f}; // metres, by rank

    PlayerRecord slots[kPlayerCount]; // copies of the competitors' slots, indexed by slot
    int32_t competitorCount = 0;
    bool withComputers = false;

  private:
    void Build(const ClosingSetup& setup);
    void LaunchRocket();
    void FlyRocket();
    void DropBall();
    void Parade();
};

// The scene factory's entry for scene id 21.
SportEvent* CreateClosingCeremonies();

} // namespace kel
