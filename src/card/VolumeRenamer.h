#pragma once

#include "card/TKUSBDiskEntity.h"

#include <optional>
#include <string>

namespace zentrova {

// Gives a volume a new name without asking for a password and without ever
// unmounting it: where that is not possible, nothing is changed.
class VolumeRenamer {
public:
    virtual ~VolumeRenamer() = default;

    // None on success; otherwise the readable reason, for the caller's log.
    virtual std::optional<std::string> setVolumeName(const TKUSBDiskEntity& volume, const std::string& name) = 0;
};

}  // namespace zentrova
