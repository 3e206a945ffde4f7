// The GameHost owns the game proper and is what the shell updates and draws each frame.
#pragma once

namespace kel {

class GameSession;

class GameHost {
  public:
    GameHost();
    ~GameHost();
    GameHost(const GameHost&) = delete;
    GameHost& operator=(const GameHost&) = delete;

    void Update();
    void Draw();
    // Orderly quit: whatever must be kept is saved here.
    void Save();

    GameSession* Session() const { return session; }

  private:
    GameSession* session = nullptr; // owned
};

} // namespace kel
