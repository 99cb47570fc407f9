#pragma once

#include <cstdint>

namespace zentrova {

// Where a move lands while the pair plays faster than normal. A move into
// the middle of a group of pictures must decode from the key picture
// before it; at double speed the clock runs on meanwhile, so each player
// leaves out a different number of the first pictures and the two come
// back apart by several frames. Cameras write a key picture every second,
// so a move to the nearest whole second starts both on a key picture.
struct FastPlaySeek {
    // Above this rate moves land on whole seconds.
    static constexpr double kFastestExactRate = 1.0;

    // The time to move to for a requested targetMs (clamped at 0) in a
    // file of lengthMs, at rate. A target before the end never lands past
    // it; targets at or past the end are left alone.
    static std::int64_t landingMs(std::int64_t targetMs, std::int64_t lengthMs, double rate);
};

}  // namespace zentrova
