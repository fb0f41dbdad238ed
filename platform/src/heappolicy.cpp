#include "platform/heappolicy.h"

#include <malloc.h>

namespace platform {

namespace {

// Blocks below this come from the heap and are reused once freed (a fixed value also stops the
// allocator from moving the limit on its own).
constexpr int kMappedBlockThreshold = 32 * 1024 * 1024;
// Free memory at the top of the heap beyond this goes back to the system.
constexpr int kKeptFreeMemory = 64 * 1024 * 1024;

}  // namespace

void keepFreedMemoryForReuse() {
    mallopt(M_MMAP_THRESHOLD, kMappedBlockThreshold);
    mallopt(M_TRIM_THRESHOLD, kKeptFreeMemory);
}

}  // namespace platform
