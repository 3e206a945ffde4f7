// The allocation counter behind --bench: every way game code and Box2D get heap memory is
// counted once, on the counting thread only.
#include "platform/alloc_count.h"

#include <box2d/box2d.h>
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <thread>
#include <vector>

namespace kel {
namespace {

// Keeps the compiler from removing an allocation whose result is unused.
void* volatile gSink = nullptr;
template <typename T> T* Keep(T* p) {
    gSink = p;
    return p;
}

class AllocCount : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!AllocationCountingAvailable()) GTEST_SKIP() << "this build does not replace the allocator";
        StartCountingAllocations();
    }
    void TearDown() override { StopCountingAllocations(); }
};

TEST_F(AllocCount, NewCAndBox2DAllocationsCountOncePerBlockAndFreeingStoppedOrOtherThreadsDoNot) {
    const uint64_t before = AllocationCount();
    int* one = Keep(new int(3));
    int* many = Keep(new int[40]);
    void* b = Keep(std::calloc(4, 8));
    void* a = Keep(std::realloc(Keep(std::malloc(24)), 4096));
    // The aligned ones, which OpenAL Soft uses for every buffer it attaches to a source.
    void* c = Keep(std::aligned_alloc(64, 128));
    void* d = nullptr;
    EXPECT_EQ(posix_memalign(&d, 32, 100), 0);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(c) % 64 + reinterpret_cast<uintptr_t>(Keep(d)) % 32, 0u);
    EXPECT_EQ(posix_memalign(&d, 24, 100), EINVAL);
    EXPECT_EQ(AllocationCount() - before, 7u);
    delete one;
    delete[] many;
    std::free(a);
    std::free(b);
    std::free(c);
    std::free(d);
    EXPECT_EQ(AllocationCount() - before, 7u);
    // Box2D lives in a shared library and allocates through malloc there.
    auto world = std::make_unique<b2World>(b2Vec2(0.0f, 10.0f));
    const b2BodyDef def;
    world->CreateBody(&def);
    EXPECT_GE(AllocationCount() - before, 9u);
    StopCountingAllocations();
    const uint64_t stopped = AllocationCount();
    Keep(std::vector<int>(100).data());
    EXPECT_EQ(AllocationCount(), stopped);
    StartCountingAllocations();
    const uint64_t started = AllocationCount();
    std::thread quiet([] {
        for (int i = 0; i < 50; ++i)
            std::free(Keep(std::malloc(100)));
    });
    quiet.join();
    // Starting the thread allocates a little on this thread; its own 50 mallocs are not counted.
    EXPECT_LT(AllocationCount() - started, 10u);
}

} // namespace
} // namespace kel
