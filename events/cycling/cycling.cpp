// Sections: constants; building; track geometry; rules per frame; world drawing.
#include "events/cycling/cycling.h"

#include "base/app_state.h"
#include "base/helpers.h"
#include "audio/sound.h"
#include "gfx/font.h"
#include "gfx/renderer.h"
#include "sim/physics_compat.h"
#include "sim/records.h"
#include "sim/scene_host.h"

#include <cmath>

namespace kel {

// ---- Constants -------------------------------------------------------------------------------

namespace {

constexpr int kLaps = 5;
constexpr float kLapLineX = -0.86f; // metres, on the top straight (y < 0)

// Infield: a stadium of two discs and the box between them, 16.6 x 10.4 m, bouncy.
constexpr float kInfieldRadius = 5.2f;  // metres
constexpr float kInfieldCentreX = 3.1f; // the discs sit at x = -3.1 and 3.1
constexpr float kInfieldFriction = 1.0f;
constexpr float kInfieldRestitution = 1.0f;

// Bike: a ball just right of the lap line on the top straight.
constexpr float kBikeX = -0.85f; // metres
constexpr float kBikeY = -6.0f;
constexpr float kBikeRadius = 0.85f;
constexpr float kBikeDensity = 1.0f; // kg per square metre
constexpr float kBikeFriction = 0.2f;
constexpr float kBikeRestitution = 0.5f;
constexpr float kBikeAngularDamping = 1.0f; // per second, tuned
constexpr float kKnockSpeedKept = 0.6f;     // every knock of the bike costs 40 % of its speed

constexpr float kGrabDamping = 0.45f;  // damping ratio
constexpr float kGrabFrequency = 0.5f; // Hz
constexpr float kSmallScreenZoom = 36.0f; // px per metre on a 960 px wide screen
constexpr int kSmallScreenWidth = 960;

// The riding surface: inside |x| <= 12.5, |y| <= 9.3 with the corners rounded by 6.8 m about
// (+-5.8, +-2.5). Beyond it is grass.
constexpr float kTrackHalfWidth = 12.5f; // metres
constexpr float kTrackHalfHeight = 9.3f;
constexpr float kCornerX = 5.8f;
constexpr float kCornerY = 2.5f;
constexpr float kCornerRadius = 6.8f;
constexpr float kGrassDamping = 4.0f;  // per second, tuned, while dragged on the grass
constexpr float kFinishDamping = 2.0f; // per second, tuned: the bike rolls out after the finish
constexpr int kSkidFrames = 5;         // frames on the grass before the skid and the dust
constexpr float kDustLocalY = 0.6f;    // metres behind the bike's origin in its own frame

// Ending the race as a crash, judged only while nobody holds the bike.
constexpr float kCrashHalfWidth = 15.0f; // metres
constexpr float kCrashHalfHeight = 13.0f;
constexpr int kTimeLimitFrames = 7200;
constexpr int kEndFrames = 30;

constexpr int kBeepFrames = 60; // the clock beeps once a second
constexpr int kBeepVolume = 20;
constexpr float kPanLimit = 9.0f; // the sounds pan by the whole metres of x within +-9
constexpr float kPedalWrap = 200.0f; // metres per second summed per frame
constexpr int kPedalVolume = 30;

// Drawing.
constexpr int kTrackSprite = 208;
constexpr int kBikeSprite = 209; // and 210, the second pedal frame
constexpr int kCrashedSprite = 211;
constexpr float kTrackLeft = -12.8f; // metres: the picture's top-left corner
constexpr float kTrackTop = -9.6f;
constexpr float kSpriteScale = 0.1f;
constexpr float kPedalFrameMetres = 100.0f; // pedalDistance per pedal frame
constexpr Colour kSmallScreenGrass = 0xFF3B7744u;
constexpr float kBoardTextScale = 0.1f; // font scale in metres per font pixel
constexpr float kBoardLabelX = -3.6f;
constexpr float kBoardValueX = 0.6f;
constexpr float kBoardLapsY = -1.6f;
constexpr float kBoardTimeY = -0.6f;
constexpr Colour kBoardTimeColour = 0xFF32FFFFu;
constexpr float kSpeedoLeft = -3.5f; // metres
constexpr float kSpeedoTop = 0.4f;
constexpr float kSpeedoWidth = 7.2f;
constexpr float kSpeedoHeight = 0.7f;
constexpr float kSpeedoInset = 0.1f;
constexpr float kSpeedoBarWidth = 7.0f;
constexpr float kSpeedoBarHeight = 0.5f;
constexpr float kSpeedoMaxKmh = 180.0f;
constexpr float kKmhPerMetrePerSecond = 3.6f;
constexpr Colour kSpeedoColour = 0xFF2C2CD4u;
constexpr int kHudHiddenFrames = 20; // the board waits like the HUD after a competition's first click

} // namespace

SportEvent* CreateCyclingEvent() {
    return new CyclingEvent();
}

// ---- Building --------------------------------------------------------------------------------

CyclingEvent::CyclingEvent() : SportEvent(kEventCycling) {
    CreateWorld(0.0f);
    timer = 0;

    for (const float x : {-kInfieldCentreX, kInfieldCentreX}) {
        b2CircleShape disc;
        disc.m_radius = kInfieldRadius;
        disc.m_p.Set(x, 0.0f);
        b2FixtureDef def;
        def.shape = &disc;
        def.friction = kInfieldFriction;
        def.restitution = kInfieldRestitution;
        groundBody->CreateFixture(&def);
    }
    AddGroundBox(-kInfieldCentreX, -kInfieldRadius, 2.0f * kInfieldCentreX, 2.0f * kInfieldRadius,
                 kInfieldFriction, kInfieldRestitution);

    bike = CreateCircle(kBikeX, kBikeY, kBikeRadius, kBikeDensity, kBikeFriction, kBikeRestitution);
    bike->SetLinearDamping(0.0f);
    SetTunedAngularDamping(bike, kBikeAngularDamping);
    trackedBody = bike;

    SetBodyTag(groundBody, kTagQuietGround);
    SetBodyTag(bike, kTagMetalImpact);
    SetGrabParams(kGrabDamping, kGrabFrequency, 0);
    if (gApp.screenWidth == kSmallScreenWidth) zoom = kSmallScreenZoom;

    phase = kWaiting;
    lapsLeft = kLaps;
    prevX = bike->GetPosition().x;
    grassFrames = 0;
    pedalDistance = 0.0f;
    EmitterInit(&dust, kPresetCyclingDust);
}

CyclingEvent::~CyclingEvent() {
    EmitterFree(&dust);
}

void CyclingEvent::OnImpact() {
    pendingImpacts += 1;
}

// ---- Track geometry --------------------------------------------------------------------------

bool CyclingEvent::OnGrass(float x, float y) {
    if (!(std::fabs(y) <= kTrackHalfHeight && std::fabs(x) <= kTrackHalfWidth)) return true;
    if (std::fabs(x) > kCornerX && std::fabs(y) > kCornerY) {
        const float dx = std::fabs(x) - kCornerX;
        const float dy = std::fabs(y) - kCornerY;
        return dx * dx + dy * dy > kCornerRadius * kCornerRadius;
    }
    return false;
}

// ---- Rules per frame -------------------------------------------------------------------------

void CyclingEvent::EndRace(bool crashed, int pan) {
    ReleaseGrab();
    phase = kDone;
    if (crashed) {
        fault = true;
    } else {
        SetTunedLinearDamping(bike, kFinishDamping);
        result = static_cast<float>(timer);
    }
    timer = 0;
    StopMusic();
    PlayEffect(crashed ? kSfxCrash : kSfxClapping, 100, crashed ? pan : 0, 1.0f, false);
}

void CyclingEvent::Update() {
    SportEvent::Update();
    StepWorld();
    // The knocks counted during the step cost their speed now that the world is unlocked.
    for (; pendingImpacts > 0; --pendingImpacts) {
        const b2Vec2 v = kKnockSpeedKept * bike->GetLinearVelocity();
        bike->SetLinearVelocity(v);
        if (v.LengthSquared() > 0.0f) bike->SetAwake(true);
    }
    timer += 1;

    switch (phase) {
    case kWaiting:
        if (grabbedBody != nullptr) {
            timer = 0;
            phase = kRacing;
            PlayMusic("Cycling.mp3", true);
        }
        break;
    case kRacing: {
        if (timer % kBeepFrames == 0) PlayEffect(kSfxBeep, kBeepVolume, 0, 1.0f, false);
        const b2Vec2 p = bike->GetPosition();
        const int pan = std::isfinite(p.x) ? static_cast<int>(Clamp(p.x, -kPanLimit, kPanLimit)) : 0;

        const bool dragged = grabbedBody != nullptr;
        if (dragged && OnGrass(p.x, p.y)) {
            SetTunedLinearDamping(bike, kGrassDamping);
            grassFrames += 1;
            if (grassFrames == kSkidFrames) {
                PlayEffect(kSfxSkid, 100, pan, 1.0f, false);
                EmitterStart(&dust);
            }
            const b2Vec2 behind = bike->GetWorldPoint(b2Vec2(0.0f, kDustLocalY));
            dust.emitX = behind.x;
            dust.emitY = behind.y;
        } else {
            bike->SetLinearDamping(0.0f);
            grassFrames = 0;
            EmitterStop(&dust);
        }

        // Only crossings on the top straight count, both ways: a crossing of the same x on the
        // bottom straight is not the line.
        if (p.y < 0.0f) {
            if (prevX < kLapLineX && p.x >= kLapLineX) {
                lapsLeft -= 1;
                if (lapsLeft == 0) {
                    EndRace(false, pan);
                    prevX = p.x;
                    break;
                }
            } else if (prevX >= kLapLineX && p.x < kLapLineX) {
                lapsLeft += 1;
            }
        }
        prevX = p.x;

        if (grabbedBody == nullptr && (!(std::fabs(p.x) <= kCrashHalfWidth && std::fabs(p.y) <= kCrashHalfHeight) ||
                                       timer > kTimeLimitFrames)) {
            EndRace(true, pan);
            break;
        }

        pedalDistance += bike->GetLinearVelocity().Length();
        if (pedalDistance > kPedalWrap) {
            pedalDistance -= kPedalWrap;
            PlayEffect(kSfxCycle3, kPedalVolume, pan, 1.0f, false);
        }
        break;
    }
    case kDone:
        if (timer == kEndFrames) finished = true;
        break;
    default:
        break;
    }
    EmitterUpdate(&dust);
}

// ---- World drawing ---------------------------------------------------------------------------

void CyclingEvent::Draw() {
    if (gApp.screenWidth == kSmallScreenWidth) ClearScreen(kSmallScreenGrass);
    DrawSpriteRotated(kTrackSprite, kTrackLeft, kTrackTop, 0.0f, kSpriteScale, kSpriteScale);
    EmitterDraw(dust);

    int sprite = kCrashedSprite;
    if (phase != kDone) {
        const float frames = pedalDistance / kPedalFrameMetres;
        sprite = kBikeSprite + (frames >= 0.0f && frames < 2.0f ? static_cast<int>(frames) : 0);
    }
    DrawBody(sprite, bike, kSpriteScale);

    const SceneHost* host = CurrentSceneHost();
    const bool medals = host != nullptr && host->MedalPresentationShowing();
    BitmapFont* font = gApp.font;
    if (!(competition && startFrames < kHudHiddenFrames) && !medals && font != nullptr) {
        font->Print(kBoardLabelX, kBoardLapsY, kAlignLeft, kBoardTextScale, kWhite, "LAPS:");
        font->Print(kBoardLabelX, kBoardTimeY, kAlignLeft, kBoardTextScale, kWhite, "TIME:");
        font->Printf(kBoardValueX, kBoardLapsY, kAlignLeft, kBoardTextScale, kBlack, "%d", lapsLeft);
        int t = 0;
        if (phase == kRacing) t = timer;
        if (phase == kDone) t = static_cast<int>(result);
        font->Printf(kBoardValueX, kBoardTimeY, kAlignLeft, kBoardTextScale, kBoardTimeColour, "%d.%02d", t / 60,
                     ((t - 60 * (t / 60)) * 100) / 60);
    }

    FillRect(kSpeedoLeft, kSpeedoTop, kSpeedoWidth, kSpeedoHeight, kWhite);
    const float speed = fault ? 0.0f : bike->GetLinearVelocity().Length();
    const float width = RemapClamped(speed * kKmhPerMetrePerSecond, 0.0f, kSpeedoMaxKmh, 0.0f, kSpeedoBarWidth);
    if (width > 0.0f)
        FillRect(kSpeedoLeft + kSpeedoInset, kSpeedoTop + kSpeedoInset, width, kSpeedoBarHeight, kSpeedoColour);
    DrawGrabLine();
}

} // namespace kel
