// Sections: constants; building; rules per frame; world drawing; HUD.
#include "events/sprint/sprint.h"

#include "base/app_state.h"
#include "base/helpers.h"
#include "base/random.h"
#include "audio/sound.h"
#include "gfx/font.h"
#include "gfx/renderer.h"
#include "sim/physics_compat.h"
#include "sim/records.h"

#include <cmath>

namespace kel {

// ---- Constants -------------------------------------------------------------------------------

namespace {

constexpr float kGravity = 10.0f;    // metres per second squared
constexpr float kFinishX = 110.0f;   // metres
constexpr float kStartLineX = 0.25f; // metres: the runner's origin beyond it before the gun is a false start
constexpr float kBackwardLimitX = -20.0f; // metres: running back past it disqualifies
constexpr int kGrabBudgetFrames = 20;
constexpr int kBudgetRefillPerFrame = 4; // frames of budget regained per frame with the button up
constexpr float kGrabDamping = 0.0f;     // damping ratio
constexpr float kGrabFrequency = 0.7f;   // Hz
constexpr float kAirDrag = 1.8f;         // newtons per metre per second, horizontal only
constexpr int kEndFrames = 30;           // frames from the decision to `finished`

// The gun: 60..299 frames after the click, and one start in fifty another 400 later.
constexpr int kGunMinFrames = 60;
constexpr int kGunSpreadFrames = 240;
constexpr int kLongWaitOdds = 50;
constexpr int kLongWaitFrames = 400;

// Track: the ground's top surface is y = 0 from x = -170 to 330.
constexpr float kGroundCentreX = 80.0f; // metres
constexpr float kGroundCentreY = 1.0f;
constexpr float kGroundHalfWidth = 250.0f;
constexpr float kGroundHalfHeight = 1.0f;
constexpr float kGroundFriction = 0.5f;

// Runner: a 0.5 x 2 m box standing on the start line.
constexpr float kRunnerX = 0.0f; // metres, origin at the box centre
constexpr float kRunnerY = -1.0f;
constexpr float kRunnerHalfWidth = 0.25f;
constexpr float kRunnerHalfHeight = 1.0f;
constexpr float kRunnerDensity = 1.0f; // kg per square metre
constexpr float kRunnerFriction = 0.5f;
constexpr float kRunnerAngularDamping = 2.0f; // per second, as tuned for the game's feel

// Starter: a 0.8 x 2.4 m box left of the start line (top-left corner given).
constexpr float kStarterLeft = -4.5f;
constexpr float kStarterTop = -2.4f;
constexpr float kStarterWidth = 0.8f;
constexpr float kStarterHeight = 2.4f;
constexpr float kStarterDensity = 0.75f;
constexpr float kStarterFriction = 0.75f;
constexpr float kStarterRestitution = 0.2f;

constexpr float kCameraLeadX = 2.0f; // metres ahead of the runner
constexpr float kCameraY = -4.0f;
constexpr float kZoom = 48.0f; // px per metre

// Sprites of the sprint sheet.
constexpr int kRunnerStrideSprite = 168; // and 169, the second stride
constexpr int kRunnerReadySprite = 170;
constexpr int kLineSprite = 171;
constexpr int kSceneSprite = 172;
constexpr float kStrideMetres = 2.0f; // the runner changes stride every 2 m
constexpr float kMaxStrides = 1.0e9f; // beyond it (or NaN) the stride is not recomputed

// Backdrop: horizontal bands from x = -20 to 180 m, drawn in this order. The track is seen from
// above at a slant, so the runner's feet (the ground's top, y = 0) fall inside the lane that the
// white lines at -0.7 and 1.4 m enclose.
struct Band {
    float top;    // metres
    float height; // metres
    Colour colour;
};
constexpr Colour kSkyColour = 0xFFFFE3B2u;
constexpr Band kBands[] = {
    {-0.7f, 5.0f, 0xFF179EFAu}, // track
    {-3.2f, 2.5f, 0xFF36F40Fu}, // infield grass
    {-1.1f, 0.5f, 0xFFE8B92Fu}, // blue kerb along the inner edge
    {-0.7f, 0.1f, kWhite},      // lane lines
    {-1.2f, 0.1f, kWhite},      {1.4f, 0.1f, kWhite},
};
constexpr float kBackdropLeft = -20.0f;
constexpr float kBackdropWidth = 200.0f;
constexpr float kSceneryFirstX = -10.0f;
constexpr float kSceneryStepX = 4.1f;
constexpr float kSceneryY = -1.2f;
constexpr float kSceneryBeyondFinish = 50.0f; // metres
constexpr float kLineY = -0.6f;
constexpr float kSceneryScale = 0.1f;
constexpr float kRunnerScale = 0.08f;

// HUD, screen px.
constexpr float kHudScale = 4.0f;
constexpr float kTimeY = 90.0f;
constexpr float kTimeSlideMax = 160.0f;
constexpr float kTimeSlidePerFrame = 3.0f;
constexpr float kDnqY = 240.0f;
constexpr float kCallY = 250.0f;
constexpr float kCallCompetitionY = 300.0f; // clear of the competition banner

} // namespace

SportEvent* CreateSprintEvent() {
    return new SprintEvent();
}

// ---- Building --------------------------------------------------------------------------------

SprintEvent::SprintEvent() : SportEvent(kEventDash) {
    CreateWorld(kGravity);
    finishX = kFinishX;

    b2PolygonShape groundShape;
    groundShape.SetAsBox(kGroundHalfWidth, kGroundHalfHeight, b2Vec2(kGroundCentreX, kGroundCentreY), 0.0f);
    b2FixtureDef groundDef;
    groundDef.shape = &groundShape;
    groundDef.density = 0.0f;
    groundDef.friction = kGroundFriction;
    groundDef.restitution = 0.0f;
    groundBody->CreateFixture(&groundDef);

    b2BodyDef runnerDef;
    runnerDef.type = b2_dynamicBody;
    runnerDef.position.Set(kRunnerX, kRunnerY);
    runnerDef.angle = 0.0f;
    runnerDef.fixedRotation = false;
    runnerDef.allowSleep = true;
    runnerDef.awake = true;
    runnerDef.gravityScale = 1.0f;
    runner = world->CreateBody(&runnerDef);
    b2PolygonShape runnerShape;
    runnerShape.SetAsBox(kRunnerHalfWidth, kRunnerHalfHeight);
    b2FixtureDef runnerFixture;
    runnerFixture.shape = &runnerShape;
    runnerFixture.density = kRunnerDensity;
    runnerFixture.friction = kRunnerFriction;
    runnerFixture.restitution = 0.0f;
    runner->CreateFixture(&runnerFixture);
    SetTunedAngularDamping(runner, kRunnerAngularDamping);

    starter = CreateBox(kStarterLeft, kStarterTop, kStarterWidth, kStarterHeight, kStarterDensity,
                        kStarterFriction, kStarterRestitution);

    SetBodyTag(groundBody, kTagWoodFloor);
    SetBodyTag(runner, kTagAthlete);

    phase = kOnYourMark;
    timer = 0;
    grabBudgetMax = kGrabBudgetFrames;
    SetGrabParams(kGrabDamping, kGrabFrequency, kGrabBudgetFrames);
    SetCamera(kCameraLeadX, kCameraY);
    zoom = kZoom;
    strideFrame = 0;
}

// ---- Rules per frame -------------------------------------------------------------------------

void SprintEvent::Disqualify() {
    phase = kDisqualified;
    timer = 0;
    fault = true;
    StopMusic();
    PlayEffect(kSfxShortbuzz, 100, 0, 1.0f, false);
}

void SprintEvent::Update() {
    SportEvent::Update();
    timer += 1;
    StepWorld();
    cameraX = runner->GetPosition().x + kCameraLeadX;

    const StartRitual ritual{kStartLineX, "100MDash.mp3"};
    const bool wasReady = phase == kReady;
    const StartStep step = UpdateStartRitual(ritual, *this, &phase, &timer, startDelay, runner, starter);
    if (step == kStartLeftMark) {
        startDelay = kGunMinFrames + RandomInt(kGunSpreadFrames);
        if (RandomInt(kLongWaitOdds) == 0) startDelay += kLongWaitFrames;
    } else if (step == kStartFalse) {
        Disqualify();
    }
    // Before the gun a held grab never runs out: only the start line limits it.
    if (wasReady) grabBudget = grabBudgetMax;

    // The frame in which the gun fires already runs the race checks.
    if (phase == kRunning) {
        const float x = runner->GetPosition().x;
        if (x > finishX) {
            phase = kFinished;
            result = static_cast<float>(timer);
            StopMusic();
            PlayEffect(kSfxClapping, 100, 0, 1.0f, false);
            timer = 0;
        } else if (x < kBackwardLimitX) {
            Disqualify();
        }
        if (!gApp.mouseHeld && grabBudget < grabBudgetMax)
            grabBudget = Min(grabBudgetMax, grabBudget + kBudgetRefillPerFrame);
    }

    if ((phase == kFinished || phase == kDisqualified) && timer == kEndFrames) finished = true;

    // The drag does not wake the runner: standing still on the mark he falls asleep like any
    // resting body, and the screen need not be drawn again until something moves.
    const b2Vec2 velocity = runner->GetLinearVelocity();
    runner->ApplyForceToCenter(b2Vec2(-kAirDrag * velocity.x, 0.0f), false);
}

// ---- World drawing ---------------------------------------------------------------------------

void SprintEvent::Draw() {
    ClearScreen(kSkyColour);
    for (const Band& band : kBands)
        FillRect(kBackdropLeft, band.top, kBackdropWidth, band.height, band.colour);

    for (int i = 0;; ++i) {
        const float x = kSceneryFirstX + kSceneryStepX * static_cast<float>(i);
        if (!(x < finishX + kSceneryBeyondFinish)) break;
        DrawSpriteRotated(kSceneSprite, x, kSceneryY, 0.0f, kSceneryScale, kSceneryScale);
    }
    DrawSpriteRotated(kLineSprite, kStartLineX, kLineY, 0.0f, kSceneryScale, kSceneryScale);
    DrawSpriteRotated(kLineSprite, finishX, kLineY, 0.0f, kSceneryScale, kSceneryScale);

    const int starterSprite = StarterSprite(phase, timer);
    DrawBodyPlain(starterSprite, starter, kSceneryScale);

    int runnerSprite = kRunnerStrideSprite;
    if (phase == kReady) {
        runnerSprite = kRunnerReadySprite;
    } else if (phase != kOnYourMark) {
        // A runner flung to a non-finite position keeps its stride rather than converting NaN.
        const float strides = std::fabs(runner->GetPosition().x / kStrideMetres);
        const int f = strides < kMaxStrides ? static_cast<int>(strides) % 2 : strideFrame;
        runnerSprite = kRunnerStrideSprite + f;
        if (f != strideFrame) PlayEffect(kSfxFootstep3, 100, 0, 1.0f, false);
        strideFrame = f;
    }
    DrawBody(runnerSprite, runner, kRunnerScale);
    DrawGrabLine();
}

// ---- HUD -------------------------------------------------------------------------------------

void SprintEvent::DrawHud() {
    BitmapFont* font = gApp.font;
    const float cx = gApp.screenCentreX;
    if (font != nullptr) {
        font->scale = kHudScale;
        font->SetTextColour(kWhite);
    }

    if (phase == kDisqualified) {
        if (font != nullptr) font->Print(cx, kDnqY, kAlignCentre, kHudScale, kBlack, "DNQ");
    } else {
        float y = kTimeY;
        if (phase == kFinished) y += Min(kTimeSlideMax, kTimeSlidePerFrame * static_cast<float>(timer));
        float shown = 0.0f;
        if (phase == kRunning) shown = static_cast<float>(timer);
        if (phase == kFinished) shown = result;
        if (font != nullptr) font->Print(cx, y, kAlignRight, kHudScale, kWhite, "TIME: ");
        DrawResult(cx, y, kAlignLeft, kHudScale, kWhite, eventId, shown, false);
    }

    if (phase == kReady || phase == kRunning) {
        DrawProgressBar(static_cast<float>(grabBudget), static_cast<float>(grabBudgetMax));
    } else {
        DrawProgressBar(0.0f, 1.0f);
    }

    DrawStartCalls(phase, timer, kCallY, competition ? kCallCompetitionY : kCallY);
}

} // namespace kel
