#include "app/game_host.h"

#include "base/app_state.h"
#include "app/game_session.h"
#include "gfx/renderer.h"

namespace kel {
namespace {

constexpr int kSpriteCursor = 110;
constexpr float kCursorScale = 2.0f;

} // namespace

GameHost::GameHost() : session(new GameSession()) {}

GameHost::~GameHost() {
    delete session;
}

void GameHost::Update() {
    session->Update();
}

void GameHost::Draw() {
    session->Draw();
    DrawSpriteScaled(kSpriteCursor, static_cast<float>(gApp.mouseX), static_cast<float>(gApp.mouseY),
                     kCursorScale, kCursorScale);
}

void GameHost::Save() {
    session->Save();
}

} // namespace kel
