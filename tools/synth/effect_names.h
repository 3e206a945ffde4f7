// The names of the game's 45 sound effects, in the order of its effect table (audio/sound.h): the
// generator makes "sound/<name>.wav" from "assets/sound/effects/<name>.sfx" for each.
#pragma once

#include "audio/sound.h"

namespace kel::synth {

inline constexpr const char* kEffectNames[] = {
    "boing2",      "diveboing", "horse2",      "speared", "impale", "shortbuzz", "splash",       "clapping",
    "gunshot",     "spring",    "bow",         "barset",  "aww",    "skid",      "crash",        "footstep3",
    "whistlelong", "tap1",      "tap2",        "untap1",  "hoout1", "hnnng1",    "hup2",         "contact5",
    "oof1",        "mat1",      "hammerspin1", "cycle3",  "row1",   "ignite",    "jet1",         "hoof",
    "harrp",       "hurrrr",    "ruaah",       "metal3",  "wood3",  "medal4",    "hammerimpact", "scorelift",
    "beep",        "fw_launch", "fw_explode",  "twinkle", "blip",
};
static_assert(sizeof(kEffectNames) / sizeof(kEffectNames[0]) == kSfxCount, "one patch name per effect id");

// The one effect the game plays looping; its end must lead back into its start.
inline constexpr const char* kLoopingEffect = "jet1";

} // namespace kel::synth
