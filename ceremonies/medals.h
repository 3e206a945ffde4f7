// The medal presentation: shown after each event of a full competition, over the finished event's
// world. The medal winners stand on a three-step podium as figures the player may grab, each
// wearing its medal with its flag on the podium front; a results board above reveals one ranked
// row every 30 frames, with a blinking "WORLD\nRECORD" on the winner's row when a record fell.
// The continue button (78) ends it; the game session watches clickedButton.
#pragma once

#include "sim/records.h"
#include "sim/scene_host.h"
#include "sim/sport_event.h"

#include <cstdint>

namespace kel {

constexpr int kMedalPlaces = 3;

// What the game flow tells the presentation about the event just finished. The scene copies it
// all, so nothing here has to outlive the constructor.
struct MedalSetup {
    int32_t eventId = kEventDash;          // the EventId just finished
    const PlayerRecord* players = nullptr; // the four slots, indexed by RankedResult::slot
    RankedResult standings[kPlayerCount];  // rank order; the first `competitorCount` count
    int32_t competitorCount = 0;           // 0..4
    bool withComputers = false;            // one human against three computer opponents
    bool newRecord = false;                // the winner set a world record
};

// Medals of the podium places (0 gold, 1 silver, 2 bronze; -1 for an absent figure), so that
// equal results share the better medal. `present` says which places have a figure.
void PodiumMedals(const RankedResult standings[kMedalPlaces], const bool present[kMedalPlaces],
                  int32_t medals[kMedalPlaces]);

class MedalPresentation : public SportEvent {
  public:
    // The finished event of the registered scene host; with none, four made-up competitors
    // (blended nations) in the 100 m dash.
    MedalPresentation();
    explicit MedalPresentation(const MedalSetup& setup);

    void Update() override;
    void Draw() override;
    void DrawHud() override;

    int32_t timer = 0;                           // frames since the screen was created
    b2Body* figures[kMedalPlaces] = {};          // places 1, 2, 3; null when empty or faulted
    int32_t medals[kMedalPlaces] = {-1, -1, -1}; // 0 gold, 1 silver, 2 bronze, -1 no figure
    bool nobodyQualified = false;                // every entry is faulted (or there are none)

    int32_t finishedEvent = kEventDash;   // EventId whose label and results are shown
    RankedResult standings[kPlayerCount]; // rank order, the first `competitorCount` count
    PlayerRecord slots[kPlayerCount];     // copies of the players, indexed by slot
    int32_t competitorCount = 0;
    bool withComputers = false;
    bool newRecord = false;
    bool standIn = false; // made-up competitors with no event world beneath; Draw adds a sky

  private:
    void Build(const MedalSetup& setup);
    int FigureSprite(int place) const;
};

// The scene factory's entry for scene id 19.
SportEvent* CreateMedalPresentation();

} // namespace kel
