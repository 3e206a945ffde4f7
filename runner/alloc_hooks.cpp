// The counting allocator hooks: global operator new and delete, and malloc, calloc, realloc and
// the aligned allocators (OpenAL Soft uses those) interposed from the executable so calls from
// shared libraries are seen too. Each forwards to
// glibc's own allocator entry points; free stays glibc's, which owns every block handed out here.
#include "platform/alloc_count.h"

#include <atomic>
#include <cerrno>
#include <cstddef>
#include <cstdlib>
#include <new>

extern "C" {
void* __libc_malloc(size_t size);
void* __libc_calloc(size_t count, size_t size);
void* __libc_realloc(void* block, size_t size);
void* __libc_memalign(size_t alignment, size_t size);
}

namespace kel {
namespace {

std::atomic<uint64_t> gAllocations{0};
// Constant-initialised, so reading it never allocates (it is read inside malloc).
thread_local bool tCounting = false;

inline void Count() {
    if (tCounting) gAllocations.fetch_add(1, std::memory_order_relaxed);
}

void* NewBlock(size_t size) {
    Count();
    void* block = __libc_malloc(size == 0 ? 1 : size);
    if (!block) throw std::bad_alloc();
    return block;
}

} // namespace

void StartCountingAllocations() {
    tCounting = true;
}
void StopCountingAllocations() {
    tCounting = false;
}
uint64_t AllocationCount() {
    return gAllocations.load(std::memory_order_relaxed);
}
bool AllocationCountingAvailable() {
    return true;
}

} // namespace kel

extern "C" void* malloc(size_t size) noexcept {
    kel::Count();
    return __libc_malloc(size);
}

extern "C" void* calloc(size_t count, size_t size) noexcept {
    kel::Count();
    return __libc_calloc(count, size);
}

extern "C" void* realloc(void* block, size_t size) noexcept {
    kel::Count();
    return __libc_realloc(block, size);
}

extern "C" void* aligned_alloc(size_t alignment, size_t size) noexcept {
    kel::Count();
    return __libc_memalign(alignment, size);
}

extern "C" void* memalign(size_t alignment, size_t size) noexcept {
    kel::Count();
    return __libc_memalign(alignment, size);
}

extern "C" int posix_memalign(void** out, size_t alignment, size_t size) noexcept {
    if (alignment % sizeof(void*) != 0 || (alignment & (alignment - 1)) != 0) return EINVAL;
    kel::Count();
    void* block = __libc_memalign(alignment, size);
    if (!block) return ENOMEM;
    *out = block;
    return 0;
}

void* operator new(size_t size) {
    return kel::NewBlock(size);
}
void* operator new[](size_t size) {
    return kel::NewBlock(size);
}
void* operator new(size_t size, const std::nothrow_t&) noexcept {
    kel::Count();
    return __libc_malloc(size == 0 ? 1 : size);
}
void* operator new[](size_t size, const std::nothrow_t&) noexcept {
    kel::Count();
    return __libc_malloc(size == 0 ? 1 : size);
}
void operator delete(void* block) noexcept {
    std::free(block);
}
void operator delete[](void* block) noexcept {
    std::free(block);
}
void operator delete(void* block, size_t) noexcept {
    std::free(block);
}
void operator delete[](void* block, size_t) noexcept {
    std::free(block);
}
void operator delete(void* block, const std::nothrow_t&) noexcept {
    std::free(block);
}
void operator delete[](void* block, const std::nothrow_t&) noexcept {
    std::free(block);
}
