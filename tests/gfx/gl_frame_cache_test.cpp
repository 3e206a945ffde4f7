#include "gfx/gl_frame_cache.h"
#include "gfx/gl_recording.h"

#include <gtest/gtest.h>

namespace kel {
namespace {

// One frame as the renderer sends it: a clear, a bind and one quad at x.
void Frame(FrameCacheGlBackend& cache, float x) {
    Vertex quad[6];
    for (Vertex& v : quad) v.x = x;
    cache.Clear(0.0f, 0.0f, 0.0f, 1.0f);
    cache.BeginArrays(quad);
    cache.BindTexture(7);
    cache.DrawTriangles(0, 6);
}

TEST(FrameCache, OnlyANewFrameTextureOrInvalidationIsSentAgain) {
    RecordingGlBackend real;
    FrameCacheGlBackend cache(&real);
    Frame(cache, 1.0f);
    EXPECT_TRUE(cache.EndFrame());
    ASSERT_EQ(real.draws.size(), 1u);
    EXPECT_EQ(real.draws[0].texture, 7u);
    Frame(cache, 1.0f);
    EXPECT_FALSE(cache.EndFrame()) << "a frame equal to the last shown is not sent again";
    EXPECT_EQ(real.draws.size(), 1u);
    Frame(cache, 2.0f);
    EXPECT_TRUE(cache.EndFrame()) << "a moved vertex is a new frame";
    ASSERT_EQ(real.draws.size(), 2u);
    EXPECT_FLOAT_EQ(real.draws[1].vertices[0].x, 2.0f);
    cache.CreateTexture(1, 1, nullptr);
    Frame(cache, 2.0f);
    EXPECT_TRUE(cache.EndFrame()) << "texture 7 may hold other pixels now";
    Frame(cache, 2.0f);
    cache.Invalidate();
    EXPECT_TRUE(cache.EndFrame());
    EXPECT_EQ(real.draws.size(), 4u);
    // A held-back frame never reaches GL, and the screen still shows the last one sent.
    Frame(cache, 3.0f);
    cache.DropFrame();
    EXPECT_EQ(real.draws.size(), 4u);
    Frame(cache, 2.0f);
    EXPECT_FALSE(cache.EndFrame());
    Frame(cache, 3.0f);
    EXPECT_TRUE(cache.EndFrame());
    EXPECT_EQ(real.draws.size(), 5u);
}

} // namespace
} // namespace kel
