#pragma once

namespace zentrova {

// Makes the allocator give every large block (a decoded picture is a few
// megabytes) a mapping of its own, returned to the system when freed.
// Left to itself, the allocator raises that limit after the first such
// block is freed and serves the next ones from its heaps, which keep the
// memory: each restart of a video output then left some 50 MB behind.
void mapLargeBlocksApart();

// Gives the free pages inside the allocator's heaps back to the system.
// Every decoding thread has a heap of its own, and the blocks of video
// they pass around (a few hundred kilobytes each) leave free holes there
// that the allocator keeps: half a minute of play left some 12 MB there.
// Takes a millisecond or two; true when something was given back.
bool returnFreedMemory();

}  // namespace zentrova
