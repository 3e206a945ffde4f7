// The narrow seam between the renderer and OpenGL. The game uses the real backend; tests use a
// recording one and the headless runner a null one, so everything but the window runs headless.
#pragma once

#include <cstdint>

namespace kel {

struct Vertex {
    float x = 0.0f;
    float y = 0.0f;
    float u = 0.0f;
    float v = 0.0f;
    uint32_t colour = 0xFFFFFFFFu; // R, G, B, A bytes in memory order (the renderer's Colour)
};

class GlBackend {
public:
    virtual ~GlBackend() = default;

    // Viewport, orthographic pixel projection (origin top-left, y down), texturing and alpha blending
    // on, fog, lighting, depth test and culling off, identity model-view.
    virtual void SetupState(int screenWidth, int screenHeight) = 0;

    // A new nearest-filtered, edge-clamped texture from RGBA bytes; returns its name (0 on failure).
    virtual uint32_t CreateTexture(int width, int height, const uint8_t* rgba) = 0;
    virtual void DeleteTexture(uint32_t name) = 0;
    virtual void BindTexture(uint32_t name) = 0;

    // Points the vertex, texture-coordinate and colour arrays at the batch (stride sizeof(Vertex)).
    // Colour comes from each vertex; SetColour is for callers drawing outside the batch.
    virtual void BeginArrays(const Vertex* vertices) = 0;
    virtual void DrawTriangles(int first, int count) = 0;

    virtual void SetColour(float r, float g, float b, float a) = 0;
    virtual void Clear(float r, float g, float b, float a) = 0;

    // Blending on (the default) or off for the draws that follow; off is for opaque layers.
    virtual void SetBlending(bool on) { (void)on; }

    // Model-view matrix operations used by scenes to place their world on screen.
    virtual void PushMatrix() = 0;
    virtual void PopMatrix() = 0;
    virtual void Translate(float x, float y) = 0;
    virtual void Scale(float sx, float sy) = 0;
    virtual void Rotate(float degrees) = 0;

    // Reads the current frame as RGBA rows from the bottom; false when there is nothing to read.
    virtual bool ReadPixels(int width, int height, uint8_t* rgba) = 0;

    // True when every pixel is drawn by the CPU (a software rasteriser such as llvmpipe), so that
    // a full-screen redraw costs milliseconds. Known after SetupState.
    virtual bool IsSoftware() const { return false; }
};

// Real OpenGL 1.1; needs a current context.
GlBackend* CreateOpenGlBackend();

// Does nothing, hands out increasing texture names; reading pixels fails.
GlBackend* CreateNullGlBackend();

} // namespace kel
