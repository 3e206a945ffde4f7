// The renderer: texture slots, the sprite atlas and the quad batch.
//
// Sections: slots and atlas; batch and colour; appending; shapes and sprites; fixtures; transform.
#include "gfx/renderer.h"

#include "base/app_state.h"
#include "gfx/image.h"
#include "platform/log.h"

#include <box2d/box2d.h>

#include <cmath>
#include <thread>

namespace kel {

const SlotName kSlotTable[] = {
    {0, "art\\c64"},          {1, "art\\sprites"},       {2, "art\\eventlabels2"}, {3, "art\\flags"},
    {4, "art\\logo"},         {5, "art\\mm"},            {8, "art\\buttons2"},     {9, "art\\opening"},
    {10, "art\\closing"},     {11, "art\\diving"},       {12, "art\\javelin"},     {13, "art\\equis"},
    {14, "art\\sprint"},      {15, "art\\rings"},        {16, "art\\highjump"},    {17, "art\\weightlifting"},
    {18, "art\\shotput"},     {19, "art\\rowing"},       {20, "art\\swimming"},    {21, "art\\hammer"},
    {22, "art\\velo"},        {23, "art\\archery"},      {24, "art\\pvbackground"},
};
const int kSlotTableCount = static_cast<int>(sizeof kSlotTable / sizeof kSlotTable[0]);
static_assert(sizeof kSlotTable / sizeof kSlotTable[0] == 23, "slots 0-5 and 8-24");

RendererState gRenderer;

namespace {

RendererState& R() { return gRenderer; }

// Batch capacity before a quad: six vertices must still fit.
constexpr int kFlushAt = kBatchVertexCount - 6;

} // namespace

// ---- slots and atlas -------------------------------------------------------------------------

void SetGlBackend(GlBackend* gl) { R().gl = gl; }

namespace {

struct PrefetchThread {
    std::thread thread;
    ~PrefetchThread() {
        if (thread.joinable()) thread.join();
    }
};
PrefetchThread gPrefetch;
Image* gPrefetched[kTextureSlotCount] = {};
const char* gPrefetchedName[kTextureSlotCount] = {};

// The image the start-up thread decoded for this slot and name, if any; it is handed over once.
Image* TakePrefetched(int slot, const char* baseName) {
    if (gPrefetch.thread.joinable()) gPrefetch.thread.join();
    Image* image = gPrefetched[slot];
    if (!image || gPrefetchedName[slot] != baseName) return nullptr;
    gPrefetched[slot] = nullptr;
    return image;
}

} // namespace

bool LoadTextureSlot(int slot, const char* baseName) {
    if (slot < 0 || slot >= kTextureSlotCount) return false;
    TextureSlot& s = R().slots[slot];
    // A reload (after a video-mode change) replaces the slot's texture; the old one is freed.
    if (s.name != 0 && R().gl) R().gl->DeleteTexture(s.name);
    s.name = 0;
    Image* image = TakePrefetched(slot, baseName);
    if (!image) image = LoadImage(baseName);
    if (!image) {
        // Keep whatever size the slot had so the atlas built from it stays valid.
        LogDebug("Can't load image %s", baseName);
        s.name = 0;
        return false;
    }
    // B,G,R,A to R,G,B,A in place, noting whether every texel is opaque and where the first
    // opaque white one is.
    auto* bytes = reinterpret_cast<uint8_t*>(image->pixels);
    const size_t count = static_cast<size_t>(image->width) * static_cast<size_t>(image->height);
    bool opaque = true;
    size_t white = count;
    for (size_t i = 0; i < count; ++i) {
        const uint8_t b = bytes[i * 4];
        bytes[i * 4] = bytes[i * 4 + 2];
        bytes[i * 4 + 2] = b;
        const uint8_t a = bytes[i * 4 + 3];
        opaque = opaque && a == 255;
        if (white == count && a == 255 && b == 255 && bytes[i * 4] == 255 && bytes[i * 4 + 1] == 255) white = i;
    }
    s.opaque = opaque;
    s.hasWhite = white < count;
    if (s.hasWhite) {
        const size_t w = static_cast<size_t>(image->width);
        s.whiteU = (static_cast<float>(white % w) + 0.5f) / static_cast<float>(image->width);
        s.whiteV = (static_cast<float>(white / w) + 0.5f) / static_cast<float>(image->height);
    }
    s.name = R().gl ? R().gl->CreateTexture(image->width, image->height, bytes) : 0;
    s.width = image->width;
    s.height = image->height;
    delete image;
    return true;
}

namespace {

// The menu's slots: font, sprites, event labels, flags, logo, menu art and buttons.
constexpr int kStartSlots[] = {0, 1, 2, 3, 4, 5, 8};

bool gSlotTried[kTextureSlotCount] = {};
const AtlasRow* gAtlasRows = nullptr;
int gAtlasRowCount = 0;

const char* SlotBaseName(int slot) {
    for (int i = 0; i < kSlotTableCount; ++i)
        if (kSlotTable[i].slot == slot) return kSlotTable[i].baseName;
    return nullptr;
}

} // namespace

void PrefetchStartTextureSlots() {
    if (gPrefetch.thread.joinable()) return;
    for (const int slot : kStartSlots) gPrefetchedName[slot] = SlotBaseName(slot);
    gPrefetch.thread = std::thread([] {
        for (const int slot : kStartSlots)
            if (gPrefetchedName[slot]) gPrefetched[slot] = LoadImage(gPrefetchedName[slot]);
    });
}

int LoadStartTextureSlots() {
    bool wanted[kTextureSlotCount] = {};
    for (const int slot : kStartSlots) wanted[slot] = true;
    for (int slot = 0; slot < kTextureSlotCount; ++slot) wanted[slot] = wanted[slot] || R().slots[slot].name != 0;
    int failed = 0;
    for (int i = 0; i < kSlotTableCount; ++i) {
        const int slot = kSlotTable[i].slot;
        if (!wanted[slot]) continue;
        gSlotTried[slot] = true;
        if (!LoadTextureSlot(slot, kSlotTable[i].baseName)) ++failed;
    }
    return failed;
}

bool EnsureTextureSlot(int slot) {
    if (slot < 0 || slot >= kTextureSlotCount) return false;
    if (gSlotTried[slot]) return R().slots[slot].name != 0;
    gSlotTried[slot] = true;
    const char* baseName = SlotBaseName(slot);
    if (!baseName) return false;
    const bool loaded = LoadTextureSlot(slot, baseName);
    if (loaded && gAtlasRows) BuildSpriteAtlas(gAtlasRows, gAtlasRowCount);
    return loaded;
}

void ReleaseTextureSlotsExcept(const int* keep, int keepCount) {
    bool kept[kTextureSlotCount] = {};
    for (const int slot : kStartSlots) kept[slot] = true;
    for (int i = 0; i < keepCount; ++i)
        if (keep[i] >= 0 && keep[i] < kTextureSlotCount) kept[keep[i]] = true;
    for (int slot = 0; slot < kTextureSlotCount; ++slot) {
        TextureSlot& s = R().slots[slot];
        if (kept[slot] || !gSlotTried[slot]) continue;
        if (R().boundSlot == slot) FlushBatch();
        if (s.name != 0 && R().gl) R().gl->DeleteTexture(s.name);
        // The size stays, so the atlas keeps valid coordinates for the slot's sprites.
        s.name = 0;
        gSlotTried[slot] = false;
        if (R().boundSlot == slot) R().boundSlot = -1;
    }
}

int LoadAllTextureSlots() {
    int failed = 0;
    for (int i = 0; i < kSlotTableCount; ++i) {
        gSlotTried[kSlotTable[i].slot] = true;
        if (!LoadTextureSlot(kSlotTable[i].slot, kSlotTable[i].baseName)) ++failed;
    }
    return failed;
}

void BuildSpriteAtlas(const AtlasRow* rows, int count) {
    gAtlasRows = rows;
    gAtlasRowCount = count;
    for (int i = 0; i < count; ++i) {
        const AtlasRow& row = rows[i];
        if (row.sprite >= count || row.sprite < 0 || row.sprite >= kSpriteCount) break;
        if (row.slot < 0 || row.slot >= kTextureSlotCount) continue;
        const TextureSlot& slot = R().slots[row.slot];
        // A slot that never loaded has no size; its sprites keep zero texture coordinates.
        const float w = slot.width > 0 ? static_cast<float>(slot.width) : 1.0f;
        const float h = slot.height > 0 ? static_cast<float>(slot.height) : 1.0f;
        SpriteDef& d = R().sprites[row.sprite];
        d.slot = static_cast<uint32_t>(row.slot);
        d.width = static_cast<float>(row.width);
        d.height = static_cast<float>(row.height);
        d.anchorX = row.anchorX;
        d.anchorY = row.anchorY;
        d.uLeft = static_cast<float>(row.x) / w;
        d.uRight = static_cast<float>(row.x + row.width) / w;
        d.vTop = static_cast<float>(row.y) / h;
        d.vBottom = static_cast<float>(row.y + row.height) / h;
    }
}

int TextureWidth(int slot) { return R().slots[slot].width; }
int TextureHeight(int slot) { return R().slots[slot].height; }
float SpriteWidth(int sprite) { return R().sprites[sprite].width; }
float SpriteHeight(int sprite) { return R().sprites[sprite].height; }
float SpriteAnchorX(int sprite) { return R().sprites[sprite].anchorX; }
float SpriteAnchorY(int sprite) { return R().sprites[sprite].anchorY; }

// ---- batch and colour ------------------------------------------------------------------------

void BeginBatch() {
    RendererState& r = R();
    r.vertexCount = 0;
    r.boundSlot = -1;
    r.batchOpaque = true;
    r.plainU = 0.0f;
    r.plainV = 0.0f;
    if (!r.gl) return;
    r.gl->BeginArrays(r.vertices);
    r.gl->BindTexture(0);
    r.gl->SetBlending(true);
    r.blending = true;
}

void FlushBatch() {
    RendererState& r = R();
    if (r.vertexCount > 0 && r.gl) {
        if (r.blending == r.batchOpaque) {
            r.blending = !r.batchOpaque;
            r.gl->SetBlending(r.blending);
        }
        r.gl->DrawTriangles(0, r.vertexCount);
        ++r.drawCalls;
    }
    r.vertexCount = 0;
    r.batchOpaque = true;
}

void ClearScreen(Colour colour) {
    if (!R().gl) return;
    constexpr float k = 1.0f / 255.0f;
    R().gl->Clear(ColourR(colour) * k, ColourG(colour) * k, ColourB(colour) * k, ColourA(colour) * k);
}

void SetColour(Colour colour) { R().colour = colour; }

void SetColourRGBA(int r, int g, int b, int a) {
    SetColour(PackColour(static_cast<uint32_t>(r), static_cast<uint32_t>(g), static_cast<uint32_t>(b),
                         static_cast<uint32_t>(a)));
}

void ResetColour() { SetColour(kWhite); }

// ---- appending -------------------------------------------------------------------------------

namespace {

void BindForTextured(int slot) {
    RendererState& r = R();
    if (slot != r.boundSlot) {
        FlushBatch();
        // A slot nobody asked for ahead loads here; the sprite being drawn keeps the texture
        // coordinates it had, and the next frame has the right ones.
        if (r.slots[slot].name == 0 && !gSlotTried[slot]) {
            ++r.lateSlots;
            if (EnsureTextureSlot(slot)) LogDebug("Texture slot %d loaded on first use", slot);
        }
        if (r.gl) r.gl->BindTexture(r.slots[slot].name);
        r.boundSlot = slot;
        const TextureSlot& s = r.slots[slot];
        r.plainU = s.whiteU;
        r.plainV = s.whiteV;
    }
    if (r.vertexCount >= kFlushAt) FlushBatch();
    if (!r.slots[slot].opaque || ColourA(r.colour) != 255) r.batchOpaque = false;
}

// Ends the batch and unbinds the texture, for plain shapes drawn without one.
void Unbind() {
    RendererState& r = R();
    FlushBatch();
    if (r.gl) r.gl->BindTexture(0);
    r.boundSlot = -1;
    r.plainU = 0.0f;
    r.plainV = 0.0f;
}

// Plain shapes sample the bound slot's white texel; only without one is the texture unbound.
void BindForUntextured(Colour colour) {
    RendererState& r = R();
    if (r.boundSlot != -1 && !r.slots[r.boundSlot].hasWhite) Unbind();
    if (r.vertexCount >= kFlushAt) FlushBatch();
    SetColour(colour);
    if (ColourA(colour) != 255) r.batchOpaque = false;
}

void Put(float x, float y, float u, float v) {
    RendererState& r = R();
    Vertex& out = r.vertices[r.vertexCount++];
    out.x = x;
    out.y = y;
    out.u = u;
    out.v = v;
    out.colour = r.colour;
}

// A vertex of a plain shape.
void PutPlain(float x, float y) { Put(x, y, R().plainU, R().plainV); }

// Corners in the order top-left, top-right, bottom-left, bottom-right.
void PutQuad(const float (&x)[4], const float (&y)[4], float uL, float uR, float vT, float vB) {
    Put(x[0], y[0], uL, vT);
    Put(x[1], y[1], uR, vT);
    Put(x[2], y[2], uL, vB);
    Put(x[1], y[1], uR, vT);
    Put(x[2], y[2], uL, vB);
    Put(x[3], y[3], uR, vB);
}

void PutRect(float left, float top, float right, float bottom, float uL, float uR, float vT, float vB) {
    const float x[4] = {left, right, left, right};
    const float y[4] = {top, top, bottom, bottom};
    PutQuad(x, y, uL, uR, vT, vB);
}

} // namespace

// ---- shapes and sprites ----------------------------------------------------------------------

void FillRect(float x, float y, float w, float h, Colour colour) {
    BindForUntextured(colour);
    const float u = R().plainU;
    const float v = R().plainV;
    PutRect(x, y, x + w, y + h, u, u, v, v);
    ResetColour();
}

void FillWideRect(float x, float y, float w, float h, Colour colour) {
    if (R().boundSlot != -1) Unbind();
    FillRect(x, y, w, h, colour);
}

void FillTriangle(float x1, float y1, float x2, float y2, float x3, float y3, Colour colour) {
    BindForUntextured(colour);
    PutPlain(x1, y1);
    PutPlain(x2, y2);
    PutPlain(x3, y3);
    ResetColour();
}

namespace {

// The band between two points as two FillTriangle calls; a normal too short to normalise is used
// as is.
void Band(float x1, float y1, float x2, float y2, float halfWidth, Colour colour) {
    float nx = y2 - y1;
    float ny = x1 - x2;
    const float length = std::sqrt(nx * nx + ny * ny);
    if (length >= 1.1920929e-07f) {
        nx = nx * halfWidth / length;
        ny = ny * halfWidth / length;
    }
    FillTriangle(x1 + nx, y1 + ny, x2 + nx, y2 + ny, x2 - nx, y2 - ny, colour);
    FillTriangle(x1 + nx, y1 + ny, x2 - nx, y2 - ny, x1 - nx, y1 - ny, colour);
}

} // namespace

void DrawLine(float x1, float y1, float x2, float y2, float halfWidth, Colour colour) {
    float nx = y2 - y1;
    float ny = x1 - x2;
    const float length = std::sqrt(nx * nx + ny * ny);
    if (length >= 1.1920929e-07f) {
        nx = nx * halfWidth / length;
        ny = ny * halfWidth / length;
    }
    BindForUntextured(colour);
    PutPlain(x1 + nx, y1 + ny);
    PutPlain(x2 + nx, y2 + ny);
    PutPlain(x2 - nx, y2 - ny);
    PutPlain(x1 + nx, y1 + ny);
    PutPlain(x2 - nx, y2 - ny);
    PutPlain(x1 - nx, y1 - ny);
    ResetColour();
}

void DrawSprite(int sprite, float x, float y) {
    const SpriteDef& d = R().sprites[sprite];
    BindForTextured(static_cast<int>(d.slot));
    const float left = x - d.anchorX;
    const float top = y - d.anchorY;
    PutRect(left, top, left + d.width, top + d.height, d.uLeft, d.uRight, d.vTop, d.vBottom);
}

void DrawSpriteScaled(int sprite, float x, float y, float sx, float sy) {
    const SpriteDef& d = R().sprites[sprite];
    BindForTextured(static_cast<int>(d.slot));
    PutRect(x - d.anchorX * sx, y - d.anchorY * sy, x + sx * (d.width - d.anchorX), y + sy * (d.height - d.anchorY),
            d.uLeft, d.uRight, d.vTop, d.vBottom);
}

void DrawSpriteRotated(int sprite, float x, float y, float angle, float sx, float sy) {
    const SpriteDef& d = R().sprites[sprite];
    BindForTextured(static_cast<int>(d.slot));
    const float c = std::cos(angle);
    const float s = std::sin(angle);
    const float l = -d.anchorX * sx;
    const float t = -d.anchorY * sy;
    const float r = sx * (d.width - d.anchorX);
    const float b = sy * (d.height - d.anchorY);
    const float px[4] = {l, r, l, r};
    const float py[4] = {t, t, b, b};
    float cx[4];
    float cy[4];
    for (int i = 0; i < 4; ++i) {
        cx[i] = x + px[i] * c - py[i] * s;
        cy[i] = y + py[i] * c + px[i] * s;
    }
    PutQuad(cx, cy, d.uLeft, d.uRight, d.vTop, d.vBottom);
}

void DrawSpriteSkewed(int sprite, float x, float y, float skew, float sx, float sy) {
    const SpriteDef& d = R().sprites[sprite];
    BindForTextured(static_cast<int>(d.slot));
    const float left = x - d.anchorX * sx;
    const float top = y - d.anchorY * sy;
    const float right = x + sx * (d.width - d.anchorX);
    const float bottom = y + sy * (d.height - d.anchorY);
    const float cx[4] = {left, right, left, right};
    const float cy[4] = {top, top + skew, bottom, bottom + skew};
    PutQuad(cx, cy, d.uLeft, d.uRight, d.vTop, d.vBottom);
}

void DrawTextureRegion(int slot, float x, float y, float w, float h, float uLeft, float uRight, float vTop,
                       float vBottom) {
    BindForTextured(slot);
    PutRect(x, y, x + w, y + h, uLeft, uRight, vTop, vBottom);
}

// ---- fixtures --------------------------------------------------------------------------------

void DrawFixtures(const b2Fixture* fixture, Colour colour) {
    for (const b2Fixture* f = fixture; f; f = f->GetNext()) {
        const b2Body* body = f->GetBody();
        const b2Transform& xf = body->GetTransform();
        const float c = xf.q.c;
        const float s = xf.q.s;
        auto world = [&](const b2Vec2& v, float* ox, float* oy) {
            *ox = c * v.x - s * v.y + xf.p.x;
            *oy = s * v.x + c * v.y + xf.p.y;
        };
        const b2Shape* shape = f->GetShape();
        switch (shape->GetType()) {
        case b2Shape::e_polygon: {
            const auto* poly = static_cast<const b2PolygonShape*>(shape);
            float x[b2_maxPolygonVertices];
            float y[b2_maxPolygonVertices];
            for (int i = 0; i < poly->m_count; ++i) world(poly->m_vertices[i], &x[i], &y[i]);
            if (poly->m_count == 2) {
                Band(x[0], y[0], x[1], y[1], 1.0f, colour);
            } else {
                for (int i = 1; i + 1 < poly->m_count; ++i)
                    FillTriangle(x[0], y[0], x[i], y[i], x[i + 1], y[i + 1], colour);
            }
            break;
        }
        case b2Shape::e_edge: {
            const auto* edge = static_cast<const b2EdgeShape*>(shape);
            float x1, y1, x2, y2;
            world(edge->m_vertex1, &x1, &y1);
            world(edge->m_vertex2, &x2, &y2);
            Band(x1, y1, x2, y2, 0.25f, colour);
            break;
        }
        case b2Shape::e_circle: {
            const auto* circle = static_cast<const b2CircleShape*>(shape);
            const b2Vec2 centre = body->GetWorldPoint(circle->m_p);
            const float scale = circle->m_radius * 0.04347826f;
            SetColour(colour);
            DrawSpriteScaled(0, centre.x, centre.y, scale, scale);
            ResetColour();
            break;
        }
        default:
            break;
        }
    }
}

// ---- transform -------------------------------------------------------------------------------

void PushMatrix() {
    if (R().gl) R().gl->PushMatrix();
}
void PopMatrix() {
    if (R().gl) R().gl->PopMatrix();
}
void TranslateMatrix(float x, float y) {
    if (R().gl) R().gl->Translate(x, y);
}
void ScaleMatrix(float sx, float sy) {
    if (R().gl) R().gl->Scale(sx, sy);
}
void RotateMatrix(float degrees) {
    if (R().gl) R().gl->Rotate(degrees);
}

void DrawWorldOutlines(const b2World* world) {
    static constexpr Colour kColours[6] = {
        PackColour(225, 225, 225, 255), PackColour(50, 225, 255, 255), PackColour(205, 20, 244, 255),
        PackColour(192, 192, 0, 255),   PackColour(0, 60, 240, 255),   PackColour(30, 235, 40, 255),
    };
    if (world == nullptr) return;
    int k = 0;
    for (const b2Body* body = world->GetBodyList(); body != nullptr; body = body->GetNext()) {
        const b2Fixture* fixture = body->GetFixtureList();
        if (fixture == nullptr) continue;
        const Colour colour = kColours[k % 6];
        ++k;
        DrawFixtures(fixture, colour);
    }
}

} // namespace kel
