#include "sim/start_ritual.h"

#include "base/app_state.h"
#include "audio/sound.h"
#include "gfx/font.h"

namespace kel {

namespace {

constexpr int kStarterMarkSprite = 179;
constexpr int kStarterIdleSprite = 180;
constexpr int kStarterAfterGunSprite = 181;
constexpr int kStarterFiringSprite = 182;
constexpr int kStarterFiringFrames = 20;

constexpr float kCallScale = 4.0f;
constexpr float kGoScale = 8.0f;
constexpr int kGoFrames = 60;
constexpr int kGoBlinkPeriod = 4; // frames; shown in the first half

} // namespace

StartStep UpdateStartRitual(const StartRitual& ritual, SportEvent& scene, int32_t* phase, int32_t* timer,
                            int32_t startDelay, b2Body* athlete, const b2Body* starter) {
    if (*phase == kRaceOnYourMark) {
        if (!gApp.mousePressed) return kStartNothing;
        *phase = kRaceReady;
        *timer = 0;
        return kStartLeftMark;
    }
    if (*phase != kRaceReady) return kStartNothing;
    if (*timer == startDelay) {
        PlayEffect(kSfxGunshot, 100, scene.SoundPan(starter->GetPosition().x), 1.0f, false);
        *phase = kRaceRunning;
        *timer = 0;
        athlete->SetAwake(true);
        PlayMusic(ritual.music, true);
        return kStartGun;
    }
    return athlete->GetPosition().x > ritual.startLineX ? kStartFalse : kStartNothing;
}

int StarterSprite(int32_t phase, int32_t timer) {
    if (phase == kRaceOnYourMark) return kStarterMarkSprite;
    if (phase == kRaceRunning) return timer < kStarterFiringFrames ? kStarterFiringSprite : kStarterAfterGunSprite;
    return kStarterIdleSprite;
}

void DrawStartCalls(int32_t phase, int32_t timer, float callY, float markY) {
    BitmapFont* font = gApp.font;
    if (font == nullptr) return;
    const float cx = gApp.screenCentreX;
    if (phase == kRaceRunning && timer < kGoFrames && timer % kGoBlinkPeriod < kGoBlinkPeriod / 2)
        font->Print(cx, callY, kAlignCentre, kGoScale, kWhite, "GO!");
    if (phase == kRaceReady) font->Print(cx, callY, kAlignCentre, kCallScale, kBlack, "READY...");
    if (phase == kRaceOnYourMark)
        font->Print(cx, markY, kAlignCentre, kCallScale, kBlack, "ON YOUR MARK...\n<CLICK>");
}

} // namespace kel
