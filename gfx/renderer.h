// The renderer: 32 texture slots loaded from the art folder, a sprite atlas of up to 1000
// rectangles in them, and one batch of textured triangles sent to the GL backend whenever a
// texture change, a full buffer or an explicit flush forces it. Colour travels with each vertex,
// so changing it never ends a batch; plain shapes drawn while a slot with an opaque white texel
// is bound sample that texel and keep the batch too. A batch whose every texel and vertex is
// opaque is drawn without blending.
//
// Coordinates are those of the current model-view transform: window pixels, origin top-left,
// y down, unless a scene has pushed its own transform. Whoever changes the transform flushes
// first. Sprite and slot numbers are not validated.
#pragma once

#include "base/helpers.h"
#include "gfx/gl_backend.h"

#include <cstdint>

class b2Fixture;
class b2World;

namespace kel {

constexpr int kTextureSlotCount = 32;
constexpr int kSpriteCount = 1000;
constexpr int kBatchVertexCount = 600;

struct TextureSlot {
    uint32_t name = 0;
    int width = 0;
    int height = 0;
    bool opaque = false;   // every texel has alpha 255
    bool hasWhite = false; // an opaque white texel at (whiteU, whiteV), its centre
    float whiteU = 0.0f;
    float whiteV = 0.0f;
};

struct SpriteDef {
    uint32_t slot = 0;
    float width = 0.0f;
    float height = 0.0f;
    float anchorX = 0.0f;  // px from the sprite's top-left corner, placed at the drawing position
    float anchorY = 0.0f;
    float uLeft = 0.0f;
    float uRight = 0.0f;
    float vTop = 0.0f;
    float vBottom = 0.0f;
};

// One row of the atlas table: sprite `sprite` is the rectangle (x, y, width, height) of slot `slot`.
struct AtlasRow {
    int32_t sprite = 0;
    int32_t slot = 0;
    int32_t x = 0;
    int32_t y = 0;
    int32_t width = 0;
    int32_t height = 0;
    float anchorX = 0.0f;
    float anchorY = 0.0f;
};

struct RendererState {
    GlBackend* gl = nullptr;
    TextureSlot slots[kTextureSlotCount] = {};
    SpriteDef sprites[kSpriteCount] = {};
    Vertex vertices[kBatchVertexCount] = {};
    int vertexCount = 0;
    int boundSlot = -1;  // -1: untextured
    Colour colour = kWhite;
    uint64_t drawCalls = 0; // GL draw calls sent since start-up, null backend included
    int lateSlots = 0;      // slots first asked for by a draw rather than ahead by their scene
    bool batchOpaque = true; // nothing in the batch needs blending
    bool blending = true;    // the backend's blending state
    float plainU = 0.0f;     // texture coordinates of plain shapes in the current batch
    float plainV = 0.0f;
};

// The renderer's own state: texture slots, sprite atlas and the vertex batch.
extern RendererState gRenderer;

// The slots loaded at start-up and after a video-mode change, by slot and base name.
struct SlotName {
    int slot;
    const char* baseName;
};
extern const SlotName kSlotTable[];
extern const int kSlotTableCount;

void SetGlBackend(GlBackend* gl);

// Loads the image by base name and makes it the slot's texture. The slot keeps the image size
// even with the null backend, so the atlas can be built headless. False when the image is missing.
bool LoadTextureSlot(int slot, const char* baseName);

// Loads every slot of the slot table; returns how many could not be loaded.
int LoadAllTextureSlots();

// Start-up loads only the slots the menu shows (and, after a video-mode change, every slot that
// was loaded before); returns how many could not be loaded. Other slots of the table load when
// a scene asks for them or, failing that, the first time something is drawn from them; the
// sprite atlas is rebuilt against their real size then.
int LoadStartTextureSlots();
// Starts decoding the menu's sheets on a thread of its own, so that it overlaps the opening of
// the window; LoadStartTextureSlots then waits for it and uploads what it decoded.
void PrefetchStartTextureSlots();
// Loads a slot of the slot table unless it was loaded or tried before; false when it has no
// texture afterwards.
bool EnsureTextureSlot(int slot);
// Frees the texture of every slot that is loaded but neither one of the menu's nor in keep, so
// that only the current scene's sheets stay in memory. A freed slot loads again on demand.
void ReleaseTextureSlotsExcept(const int* keep, int keepCount);

void BuildSpriteAtlas(const AtlasRow* rows, int count);

int TextureWidth(int slot);
int TextureHeight(int slot);
float SpriteWidth(int sprite);
float SpriteHeight(int sprite);
float SpriteAnchorX(int sprite);
float SpriteAnchorY(int sprite);

void BeginBatch();
void FlushBatch();
void ClearScreen(Colour colour);

void SetColour(Colour colour);
void SetColourRGBA(int r, int g, int b, int a);
void ResetColour();

void FillRect(float x, float y, float w, float h, Colour colour);
// A plain rectangle drawn with no texture bound. A software rasteriser fills it several times
// faster than a textured one, but it ends the batch: use it for a few wide areas, not many small.
void FillWideRect(float x, float y, float w, float h, Colour colour);
void FillTriangle(float x1, float y1, float x2, float y2, float x3, float y3, Colour colour);
void DrawLine(float x1, float y1, float x2, float y2, float halfWidth, Colour colour);

void DrawSprite(int sprite, float x, float y);
void DrawSpriteScaled(int sprite, float x, float y, float sx, float sy);
void DrawSpriteRotated(int sprite, float x, float y, float angle, float sx, float sy);
void DrawSpriteSkewed(int sprite, float x, float y, float skew, float sx, float sy);
void DrawTextureRegion(int slot, float x, float y, float w, float h, float uLeft, float uRight, float vTop,
                       float vBottom);

// Every fixture from `fixture` to the end of its list as a solid shape in world units.
void DrawFixtures(const b2Fixture* fixture, Colour colour);
// Every body's fixtures, each body in the next of six colours (the physics outline overlay).
void DrawWorldOutlines(const b2World* world);

// Model-view transform; callers flush the batch before changing it.
void PushMatrix();
void PopMatrix();
void TranslateMatrix(float x, float y);
void ScaleMatrix(float sx, float sy);
void RotateMatrix(float degrees);

} // namespace kel
