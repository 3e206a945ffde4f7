// Allocation counting for builds where the allocator cannot be replaced: nothing is counted.
#include "platform/alloc_count.h"

namespace kel {

void StartCountingAllocations() {}
void StopCountingAllocations() {}
uint64_t AllocationCount() {
    return 0;
}
bool AllocationCountingAvailable() {
    return false;
}

} // namespace kel
