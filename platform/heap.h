// The process heap as the operating system sees it.
#pragma once

namespace kel {

// Hands the heap's free pages back to the system. Freeing alone leaves them counted against the
// game when they lie between blocks still in use; after a whole competition that was 4 MiB.
// Costs a walk of the heap, so it is for scene changes, not frames. Does nothing off glibc.
void ReturnFreeHeapToSystem();

} // namespace kel
