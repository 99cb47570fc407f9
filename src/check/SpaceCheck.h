#pragma once

#include "check/CheckFinding.h"
#include "recordings/ORVMedia.h"
#include "settings/FILEDATA.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace zentrova {

// The space the recordings of one mode take, against the share of the card
// that config.bin sets aside for them.
struct ModeSpace {
    ORVMediaDivision mode = ORVMediaDivisionAlways;
    std::uint64_t bytes = 0;
    std::size_t files = 0;
    std::optional<std::uint32_t> sharePercent;
    std::optional<std::uint64_t> shareBytes;  // of the card's capacity
};

struct SpaceReport {
    std::optional<std::uint64_t> capacity;
    std::optional<std::uint64_t> available;
    std::array<ModeSpace, 3> modes = modesInOrder();

    static std::array<ModeSpace, 3> modesInOrder() {
        std::array<ModeSpace, 3> modes;
        modes[1].mode = ORVMediaDivisionMotion;
        modes[2].mode = ORVMediaDivisionEvent;
        return modes;
    }

    ModeSpace& mode(ORVMediaDivision division);
};

class SpaceCheck {
public:
    // Event recordings this full of their share are overwritten next.
    static constexpr double kEventsNearlyFull = 0.9;

    // The card's capacity and free space, and the shares of a valid split.
    static void measureCard(const std::string& directory, const FILEDATA* settings, SpaceReport& report);
    static void addFindings(const SpaceReport& report, CheckFindings& findings);
};

}  // namespace zentrova
