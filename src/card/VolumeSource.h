#pragma once

#include "card/CardExclusion.h"
#include "card/RemovableVolume.h"

#include <optional>

#include <string>
#include <vector>

namespace zentrova {

// The platform's view of mounted volumes. Every call looks again, so a card
// put in or taken out is seen at the next call.
class VolumeSource {
public:
    virtual ~VolumeSource() = default;
    // The mounted removable volumes in the order the system lists them. A
    // volume on a disk that the system uses (any of its mounts, swap, the
    // medium it started from) or that has a second volume mounted is never
    // among them, whatever its bus.
    virtual std::vector<RemovableVolume> removableVolumes() = 0;
    // The partitions of a whole disk by device name (sdb1, sdb2...), empty for
    // an unknown disk or one without partitions.
    virtual std::vector<std::string> partitionNames(const std::string& diskName) = 0;
    // Why the block device (sdb1, mmcblk0p1) is not among the cards'
    // devices; none when nothing rules it out.
    virtual std::optional<CardExclusion> cardExclusion(const std::string& deviceName) = 0;
};

}  // namespace zentrova
