// The allocation counter behind --bench: every way game code and Box2D get heap memory is
// counted once, on the counting thread only.
#include "platform/alloc_count.h"

#include <box2d/box2d.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace kel {
namespace {

// Keeps the compiler from removing an allocation whose result is unused.
void* volatile gSink = nullptr;

class AllocCount : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!AllocationCountingAvailable()) GTEST_SKIP() << "this build does not replace the allocator";
        StartCountingAllocations();
    }
    void TearDown() override { StopCountingAllocations(); }
};

TEST_F(AllocCount, NewCAndBox2DAllocationsCountOncePerBlockAndFreeingIsFree) {
    const uint64_t before = AllocationCount();
    int* one = new int(3);
    gSink = one;
    int* many = new int[40];
    gSink = many;
    void* a = std::malloc(24);
    gSink = a;
    void* b = std::calloc(4, 8);
    gSink = b;
    a = std::realloc(a, 4096);
    gSink = a;
    EXPECT_EQ(AllocationCount() - before, 5u);
    delete one;
    delete[] many;
    std::free(a);
    std::free(b);
    int local[16] = {};
    gSink = local;
    EXPECT_EQ(AllocationCount() - before, 5u);
    // Box2D lives in a shared library and allocates through malloc there.
    auto world = std::make_unique<b2World>(b2Vec2(0.0f, 10.0f));
    b2BodyDef def;
    def.type = b2_dynamicBody;
    world->CreateBody(&def);
    EXPECT_GE(AllocationCount() - before, 7u);
}

TEST_F(AllocCount, StoppedOrOtherThreadsAreNotCounted) {
    StopCountingAllocations();
    uint64_t before = AllocationCount();
    std::vector<int> v(100);
    gSink = v.data();
    EXPECT_EQ(AllocationCount(), before);
    StartCountingAllocations();
    before = AllocationCount();
    std::thread quiet([] {
        for (int i = 0; i < 50; ++i) {
            void* p = std::malloc(100);
            gSink = p;
            std::free(p);
        }
    });
    quiet.join();
    // Starting the thread allocates a little on this thread; its own 50 mallocs are not counted.
    EXPECT_LT(AllocationCount() - before, 10u);
}

} // namespace
} // namespace kel
