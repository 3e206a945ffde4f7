#include "gfx/gl_frame_cache.h"

#include <cstring>

namespace kel {
namespace {

constexpr uint64_t kFnvOffset = 1469598103934665603ull;
constexpr uint64_t kFnvPrime = 1099511628211ull;

uint64_t Fnv(uint64_t hash, const void* data, size_t size) {
    const auto* bytes = static_cast<const uint8_t*>(data);
    for (size_t i = 0; i < size; ++i) hash = (hash ^ bytes[i]) * kFnvPrime;
    return hash;
}

// Enough for the busiest scene's frame, so that recording does not reallocate in play.
constexpr size_t kReservedCommands = 4096;
constexpr size_t kReservedVertices = 65536;

} // namespace

FrameCacheGlBackend::FrameCacheGlBackend(GlBackend* realBackend) : real(realBackend), hash(kFnvOffset) {
    commands.reserve(kReservedCommands);
    vertices.reserve(kReservedVertices);
}

void FrameCacheGlBackend::Add(const Command& c) {
    commands.push_back(c);
    hash = Fnv(hash, &c.op, sizeof c.op);
    hash = Fnv(hash, &c.a, sizeof c.a);
    hash = Fnv(hash, &c.b, sizeof c.b);
    hash = Fnv(hash, c.f, sizeof c.f);
}

void FrameCacheGlBackend::SetupState(int screenWidth, int screenHeight) {
    real->SetupState(screenWidth, screenHeight);
    Invalidate();
}

uint32_t FrameCacheGlBackend::CreateTexture(int width, int height, const uint8_t* rgba) {
    Invalidate();
    return real->CreateTexture(width, height, rgba);
}

void FrameCacheGlBackend::DeleteTexture(uint32_t name) {
    Invalidate();
    real->DeleteTexture(name);
}

void FrameCacheGlBackend::BindTexture(uint32_t name) {
    Command c;
    c.op = kBind;
    c.a = name;
    Add(c);
}

void FrameCacheGlBackend::BeginArrays(const Vertex* v) { base = v; }

void FrameCacheGlBackend::DrawTriangles(int first, int count) {
    if (!base || count <= 0) return;
    Command c;
    c.op = kDraw;
    c.a = static_cast<uint32_t>(vertices.size());
    c.b = static_cast<uint32_t>(count);
    Add(c);
    vertices.insert(vertices.end(), base + first, base + first + count);
    hash = Fnv(hash, base + first, sizeof(Vertex) * static_cast<size_t>(count));
}

void FrameCacheGlBackend::SetColour(float r, float g, float b, float a) {
    Command c;
    c.op = kColour;
    c.f[0] = r;
    c.f[1] = g;
    c.f[2] = b;
    c.f[3] = a;
    Add(c);
}

void FrameCacheGlBackend::Clear(float r, float g, float b, float a) {
    Command c;
    c.op = kClear;
    c.f[0] = r;
    c.f[1] = g;
    c.f[2] = b;
    c.f[3] = a;
    Add(c);
}

void FrameCacheGlBackend::SetBlending(bool on) {
    Command c;
    c.op = kBlend;
    c.a = on ? 1u : 0u;
    Add(c);
}

void FrameCacheGlBackend::PushMatrix() {
    Command c;
    c.op = kPush;
    Add(c);
}

void FrameCacheGlBackend::PopMatrix() {
    Command c;
    c.op = kPop;
    Add(c);
}

void FrameCacheGlBackend::Translate(float x, float y) {
    Command c;
    c.op = kTranslate;
    c.f[0] = x;
    c.f[1] = y;
    Add(c);
}

void FrameCacheGlBackend::Scale(float sx, float sy) {
    Command c;
    c.op = kScale;
    c.f[0] = sx;
    c.f[1] = sy;
    Add(c);
}

void FrameCacheGlBackend::Rotate(float degrees) {
    Command c;
    c.op = kRotate;
    c.f[0] = degrees;
    Add(c);
}

bool FrameCacheGlBackend::ReadPixels(int width, int height, uint8_t* rgba) {
    return real->ReadPixels(width, height, rgba);
}

bool FrameCacheGlBackend::EndFrame() {
    const bool send = !shownValid || hash != shownHash;
    if (send) {
        real->BeginArrays(vertices.data());
        for (const Command& c : commands) {
            switch (c.op) {
            case kBind: real->BindTexture(c.a); break;
            case kDraw: real->DrawTriangles(static_cast<int>(c.a), static_cast<int>(c.b)); break;
            case kColour: real->SetColour(c.f[0], c.f[1], c.f[2], c.f[3]); break;
            case kClear: real->Clear(c.f[0], c.f[1], c.f[2], c.f[3]); break;
            case kBlend: real->SetBlending(c.a != 0); break;
            case kPush: real->PushMatrix(); break;
            case kPop: real->PopMatrix(); break;
            case kTranslate: real->Translate(c.f[0], c.f[1]); break;
            case kScale: real->Scale(c.f[0], c.f[1]); break;
            case kRotate: real->Rotate(c.f[0]); break;
            }
        }
        shownHash = hash;
        shownValid = true;
        ++framesSent;
    } else {
        ++framesSkipped;
    }
    ClearRecording();
    return send;
}

void FrameCacheGlBackend::DropFrame() {
    ++framesDropped;
    ClearRecording();
}

void FrameCacheGlBackend::ClearRecording() {
    commands.clear();
    vertices.clear();
    hash = kFnvOffset;
}

} // namespace kel
