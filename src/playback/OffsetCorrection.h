#pragma once

#include <optional>

namespace zentrova {

// How two players moved together come back in step: the one ahead waits
// until the other has caught up. A wait is exact where a change of pace is
// not: the player's clock is moved on by precisely the time it was paused.
struct OffsetCorrection {
    bool firstWaits = false;
    double waitMs = 0;

    // Offsets below this (in media time) are not worth a wait.
    static constexpr double kToleranceMs = 8;
    // Farther apart than this, the players were not moved together, and
    // the one heard would fall silent for too long.
    static constexpr double kLargestOffsetMs = 600;

    // From the moments each player would show media time 0 (wall ms) and
    // the rate both play at; none when they are in step or too far apart.
    static std::optional<OffsetCorrection> between(double firstAtZeroMs, double secondAtZeroMs, double rate);
};

}  // namespace zentrova
