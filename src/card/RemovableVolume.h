#pragma once

#include "card/TKUSBDiskEntity.h"

#include <optional>
#include <string>

namespace zentrova {

// One mounted removable volume with what the platform knows of its device.
struct RemovableVolume {
    std::string mountedURL;
    // The bus the device is attached by ("USB"), when known.
    std::optional<std::string> deviceProtocol;
    // Absent when the volume has no block device name.
    std::optional<TKUSBDiskEntity> description;
};

}  // namespace zentrova
