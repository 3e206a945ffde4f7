// Sections: constants; building; rules per frame (air, entry, judging, after the dive); world
// drawing; HUD.
#include "events/diving/diving.h"

#include "base/app_state.h"
#include "base/helpers.h"
#include "base/random.h"
#include "audio/sound.h"
#include "gfx/font.h"
#include "gfx/renderer.h"
#include "sim/physics_compat.h"
#include "sim/records.h"

#include <cmath>
#include <cstdio>

namespace kel {

// ---- Constants -------------------------------------------------------------------------------

namespace {

constexpr float kGravity = 7.0f; // metres per second squared

// Hall: boxes by top-left corner and size, metres. The pool is the gap x = 0..12 with no floor.
struct GroundBox {
    float x, y, width, height;
};
constexpr GroundBox kGroundBoxes[] = {
    {-8.0f, -1.0f, 8.0f, 4.0f},    // left deck, top y = -1
    {12.0f, -1.0f, 8.0f, 4.0f},    // right deck
    {-11.0f, -16.0f, 30.0f, 2.0f}, // ceiling, underside y = -14
    {-5.0f, -10.0f, 6.0f, 1.0f},   // platform, top y = -10 for x = -5..1
};
constexpr float kGroundFriction = 0.5f;

// Diver: a 0.5 x 2 m box standing 0.5 m from the platform's edge.
constexpr float kDiverLeft = 0.25f;
constexpr float kDiverTop = -12.0f;
constexpr float kDiverWidth = 0.5f;
constexpr float kDiverLength = 2.0f;
constexpr float kDiverHalfLength = 1.0f;
constexpr float kDiverDensity = 1.0f; // kg per square metre
constexpr float kDiverFriction = 0.5f;

constexpr float kGrabDamping = 0.5f;    // damping ratio
constexpr float kGrabFrequency = 0.48f; // Hz
constexpr int kGrabBudgetFrames = 120;

constexpr float kCameraX = 5.0f;
constexpr float kCameraY = -6.5f;
constexpr float kZoom = 44.0f; // px per metre, on a screen at least 1024 px wide
constexpr int kWideScreen = 1024;

// Water and the pool area.
constexpr float kSurfaceY = 0.5f;
constexpr float kPoolAreaLeft = -4.0f; // metres: in the water beyond these is out of the pool
constexpr float kPoolAreaRight = 16.0f;
// A diver whose origin is below this rests at deck level. The deck top is y = -1, so a diver
// standing upright on a deck has its origin 2 m above it plus the contact skin (y = -2.015):
// a threshold of exactly -2 would miss it and leave the attempt waiting for ever.
constexpr float kDeckLevelY = -2.5f;

// Scoring.
constexpr float kSpinPerRadian = 0.45f; // spin per rad/s per frame above the water
constexpr float kSpinCap = 550.0f;
constexpr int kEntryFrames = 10;
constexpr int kSplashFrame = 3;          // entry frame whose sample plays the splash
constexpr float kHeadDownCosine = -0.5f; // head down within 60 degrees of vertical
constexpr float kQualityPerRadian = 3.0f / kPi;
constexpr float kFoulRaw = 50.0f;
constexpr float kMarkPerRaw = 10.0f * 0.002f; // raw 550 gives a base mark of 11
constexpr float kJudgeSpread = 2.0f;          // marks
constexpr int kMinMark = 1;
constexpr int kMaxMark = 10;
constexpr float kMarkMeanFactor = 0.2f;

// Water drag: newtons per metre per second of sinking, times |sin| of the tilt.
constexpr float kWaterDrag = 10.0f;
constexpr float kWaterAngularDamping = 1.0f; // per second, as tuned for the game's feel

// Splash droplets, metres per frame.
constexpr float kDropletSpeedFlat = 0.1f; // added at full tilt
constexpr float kDropletSpeedBase = 0.05f;
constexpr float kDropletSpeedMin = 0.66f;     // of the full speed
constexpr float kDropletGravity = 0.001f;     // metres per frame per frame
constexpr int kDropletSprite = 0;             // the white disc, 46 px across
constexpr float kDropletScale = 0.2f / 46.0f; // 0.2 m across
constexpr Colour kDropletColour = PackColour(66, 173, 255, 255);
constexpr Colour kWaterColour = PackColour(66, 173, 255, 100);

// After the dive, in game frames since it ended.
constexpr int kHandOverFrames = 30;
constexpr int kScoreLiftEvery = 30;
constexpr int kScoreLiftLast = 150;
constexpr int kCardEvery = 30;
constexpr int kTotalShownAfter = 180;
constexpr int kDnqShownFrom = 30;

// Stalls: once the dive has begun, ten seconds with no input and a still diver end it, and so
// does leaving this box (metres).
constexpr int kIdleCapFrames = 600;
constexpr float kWorldLeft = -40.0f;
constexpr float kWorldTop = -60.0f;
constexpr float kWorldRight = 60.0f;
constexpr float kWorldBottom = 40.0f;

// Drawing, world metres unless said.
constexpr int kBackdropSprite = 151;
constexpr int kDiverSprite = 152;
constexpr int kDiverDivingSprite = 153;
constexpr int kJudgeSprite = 154;
constexpr int kJudgeCardSprite = 155;
constexpr float kBackdropX = -7.8f;
constexpr float kBackdropY = -16.1f;
constexpr float kSceneryScale = 0.1f;
constexpr float kDiverScale = 0.08f;
constexpr float kDivingFallSpeed = 1.0f; // metres per second, head first
constexpr float kJudgeFirstX = 1.8f;
constexpr float kJudgeStepX = 2.1f;
float JudgeX(int i) {
    return kJudgeFirstX + kJudgeStepX * static_cast<float>(i);
}
constexpr float kJudgeY = -3.7f;
constexpr float kCardLeft = -0.3f; // from the judge's x
constexpr float kCardTop = -6.0f;
constexpr float kCardWidth = 1.5f;
constexpr float kCardHeight = 1.2f;
constexpr float kCardTextX = 0.45f; // from the judge's x
constexpr float kCardTextY = -5.8f;
constexpr float kTotalLeft = 4.45f;
constexpr float kTotalTop = -2.9f;
constexpr float kTotalWidth = 3.4f;
constexpr float kTotalHeight = 0.9f;
constexpr float kTotalTextX = 6.15f;
constexpr float kTotalTextY = -2.8f;
constexpr float kWorldFontScale = 0.1f;
constexpr Colour kMarkColour = PackColour(255, 50, 50, 255);
constexpr float kWaterLeft = 0.0f;
constexpr float kWaterTop = 0.35f;
constexpr float kWaterWidth = 12.0f;
constexpr float kWaterDepth = 3.0f;

// HUD, screen px.
constexpr float kDnqY = 280.0f;
constexpr float kHudScale = 4.0f;

uint32_t gJudgeColours[DivingEvent::kJudgeCount] = {};
bool gJudgeColoursChosen = false;

} // namespace

const uint32_t* DivingJudgeColours() {
    return gJudgeColours;
}

SportEvent* CreateDivingEvent() {
    return new DivingEvent();
}

// ---- Building --------------------------------------------------------------------------------

DivingEvent::DivingEvent() : SportEvent(kEventDiving) {
    CreateWorld(kGravity);
    for (const GroundBox& b : kGroundBoxes)
        AddGroundBox(b.x, b.y, b.width, b.height, kGroundFriction, 0.0f);
    diver = CreateBox(kDiverLeft, kDiverTop, kDiverWidth, kDiverLength, kDiverDensity, kDiverFriction, 0.0f);

    SetGrabParams(kGrabDamping, kGrabFrequency, kGrabBudgetFrames);
    SetCamera(kCameraX, kCameraY);
    if (gApp.screenWidth >= kWideScreen) zoom = kZoom;
    if (!gJudgeColoursChosen) {
        for (uint32_t& colour : gJudgeColours)
            colour = RandomPlayerColour();
        gJudgeColoursChosen = true;
    }
    SetBodyTag(groundBody, kTagQuietGround);
    SetBodyTag(diver, kTagAthlete);
    SetStallRule(kIdleCapFrames, kWorldLeft, kWorldTop, kWorldRight, kWorldBottom);
    WatchBody(diver);
}

// ---- Rules per frame -------------------------------------------------------------------------

void DivingEvent::Foul() {
    diveOver = true;
    fouled = true;
    StopMusic();
    PlayEffect(kSfxShortbuzz, 100, 0, 1.0f, false);
}

void DivingEvent::Update() {
    SportEvent::Update();
    StepWorld();

    if (grabbedBody != nullptr && !musicStarted) {
        musicStarted = true;
        PlayEffect(kSfxDiveboing, 100, 0, 1.0f, false);
        PlayMusic("Diving.mp3", true);
    }

    if (diveOver) {
        afterFrames += 1;
        if (afterFrames == kHandOverFrames) {
            fault = fouled;
            if (!fouled) result = averageMark;
            finished = true;
        }
        if (!fouled && afterFrames % kScoreLiftEvery == 0 && afterFrames <= kScoreLiftLast)
            PlayEffect(kSfxScorelift, 50, 0, 1.0f, false);
    } else {
        const b2Vec2 p = diver->GetPosition();
        const b2Rot& q = diver->GetTransform().q;
        const float c = q.c;
        const float s = q.s;
        const b2Vec2 v = diver->GetLinearVelocity();
        if (p.y + std::fabs(c) * kDiverHalfLength <= kSurfaceY) {
            spinTotal += std::fabs(diver->GetAngularVelocity()) * kSpinPerRadian;
            // A diver resting on the platform with grab budget left is still deciding.
            if ((grabBudget == 0 || p.y > kDeckLevelY) && !diver->IsAwake()) Foul();
        } else {
            if (p.x < kPoolAreaLeft || p.x > kPoolAreaRight) Foul();
            const float tilt = std::acos(Min(1.0f, std::fabs(c))) * 2.0f / kPi;
            if (waterFrames < kEntryFrames) SampleEntry(tilt);
            ApplyForceWaking(diver, b2Vec2(0.0f, -kWaterDrag * std::fabs(s) * v.y), p);
            SetTunedAngularDamping(diver, kWaterAngularDamping);
            // A foul in this frame has already ended the dive: no cards, no clapping.
            if (!diveOver && p.y - std::fabs(c) * kDiverHalfLength > kSurfaceY) Judge();
        }
        if (!diveOver && musicStarted) {
            const StallKind stall = CheckStall();
            if (stall != kStallNone) Foul();
        }
    }

    for (int i = 0; i < splashCount; ++i) {
        Droplet& d = droplets[i];
        d.x += d.vx;
        d.y += d.vy;
        d.vy += kDropletGravity;
    }
}

// One sample per frame of the first kEntryFrames in the water: the splash and the entry quality.
void DivingEvent::SampleEntry(float tilt) {
    if (waterFrames == kSplashFrame) PlayEffect(kSfxSplash, 100, 0, 1.0f, false);
    const b2Rot& q = diver->GetTransform().q;
    const float c = q.c;
    // Droplets fly from the lower end of the diver's long axis.
    const b2Vec2 lowerEnd =
        diver->GetWorldPoint(b2Vec2(0.0f, c <= 0.0f ? -kDiverHalfLength : kDiverHalfLength));
    const float count = diver->GetLinearVelocity().y * tilt;
    const int n = count > 0.0f && count < static_cast<float>(kMaxDroplets) ? static_cast<int>(count) : 0;
    for (int i = 0; i < n && splashCount < kMaxDroplets; ++i) {
        const float a = RandomFloat(-1.0f, 1.0f) * kPi / 2.0f;
        const float speed =
            RandomFloat(kDropletSpeedMin, 1.0f) * (tilt * kDropletSpeedFlat + kDropletSpeedBase);
        Droplet& d = droplets[splashCount++];
        d.x = lowerEnd.x;
        d.y = kSurfaceY;
        d.vx = std::sin(a) * speed;
        d.vy = -std::cos(a) * speed;
    }
    if (c < kHeadDownCosine) entrySum += 1.0f - std::acos(Min(1.0f, -c)) * kQualityPerRadian;
    waterFrames += 1;
}

void DivingEvent::Judge() {
    StopMusic();
    diveOver = true;
    spinTotal = Min(kSpinCap, spinTotal);
    const float raw = spinTotal * entrySum / static_cast<float>(waterFrames);
    if (raw < kFoulRaw) {
        fouled = true;
        PlayEffect(kSfxShortbuzz, 100, 0, 1.0f, false);
        return;
    }
    const float base = raw * kMarkPerRaw;
    int sum = 0;
    for (int32_t& mark : judgeMarks) {
        const float r = RandomFloat(-kJudgeSpread, kJudgeSpread);
        const float u = RandomFloat(0.0f, 1.0f);
        mark = ClampInt(static_cast<int>(u * r + base), kMinMark, kMaxMark);
        sum += mark;
    }
    averageMark = static_cast<float>(sum) * kMarkMeanFactor;
    PlayEffect(kSfxClapping, 100, 0, 1.0f, false);
}

// ---- World drawing ---------------------------------------------------------------------------

void DivingEvent::Draw() {
    DrawSpriteRotated(kBackdropSprite, kBackdropX, kBackdropY, 0.0f, kSceneryScale, kSceneryScale);

    // Judges, then all cards, then all marks: each pass is one batch, where judge by judge every
    // change of colour or texture would end a draw call.
    if (player != nullptr) {
        const bool judged = diveOver && !fouled;
        const int cards = judged ? Min(kJudgeCount, afterFrames / kCardEvery) : 0;
        for (int i = 0; i < kJudgeCount; ++i) {
            SetColour(gJudgeColours[i]);
            DrawSpriteRotated(kJudgeSprite, JudgeX(i), kJudgeY, 0.0f, kSceneryScale, kSceneryScale);
            if (i < cards)
                DrawSpriteRotated(kJudgeCardSprite, JudgeX(i), kJudgeY, 0.0f, kSceneryScale, kSceneryScale);
        }
        ResetColour();
        for (int i = 0; i < cards; ++i)
            FillRect(JudgeX(i) + kCardLeft, kCardTop, kCardWidth, kCardHeight, kWhite);
        const bool total = judged && afterFrames > kTotalShownAfter;
        if (total) FillRect(kTotalLeft, kTotalTop, kTotalWidth, kTotalHeight, kWhite);
        BitmapFont* font = gApp.font;
        char text[16];
        for (int i = 0; i < cards && font != nullptr; ++i) {
            std::snprintf(text, sizeof text, "%d", static_cast<int>(judgeMarks[i]));
            font->Print(JudgeX(i) + kCardTextX, kCardTextY, kAlignCentre, kWorldFontScale, kMarkColour, text);
        }
        if (total && font != nullptr) {
            std::snprintf(text, sizeof text, "%.1f", static_cast<double>(result));
            font->Print(kTotalTextX, kTotalTextY, kAlignCentre, kWorldFontScale, kBlack, text);
        }
        ResetColour();
    }

    // Droplets are tinted discs of the white sprite rather than filled squares: a filled square
    // ends its draw call, and a splash has up to 400 of them.
    SetColour(kDropletColour);
    for (int i = 0; i < splashCount; ++i)
        DrawSpriteScaled(kDropletSprite, droplets[i].x, droplets[i].y, kDropletScale, kDropletScale);
    ResetColour();

    const bool headFirst =
        diver->GetLinearVelocity().y > kDivingFallSpeed && diver->GetTransform().q.c < kHeadDownCosine;
    DrawBody(headFirst ? kDiverDivingSprite : kDiverSprite, diver, kDiverScale);
    DrawGrabLine();
    // The water goes over the diver, so a diver under the surface shows through it.
    FillRect(kWaterLeft, kWaterTop, kWaterWidth, kWaterDepth, kWaterColour);
}

// ---- HUD -------------------------------------------------------------------------------------

void DivingEvent::DrawHud() {
    if (!diveOver) {
        DrawProgressBar(static_cast<float>(grabBudget), static_cast<float>(kGrabBudgetFrames));
        return;
    }
    if (fouled && afterFrames >= kDnqShownFrom && gApp.font != nullptr)
        gApp.font->Print(gApp.screenCentreX, kDnqY, kAlignCentre, kHudScale, kBlack, "DNQ");
}

} // namespace kel
