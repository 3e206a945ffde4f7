// Sections: constants; building; rules per frame; the landing mark; world drawing; HUD.
#include "events/longjump/longjump.h"

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

constexpr float kGravity = 20.0f; // metres per second squared

constexpr float kPitStartX = 3.0f; // metres
constexpr float kPitLength = 32.0f;
constexpr float kPitDepth = 1.0f;
constexpr float kRunStartX = -19.65f;
constexpr float kGroundDepth = 4.0f;  // metres of every ground box below its top
constexpr float kRunwayLeft = -100.0f;
constexpr float kLandingLeft = 35.0f; // the ground beyond the pit ...
constexpr float kLandingWidth = 50.0f; // ... ends at x = 85
constexpr float kGroundFriction = 1.0f;

constexpr float kJumperWidth = 0.7f; // metres
constexpr float kJumperHeight = 2.5f;
constexpr float kJumperDensity = 1.0f;
constexpr float kJumpFriction = 1.0f; // from the grab on; the run-up slides without friction

// Sand: three rows of grains, 0.31 m apart, the middle row shifted half a step.
constexpr int kSandRows = 3;
constexpr int kSandGrainCount = 308;
constexpr float kGrainRadius = 0.15f; // metres
constexpr float kGrainDensity = 0.1f;
constexpr float kGrainFriction = 0.5f;
constexpr float kGrainStep = 0.31f;
constexpr float kGrainHalfStep = 0.155f;
constexpr float kBottomRowY = 0.855f;
constexpr float kRowStepY = 0.29f;

constexpr int kGrabBudgetFrames = 45;
constexpr float kGrabDamping = 1.0f;
constexpr float kGrabFrequency = 0.4f; // Hz
constexpr float kCameraLeadX = 4.0f;   // metres ahead of the athlete
constexpr float kCameraY = -5.0f;

constexpr float kRunForce = 7.0f; // newtons, 0.2 m below the centre
constexpr float kRunForceY = 0.2f;
constexpr float kHalfWidth = 0.35f;       // metres from the centre to the front edge
constexpr float kRayHeight = -0.02f;      // metres: the landing ray runs just above the runway surface
constexpr float kRayLength = 100.0f;      // metres from the pit edge
constexpr float kRestSpeedSquared = 0.1f; // (metres per second) squared
constexpr int kRestFrames = 60;
constexpr float kStandingCentreY = -1.35f; // metres: below it the athlete is down at runway level
constexpr int kEndFrames = 30;

// The world a jumper may not leave: past the end of the landing ground it would fall for ever.
constexpr float kWorldLeft = -100.0f;
constexpr float kWorldTop = -500.0f;
constexpr float kWorldRight = 85.0f;
constexpr float kWorldBottom = 10.0f;

// Drawing.
constexpr Colour kSkyColour = PackColour(0, 30, 61);
constexpr Colour kGroundColour = PackColour(229, 94, 48);
constexpr Colour kBoardGrey = PackColour(200, 200, 200);
constexpr Colour kMarkerYellow = PackColour(255, 255, 0);
constexpr Colour kMarkerYellowFaint = PackColour(255, 255, 0, 100);
constexpr Colour kMarkRed = PackColour(255, 70, 70);
constexpr Colour kSandColour = PackColour(212, 197, 66);
constexpr int kBlinkPeriod = 6; // frames; the first half is the faint or grey one
constexpr float kBoardLeft = -1.0f;
constexpr float kBoardWidth = 1.0f;
constexpr float kBoardHeight = 0.3f;
constexpr float kTickFirstX = -2.0f;
constexpr float kTickWidth = 0.1f;
constexpr float kTickHeight = 0.4f;
constexpr float kMarkerWidth = 0.1f;
constexpr float kMarkerHeight = 1.4f;
constexpr int kGrainSprite = 0;
constexpr float kGrainScale = 1.0f / 92.0f; // the 46 px disc shown 0.5 m wide
constexpr float kMarkTop = -1.0f;
constexpr float kMarkWidth = 0.1f;
constexpr float kMarkHeight = 2.0f;
constexpr float kMarkLabelY = -1.8f;
constexpr float kLabelScale = 0.1f;
constexpr int kJumpSprite = 193;
constexpr int kRunSprite = 169; // and 168, the other stride
constexpr float kSpriteScale = 0.1f;
constexpr float kHudScale = 4.0f;
constexpr float kFaultY = 240.0f; // px

// Reports where the ray meets the athlete; every other fixture is passed through.
class LandingRayCallback : public b2RayCastCallback {
  public:
    explicit LandingRayCallback(const LongJumpEvent* owner) : scene(owner) {}

    float ReportFixture(b2Fixture* fixture, const b2Vec2& at, const b2Vec2&, float) override {
        if (fixture->GetBody() != scene->jumper) return -1.0f;
        point = at;
        hit = true;
        return 0.0f;
    }

    bool hit = false;
    b2Vec2 point{0.0f, 0.0f};
    const LongJumpEvent* scene;
};

} // namespace

SportEvent* CreateLongJumpEvent() {
    return new LongJumpEvent();
}

// ---- Building --------------------------------------------------------------------------------

LongJumpEvent::LongJumpEvent() : SportEvent(kEventLongJump) {
    CreateWorld(kGravity);
    world->SetContactListener(nullptr); // the long jump makes no impact sounds
    pitStartX = kPitStartX;
    pitLength = kPitLength;
    pitDepth = kPitDepth;
    runStartX = kRunStartX;

    AddGroundBox(pitStartX, pitDepth, pitLength, kGroundDepth, kGroundFriction, 0.0f);
    AddGroundBox(kRunwayLeft, 0.0f, pitStartX - kRunwayLeft, kGroundDepth, kGroundFriction, 0.0f);
    AddGroundBox(kLandingLeft, 0.0f, kLandingWidth, kGroundDepth, kGroundFriction, 0.0f);
    jumper = CreateBox(runStartX, -kJumperHeight, kJumperWidth, kJumperHeight, kJumperDensity, 0.0f, 0.0f);

    sandGrains.reserve(kSandGrainCount);
    const float lastX = pitStartX + pitLength - kGrainHalfStep;
    for (int r = 0; r < kSandRows; ++r) {
        const float y = kBottomRowY - kRowStepY * static_cast<float>(r);
        for (float x = pitStartX + kGrainHalfStep * static_cast<float>(1 + r % 2); x < lastX; x += kGrainStep)
            sandGrains.push_back(CreateCircle(x, y, kGrainRadius, kGrainDensity, kGrainFriction, 0.0f));
    }

    grabMeterMax = kGrabBudgetFrames;
    SetGrabParams(kGrabDamping, kGrabFrequency, kGrabBudgetFrames);
    SetCamera(jumper->GetPosition().x + kCameraLeadX, kCameraY);
    trackedBody = jumper;
    SetStallRule(0, kWorldLeft, kWorldTop, kWorldRight, kWorldBottom);
}

bool LongJumpEvent::IsTrackedBody(b2Body* body) {
    return body == jumper;
}

// ---- Rules per frame -------------------------------------------------------------------------

void LongJumpEvent::EnterPhase(int32_t next) {
    phase = next;
    phaseFrames = 0;
}

void LongJumpEvent::Foul() {
    fault = true;
    StopMusic();
    EnterPhase(kEnded);
}

void LongJumpEvent::Update() {
    SportEvent::Update();
    StepWorld();
    phaseFrames += 1;

    if (!hasMark) {
        cameraX = Clamp(jumper->GetPosition().x + kCameraLeadX, runStartX, pitLength - kCameraLeadX);
        cameraY = kCameraY;
    }

    switch (phase) {
    case kWaiting:
        if (gApp.mousePressed) {
            phase = kRunUp;
            PlayMusic("ShotPut.mp3", true);
        }
        break;
    case kRunUp:
        ApplyForceWaking(jumper, b2Vec2(kRunForce, 0.0f), jumper->GetWorldPoint(b2Vec2(0.0f, kRunForceY)));
        if (grabbedBody != nullptr) {
            jumper->GetFixtureList()->SetFriction(kJumpFriction);
            PlayEffect(kSfxHoout1, 100, 0, 1.0f, false);
            EnterPhase(kJump);
        }
        // Still judged in the frame of the grab: a grab over the line is a foul.
        takeoffMarkX = jumper->GetPosition().x + kHalfWidth;
        if (takeoffMarkX > 0.0f) Foul();
        break;
    case kJump: {
        MeasureLanding();
        if (jumper->GetLinearVelocity().LengthSquared() < kRestSpeedSquared) {
            restFrames += 1;
        } else {
            restFrames = 0;
        }
        const b2Vec2 p = jumper->GetPosition();
        if (restFrames == kRestFrames) {
            if (hasMark) {
                result = markX;
            } else {
                fault = true;
            }
            StopMusic();
            EnterPhase(kEnded);
        } else if (p.y > kStandingCentreY && grabbedBody == nullptr && !hasMark && p.x < pitStartX) {
            Foul(); // down at runway level, short of the pit
        } else if (CheckStall() == kStallOutOfWorld) {
            Foul(); // flung past the end of the landing ground
        }
        break;
    }
    case kEnded:
        if (phaseFrames == kEndFrames) finished = true;
        break;
    default:
        break;
    }
}

// ---- The landing mark ------------------------------------------------------------------------

// The ray runs just above the runway surface from the pit edge; the first point where it meets
// the athlete is a landing mark, and the mark only ever moves back toward the foul line.
void LongJumpEvent::MeasureLanding() {
    const b2Vec2 from(pitStartX, kRayHeight);
    LandingRayCallback ray(this);
    // Box2D reports nothing for a ray that starts inside a shape: an athlete lying across the
    // pit's edge covers the start point, and its mark is the edge itself.
    if (jumper->GetFixtureList()->TestPoint(from)) {
        ray.hit = true;
        ray.point = from;
    } else {
        world->RayCast(&ray, from, b2Vec2(pitStartX + kRayLength, kRayHeight));
    }
    if (ray.hit && (!hasMark || ray.point.x < markX)) {
        markX = ray.point.x;
        hasMark = true;
    }
}

// ---- World drawing ---------------------------------------------------------------------------

void LongJumpEvent::Draw() {
    ClearScreen(kSkyColour);
    DrawFixtures(groundBody->GetFixtureList(), kGroundColour);
    const bool blinkOn = gApp.frameCounter % kBlinkPeriod < kBlinkPeriod / 2;
    FillRect(kBoardLeft, 0.0f, kBoardWidth, kBoardHeight, phase == kRunUp && blinkOn ? kBoardGrey : kWhite);
    for (float x = kTickFirstX; x > runStartX; x -= 1.0f)
        FillRect(x, 0.0f, kTickWidth, kTickHeight, kWhite);
    if (phase >= kRunUp) {
        FillRect(takeoffMarkX, 0.0f, kMarkerWidth, kMarkerHeight,
                 phase == kRunUp && blinkOn ? kMarkerYellowFaint : kMarkerYellow);
    }

    SetColour(kSandColour);
    for (const b2Body* grain : sandGrains) {
        const b2Vec2 p = grain->GetPosition();
        DrawSpriteScaled(kGrainSprite, p.x, p.y, kGrainScale, kGrainScale);
    }
    ResetColour();

    if (hasMark && !fault) {
        FillRect(markX, kMarkTop, kMarkWidth, kMarkHeight, kMarkRed);
        if (gApp.font != nullptr) gApp.font->Printf(markX, kMarkLabelY, kAlignRight, kLabelScale, kMarkRed, "%.2f", markX);
    }

    int sprite = kJumpSprite;
    if (phase < kJump) {
        const b2Vec2 p = jumper->GetPosition();
        int f = 0;
        const float strides = std::fabs(p.x);
        if (p.y >= kStandingCentreY && strides < 1.0e9f) f = static_cast<int>(strides) % 2;
        sprite = kRunSprite - f;
        if (f != stepFrame && phase == kRunUp) PlayEffect(kSfxFootstep3, 100, 0, 1.0f, false);
        stepFrame = f;
    }
    DrawBody(sprite, jumper, kSpriteScale);
    DrawGrabLine();
}

// ---- HUD -------------------------------------------------------------------------------------

void LongJumpEvent::DrawHud() {
    if (fault && gApp.font != nullptr) gApp.font->Print(gApp.screenCentreX, kFaultY, kAlignCentre, kHudScale, kWhite, "FAULT");
    DrawProgressBar(static_cast<float>(grabBudget), static_cast<float>(grabMeterMax));
}

} // namespace kel
