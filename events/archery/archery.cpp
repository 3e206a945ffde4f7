// Sections: constants; building; rules per frame; hits; world drawing; HUD.
#include "events/archery/archery.h"

#include "base/app_state.h"
#include "base/helpers.h"
#include "audio/sound.h"
#include "gfx/font.h"
#include "gfx/renderer.h"
#include "sim/physics_compat.h"
#include "sim/records.h"

#include <cmath>

namespace kel {

// ---- Constants -------------------------------------------------------------------------------

namespace {

constexpr float kGravity = 7.0f;       // metres per second squared
constexpr float kFriction = 0.5f;      // ground, archer, arrows and board alike
constexpr float kGrabDamping = 0.5f;   // damping ratio
constexpr float kGrabFrequency = 2.0f; // Hz
constexpr int kEndFrames = 60;         // frames from the decision to `finished`

// Ground: top surface y = 0 from x = -20 to 80.
constexpr float kGroundLeft = -20.0f; // metres
constexpr float kGroundWidth = 100.0f;
constexpr float kGroundDepth = 4.0f;

// Archer: a 0.7 x 2.4 m box standing left of the arrows (top-left corner given).
constexpr float kArcherLeft = -0.5f;
constexpr float kArcherTop = -2.5f;
constexpr float kArcherWidth = 0.7f;
constexpr float kArcherHeight = 2.4f;
constexpr float kArcherDensity = 1.0f;         // kg per square metre
constexpr float kArcherDownAngle = 1.2566371f; // radians (72 degrees) either way

// Arrows: 2.55 x 0.3 m boxes stacked 0.4 m apart, every other one 0.2 m further right. The
// lowest lies on the ground (its top-left corner at y = -0.3), the others 0.1 m above the one
// below, so none starts inside the ground or another arrow.
constexpr float kArrowLeft = 1.25f;
constexpr float kArrowStagger = 0.2f;
constexpr float kArrowLowestTop = -0.3f;
constexpr float kArrowSpacing = 0.4f;
constexpr float kArrowLength = 2.55f;
constexpr float kArrowThickness = 0.3f;
constexpr float kArrowDensity = 0.45f;
constexpr float kArrowTipX = 1.27f; // metres ahead of the arrow's centre, in its own frame
// An arrow whose centre lies strictly between these x is still in the stack.
constexpr float kStackLeftX = 2.3f;
constexpr float kStackRightX = 2.95f;

// Board: a static 0.7 x 4.5 m box turned -18 degrees about its centre.
constexpr float kTargetLeft = 20.5f;
constexpr float kTargetTop = -10.0f;
constexpr float kTargetWidth = 0.7f;
constexpr float kTargetHeight = 4.5f;
constexpr float kTargetAngle = -0.31415927f; // radians
// An arrow sticks when its axis is within 60 degrees of the board's normal, pointing in.
constexpr float kStickAlignment = 0.5f;
// Scoring: the tip's offset from the centre plus 0.1 m, mapped from 0..2.25 m onto 9.99..0.
constexpr float kScoreSlack = 0.1f;
constexpr float kScoreReach = 2.25f;
constexpr float kScoreTop = 9.99f;

constexpr int kStartClock = 600;    // clock units; 60 to the displayed second
constexpr int kClockHoldPeriod = 8; // the clock stands still on every 8th frame
constexpr int kClockBeepPeriod = 60;
constexpr int kBowFrames = 30; // frames the bow stays drawn after a grab
constexpr int kBowTwangAt = 1; // bowTimer value at which the string is let go

constexpr float kCameraX = 11.0f; // metres; the default zoom shows the archer and the board
constexpr float kCameraY = -6.0f;

// Sprites of the archery sheet.
constexpr int kRangeSprite = 238;
constexpr int kArcherSprite = 239;
constexpr int kBowRelaxedSprite = 240;
constexpr int kBowDrawnSprite = 241;
constexpr int kArrowSprite = 242;
constexpr int kTargetSprite = 243;
constexpr float kRangeOffsetX = -12.8f; // metres from the camera: the backdrop fills the view
constexpr float kRangeOffsetY = -9.6f;
constexpr float kSpriteScale = 0.1f; // metres per art pixel
constexpr float kArrowScale = 0.05f;
constexpr int kBlinkPeriod = 16; // frames; the next arrow is faded in the first half
constexpr Colour kBlinkColour = PackColour(255, 255, 255, 120);
// The points of a hit rise one metre over a second beside the board.
constexpr float kPointsX = 21.4f;
constexpr float kPointsY = -8.0f;
constexpr int kPointsFrames = 60;
constexpr float kPointsScale = 0.1f; // metres per font pixel

// HUD, screen px.
constexpr float kScoreY = 40.0f;
constexpr float kScoreScale = 8.0f;
constexpr Colour kScoreColour = PackColour(255, 30, 30, 255);
constexpr float kClockX = 200.0f;
constexpr float kClockScale = 4.0f;
constexpr float kDnqY = 240.0f;

} // namespace

int ArrowPoints(float offset) {
    const float score = RemapClamped(std::fabs(offset) + kScoreSlack, 0.0f, kScoreReach, kScoreTop, 0.0f);
    return static_cast<int>(score) + 1;
}

SportEvent* CreateArcheryEvent() {
    return new ArcheryEvent();
}

// ---- Building --------------------------------------------------------------------------------

ArcheryEvent::ArcheryEvent() : SportEvent(kEventArchery) {
    CreateWorld(kGravity);
    AddGroundBox(kGroundLeft, 0.0f, kGroundWidth, kGroundDepth, kFriction, 0.0f);
    archer = CreateBox(kArcherLeft, kArcherTop, kArcherWidth, kArcherHeight, kArcherDensity, kFriction, 0.0f);
    for (int i = 0; i < kArrowCount; ++i) {
        const float left = kArrowLeft + kArrowStagger * static_cast<float>(i % 2);
        const float top = kArrowLowestTop - kArrowSpacing * static_cast<float>(i);
        b2Body* arrow = CreateBox(left, top, kArrowLength, kArrowThickness, kArrowDensity, kFriction, 0.0f);
        arrow->SetBullet(true);
        SetBodyValue(arrow, kArrowValue);
        SetBodyTag(arrow, kTagWood);
        arrows[kArrowCount - 1 - i] = arrow;
    }
    target = CreateBox(kTargetLeft, kTargetTop, kTargetWidth, kTargetHeight, 0.0f, kFriction, 0.0f);
    target->SetTransform(target->GetPosition(), kTargetAngle);
    SetBodyTag(groundBody, kTagWoodFloor);
    SetBodyTag(archer, kTagAthlete);

    SetGrabParams(kGrabDamping, kGrabFrequency, 0);
    SetCamera(kCameraX, kCameraY);
    nextArrow = 0;
    lastPoints = -1;
    framesSinceHit = 0;
    clock = kStartClock;
    phase = kWaiting;
}

bool ArcheryEvent::IsTrackedBody(b2Body* body) {
    if (nextArrow < 0) return false;
    for (int k = 0; k <= nextArrow && k < kArrowCount; ++k) {
        if (body == arrows[k] && body->GetJointList() == nullptr) {
            bowTimer = kBowFrames;
            return true;
        }
    }
    return false;
}

// ---- Rules per frame -------------------------------------------------------------------------

void ArcheryEvent::EndRound() {
    phase = kEnded;
    phaseFrames = 0;
    StopMusic();
}

void ArcheryEvent::Update() {
    SportEvent::Update();
    StepWorld();
    phaseFrames += 1;
    framesSinceHit += 1;
    if (bowTimer > 0) {
        bowTimer -= 1;
        if (bowTimer == kBowTwangAt) PlayEffect(kSfxBow, 100, -80, 1.0f, false);
    }

    if (phase == kWaiting && grabbedBody != nullptr) {
        phase = kShooting;
        phaseFrames = 0;
        PlayMusic("Archery.mp3", true);
    }
    if (phase == kShooting) {
        // The clock runs at 7/8 of real time; it beeps each time it moves onto a whole second,
        // not again on the frames where it stands.
        if (gApp.frameCounter % kClockHoldPeriod != 0) {
            clock -= 1;
            if (clock % kClockBeepPeriod == 0) PlayEffect(kSfxBeep, 30, 0, 0.75f, false);
        }
        const b2Rot& q = archer->GetTransform().q;
        const float archerAngle = std::atan2(q.s, q.c);
        if (clock <= 0) {
            PlayEffect(result > 0.0f ? kSfxClapping : kSfxAww, 100, 0, 1.0f, false);
            EndRound();
        } else if (archerAngle > kArcherDownAngle || archerAngle < -kArcherDownAngle) {
            PlayEffect(kSfxShortbuzz, 100, 0, 1.0f, false);
            result = 0.0f;
            fault = true;
            EndRound();
        } else {
            ScoreHits();
        }
        for (int k = 0; k < kArrowCount; ++k) {
            const float x = arrows[k]->GetPosition().x;
            if (x > kStackLeftX && x < kStackRightX) {
                nextArrow = k;
                break;
            }
        }
    } else if (phase == kEnded && phaseFrames == kEndFrames) {
        finished = true;
    }
}

// ---- Hits ------------------------------------------------------------------------------------

void ArcheryEvent::ScoreHits() {
    for (b2Contact* c = world->GetContactList(); c != nullptr; c = c->GetNext()) {
        if (!c->IsTouching()) continue;
        b2Body* a = c->GetFixtureA()->GetBody();
        b2Body* b = c->GetFixtureB()->GetBody();
        b2Body* arrow = a == target ? b : (b == target ? a : nullptr);
        if (arrow == nullptr || BodyValue(arrow) != kArrowValue) continue;
        const float alignment = std::cos(target->GetAngle() - arrow->GetAngle());
        if (!(alignment > kStickAlignment)) continue;
        const b2Vec2 tip = arrow->GetWorldPoint(b2Vec2(kArrowTipX, 0.0f));
        const float offset = target->GetLocalPoint(tip).y;
        PlayEffect(kSfxSpeared, 100, 80, 1.0f, false);
        CreateWeld(arrow, target);
        // A stuck arrow collides with nothing more; the contact goes at the next step.
        SetBodyFilter(arrow, 0x0001, 0x0000);
        const int points = ArrowPoints(offset);
        lastPoints = points;
        framesSinceHit = 0;
        result += static_cast<float>(points);
    }
}

// ---- World drawing ---------------------------------------------------------------------------

void ArcheryEvent::Draw() {
    DrawSpriteRotated(kRangeSprite, cameraX + kRangeOffsetX, cameraY + kRangeOffsetY, 0.0f, kSpriteScale,
                      kSpriteScale);
    if (player != nullptr) {
        DrawBodyPlain(bowTimer >= 1 ? kBowDrawnSprite : kBowRelaxedSprite, archer, kSpriteScale);
        DrawBody(kArcherSprite, archer, kSpriteScale);
    }
    for (int k = 0; k < kArrowCount; ++k) {
        if (k == nextArrow && phaseFrames % kBlinkPeriod < kBlinkPeriod / 2 && phase != kEnded)
            SetColour(kBlinkColour);
        DrawBodyPlain(kArrowSprite, arrows[k], kArrowScale);
        ResetColour();
    }
    DrawBodyPlain(kTargetSprite, target, kSpriteScale);
    DrawGrabLine();
    BitmapFont* font = gApp.font;
    if (font != nullptr && lastPoints != -1 && framesSinceHit < kPointsFrames) {
        const float rise = static_cast<float>(framesSinceHit) / static_cast<float>(kPointsFrames);
        font->Printf(kPointsX, kPointsY - rise, kAlignLeft, kPointsScale, kWhite, "%d", lastPoints);
    }
}

// ---- HUD -------------------------------------------------------------------------------------

void ArcheryEvent::DrawHud() {
    BitmapFont* font = gApp.font;
    if (font == nullptr) return;
    const float cx = gApp.screenCentreX;
    if (fault) {
        font->Print(cx, kDnqY, kAlignCentre, kClockScale, kBlack, "DNQ");
        return;
    }
    font->Printf(cx, kScoreY, kAlignCentre, kScoreScale, kScoreColour, "%d", static_cast<int>(result));
    font->Printf(kClockX, kScoreY, kAlignRight, kClockScale, kBlack, "%d:%02d", clock / 60,
                 clock % 60 * 100 / 60);
}

} // namespace kel
