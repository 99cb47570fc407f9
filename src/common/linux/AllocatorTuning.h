#pragma once

namespace zentrova {

// Makes the allocator give every large block (a decoded picture is a few
// megabytes) a mapping of its own, returned to the system when freed.
// Left to itself, the allocator raises that limit after the first such
// block is freed and serves the next ones from its heaps, which keep the
// memory: each restart of a video output then left some 50 MB behind.
void mapLargeBlocksApart();

}  // namespace zentrova
