// Heap allocation counting for the runner's --bench and the game's frame meter. A counting build replaces
// the global operator new and interposes malloc, calloc and realloc (Box2D allocates through
// b2Alloc, which calls malloc inside its shared library), so every allocation on the thread that
// turned counting on is counted once. Other threads (the audio mixer) are not counted, nor are
// over-aligned operator new and memalign-style calls, which nothing in the game uses.
#pragma once

#include <cstdint>

namespace kel {

// Counts allocations made on the calling thread from now on.
void StartCountingAllocations();
void StopCountingAllocations();

// Allocations counted so far (all counting threads together).
uint64_t AllocationCount();

// False in builds that cannot replace the allocator (the sanitizer build owns malloc there).
bool AllocationCountingAvailable();

} // namespace kel
