#pragma once

#include <string>

namespace zentrova {

// Why a block device is not taken for the camera's card.
struct CardExclusion {
    enum class Kind {
        UnknownDevice,
        NotMounted,
        NotRemovable,
        // The disk backs a mount of the system (detail: the mount point).
        SystemMount,
        // The disk backs swap space (detail: the swap device or file).
        Swap,
        // The kernel was told to start from the disk (detail: the kernel argument).
        StartMedium,
        // The disk has a second volume mounted (detail: its mount point).
        OtherMount,
        // Another block device is stacked on the disk (detail: its name).
        HeldDevice,
    };

    Kind kind = Kind::UnknownDevice;
    std::string detail;
};

// One readable sentence naming the device and the reason.
std::string cardExclusionText(const std::string& deviceName, const CardExclusion& exclusion);

}  // namespace zentrova
