// A GL backend in front of the real one that holds back a frame's drawing until the frame ends,
// then sends it only when it differs from the last frame shown. An idle screen (a menu nobody
// touches, a runner on its mark) then costs no rasterising and no buffer swap.
#pragma once

#include "gfx/gl_backend.h"

#include <vector>

namespace kel {

class FrameCacheGlBackend : public GlBackend {
public:
    explicit FrameCacheGlBackend(GlBackend* real);

    void SetupState(int screenWidth, int screenHeight) override;
    uint32_t CreateTexture(int width, int height, const uint8_t* rgba) override;
    void DeleteTexture(uint32_t name) override;
    void BindTexture(uint32_t name) override;
    void BeginArrays(const Vertex* vertices) override;
    void DrawTriangles(int first, int count) override;
    void SetColour(float r, float g, float b, float a) override;
    void Clear(float r, float g, float b, float a) override;
    void SetBlending(bool on) override;
    void PushMatrix() override;
    void PopMatrix() override;
    void Translate(float x, float y) override;
    void Scale(float sx, float sy) override;
    void Rotate(float degrees) override;
    bool ReadPixels(int width, int height, uint8_t* rgba) override;
    bool IsSoftware() const override { return real->IsSoftware(); }

    // Ends the frame: sends what was recorded to the real backend and returns true when it
    // differs from the last frame sent (or the cache was invalidated); otherwise drops it and
    // returns false, and the caller keeps showing the last frame instead of swapping.
    bool EndFrame();
    // Ends the frame without sending it, whatever it holds: the screen keeps the last frame sent.
    void DropFrame();
    // The next frame is sent whatever it holds (after a texture or video-mode change, or when
    // the back buffer must hold the frame, as for a screenshot).
    void Invalidate() { shownValid = false; }

    int framesSent = 0;
    int framesSkipped = 0;
    int framesDropped = 0;

private:
    enum Op : uint8_t { kBind, kDraw, kColour, kClear, kBlend, kPush, kPop, kTranslate, kScale, kRotate };
    struct Command {
        Op op = kBind;
        uint32_t a = 0; // texture name, first vertex, or blending on
        uint32_t b = 0; // vertex count
        float f[4] = {};
    };
    void Add(const Command& c);
    void ClearRecording();

    GlBackend* real;
    const Vertex* base = nullptr;
    std::vector<Command> commands;
    std::vector<Vertex> vertices;
    uint64_t hash = 0;
    uint64_t shownHash = 0;
    bool shownValid = false;
};

} // namespace kel
