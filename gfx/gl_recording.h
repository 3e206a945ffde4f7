// GL backends that need no context: the null backend of the headless runner, and a recording
// backend with which tests check what the renderer asked GL to do.
#pragma once

#include "gfx/gl_backend.h"

#include <vector>

namespace kel {

class NullGlBackend : public GlBackend {
public:
    void SetupState(int, int) override {}
    uint32_t CreateTexture(int, int, const uint8_t*) override {
        ++liveTextures;
        return ++lastName;
    }
    void DeleteTexture(uint32_t) override { --liveTextures; }
    void BindTexture(uint32_t) override {}
    void BeginArrays(const Vertex*) override {}
    void DrawTriangles(int, int) override {}
    void SetColour(float, float, float, float) override {}
    void Clear(float, float, float, float) override {}
    void PushMatrix() override {}
    void PopMatrix() override {}
    void Translate(float, float) override {}
    void Scale(float, float) override {}
    void Rotate(float) override {}
    bool ReadPixels(int, int, uint8_t*) override { return false; }

    int liveTextures = 0; // created and not yet deleted

private:
    uint32_t lastName = 0;
};

// Keeps every draw call with a copy of its vertices, the texture bound and whether blending was
// on. `colour` is that of the draw's first vertex (the renderer carries colour per vertex); a
// batch can hold several colours, so tests about one shape read its vertices' colours.
class RecordingGlBackend : public NullGlBackend {
public:
    struct Draw {
        uint32_t texture = 0;
        float colour[4] = {1.0f, 1.0f, 1.0f, 1.0f};
        bool blending = true;
        std::vector<Vertex> vertices;
    };

    void BindTexture(uint32_t name) override {
        texture = name;
        ++binds;
    }
    void BeginArrays(const Vertex* v) override { base = v; }
    void DrawTriangles(int first, int count) override {
        Draw d;
        d.texture = texture;
        d.blending = blending;
        for (int i = 0; i < 4; ++i) d.colour[i] = colour[i];
        if (base) d.vertices.assign(base + first, base + first + count);
        if (!d.vertices.empty()) {
            const uint32_t c = d.vertices[0].colour;
            for (int i = 0; i < 4; ++i) d.colour[i] = static_cast<float>((c >> (8 * i)) & 0xFFu) / 255.0f;
        }
        draws.push_back(std::move(d));
    }
    void SetColour(float r, float g, float b, float a) override {
        colour[0] = r;
        colour[1] = g;
        colour[2] = b;
        colour[3] = a;
        ++colourChanges;
    }
    void SetBlending(bool on) override { blending = on; }
    void PushMatrix() override { ++matrixDepth; }
    void PopMatrix() override { --matrixDepth; }

    void Reset() {
        draws.clear();
        binds = 0;
        colourChanges = 0;
    }

    std::vector<Draw> draws;
    uint32_t texture = 0;
    float colour[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    int binds = 0;
    int colourChanges = 0;
    int matrixDepth = 0;
    bool blending = true;

private:
    const Vertex* base = nullptr;
};

} // namespace kel
