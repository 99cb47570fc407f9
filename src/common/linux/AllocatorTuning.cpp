#include "common/linux/AllocatorTuning.h"

#include "common/Log.h"

#include <malloc.h>

namespace zentrova {
namespace {

// Below a quarter of a 1280x720 picture nothing is worth a mapping.
constexpr int kMappedBlockBytes = 1024 * 1024;

}  // namespace

void mapLargeBlocksApart() {
    // A fixed threshold also turns off the allocator's raising of it.
    if (mallopt(M_MMAP_THRESHOLD, kMappedBlockBytes) != 1) logLine("the allocator kept its own threshold");
}

bool returnFreedMemory() { return malloc_trim(0) == 1; }

}  // namespace zentrova
