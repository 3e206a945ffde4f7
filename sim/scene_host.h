// What a scene needs to know about the game flow around it. The game session implements this
// and registers itself; with no host registered a scene behaves as a practice attempt that is
// on screen, unpaused, with no panel open.
#pragma once

#include <cstdint>

class b2World;

namespace kel {

struct PlayerRecord;

// One entry of a finished event's ranked results.
struct RankedResult {
    int32_t slot = 0;    // player slot 0..3
    float result = 0.0f; // rounded to 0.01, in the unit of the event's score kind
    bool fault = false;
};

class SceneHost {
  public:
    virtual ~SceneHost() = default;

    // The physics outline overlay (developer key D) is on.
    virtual bool DebugDraw() const = 0;
    virtual void DrawPhysicsDebug(b2World* world) = 0;

    // The pause screen is up.
    virtual bool Paused() const = 0;
    // The event card, the credits panel or the nation picker is open over the scene.
    virtual bool PanelOpen() const = 0;
    // The session is showing a scene (not the menu, a panel or the medal presentation).
    virtual bool InScene() const = 0;
    // A multi-player competition is running.
    virtual bool CompetitionRunning() const = 0;

    // The competitors of the competition in turn order, at most four; 0 when there are none
    // (the ceremonies then parade stand-ins of their own).
    virtual int CompetitorCount() const { return 0; }
    // The player record of competitor k, k below CompetitorCount(); null when there is none.
    virtual const PlayerRecord* Competitor(int) const { return nullptr; }
    // The player slot (0..3) of competitor k: equal medal tallies rank the lower slot first.
    virtual int CompetitorSlot(int k) const { return k; }
    // One human competes against three computer opponents.
    virtual bool WithComputers() const { return false; }
    // Events the competition holds.
    virtual int ScheduleCount() const { return 0; }
    // The player slot (0..3) whose attempt the current scene is: the competitor whose turn it is in
    // a competition, slot 0 in practice.
    virtual int CurrentCompetitorSlot() const { return 0; }
    // The medal presentation is showing over the finished event's world.
    virtual bool MedalPresentationShowing() const { return false; }
    // An opening, medal or closing ceremony is on screen and running: a show nobody plays against.
    virtual bool CeremonyShowing() const { return false; }
    // The best medal haul of a human winner (gold, silver, bronze), which the closing
    // ceremonies raise in place; null when nothing keeps it.
    virtual int32_t* BestMedalHaul() { return nullptr; }

    // For the medal presentation: the EventId just finished (-1 when none), entry `rank` of its
    // ranked results (rank below CompetitorCount(); false when there is none), and whether its
    // winner set a world record.
    virtual int FinishedEvent() const { return -1; }
    virtual bool EventStanding(int, RankedResult*) const { return false; }
    virtual bool NewWorldRecord() const { return false; }
};

// Null unregisters.
void SetSceneHost(SceneHost* host);
SceneHost* CurrentSceneHost();

} // namespace kel
