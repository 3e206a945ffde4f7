// The start of a race from the mark, shared by the 100 m dash and the racewalk: "ON YOUR
// MARK...\n<CLICK>" until the first press, "READY..." until the gun, then "GO!". The athlete's
// origin past the start line before the gun is a false start.
//
// The ritual keeps no state of its own: each race holds its phase, timer and gun delay, so the
// two events keep their own fields and numbers.
#pragma once

#include "sim/sport_event.h"

#include <cstdint>

namespace kel {

// The phases of a race run from the mark, in the events' own numbering.
enum RacePhase : int32_t {
    kRaceOnYourMark = 0,
    kRaceReady = 1,
    kRaceRunning = 2,
    kRaceFinished = 3,
    kRaceDisqualified = 4,
};

// What the ritual did in a frame.
enum StartStep : int {
    kStartNothing = 0,
    kStartLeftMark = 1, // the press left the mark: the race sets its gun delay now
    kStartGun = 2,      // the gun fired: phase is kRaceRunning and timer 0
    kStartFalse = 3,    // the athlete crossed the line before the gun: the race disqualifies
};

struct StartRitual {
    float startLineX = 0.25f; // metres
    const char* music = "";   // the race's track, started looping at the gun
};

// Runs the ritual's part of a frame for phases kRaceOnYourMark and kRaceReady (nothing in the
// others). On a press at the mark: phase kRaceReady, timer 0. When timer reaches startDelay in
// kRaceReady: "gunshot" panned at the starter, phase kRaceRunning, timer 0, the athlete woken
// and the music started. Otherwise the athlete's origin past the line reports a false start,
// which the race judges its own way.
StartStep UpdateStartRitual(const StartRitual& ritual, SportEvent& scene, int32_t* phase, int32_t* timer,
                            int32_t startDelay, b2Body* athlete, const b2Body* starter);

// The starter's pose: at the mark, firing for the first frames after the gun, arm down after
// it, standing otherwise.
int StarterSprite(int32_t phase, int32_t timer);

// The calls of the HUD: "GO!" blinking for a second after the gun, "READY...", and "ON YOUR
// MARK...\n<CLICK>" at markY (screen px). A missing font draws nothing.
void DrawStartCalls(int32_t phase, int32_t timer, float callY, float markY);

} // namespace kel
