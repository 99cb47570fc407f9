#pragma once

#include <cstdint>

namespace zentrova {

// One receiver channel of the satellites in view.
struct PAIR {
    std::uint8_t first = 0;   // satellite number
    std::uint8_t second = 0;  // signal-to-noise ratio

    bool operator==(const PAIR&) const = default;
};

static_assert(sizeof(PAIR) == 2);

}  // namespace zentrova
