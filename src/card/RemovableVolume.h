#pragma once

#include "card/TKUSBDiskEntity.h"

#include <optional>
#include <string>

namespace zentrova {

// One mounted removable volume with what the platform knows of its device.
struct RemovableVolume {
    std::string mountedURL;
    // How a card reaches the computer: "USB" for a reader on the USB bus,
    // "SD" for a card in a built-in slot; absent for other removable media.
    std::optional<std::string> deviceProtocol;
    // Absent when the volume has no block device name.
    std::optional<TKUSBDiskEntity> description;
};

}  // namespace zentrova
