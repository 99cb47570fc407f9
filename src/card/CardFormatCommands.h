#pragma once

#include "card/TKUSBDiskEntity.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace zentrova {

// One command line for the command runner.
struct CardCommand {
    std::string commandLine;
    bool withAdministratorPrivileges = false;
};

// What a format of the camera's card runs, in this order: unmount, format,
// mount.
struct CardFormatCommands {
    std::vector<CardCommand> unmount;
    CardCommand format;
    CardCommand mount;

    std::vector<CardCommand> inOrder() const;
};

// The cluster argument (sectors per cluster) for a volume of that many bytes:
// 32 below 7 GiB, else 128.
long long clusterSizeByVolumeSizeInKB(std::uint64_t volumeSize);

// The sectors per cluster that a format uses: the cluster argument, halved
// while it would leave fewer clusters than FAT32 needs (other systems read
// such a small "FAT32" as FAT16 and corrupt it). None for a volume too small
// for FAT32 at one sector per cluster.
std::optional<long long> formatClusterArgument(std::uint64_t volumeSize);

// Why no format commands were made.
enum class CardFormatRefusal { None, DeviceName, ProgramPath, VolumeTooSmall };

struct CardFormatPlan {
    std::optional<CardFormatCommands> commands;
    CardFormatRefusal refusal = CardFormatRefusal::None;
};

// The string-table key that explains a refusal to the user.
std::string_view cardFormatRefusalKey(CardFormatRefusal refusal);

// A block device's own name (sdb, sdb1, mmcblk0p1): a letter, then letters
// and digits only, so that it names a file in /dev and nothing else.
bool isPlainBlockDeviceName(std::string_view name);

// The commands that format the volume. A whole medium has every partition
// unmounted as well as the disk itself. mkfsProgram is the absolute path of
// mkfs.fat, as the elevation tool needs it. Refused when a device name is not
// a plain block-device name, the program path is not a plain absolute path or
// the volume is too small for FAT32.
CardFormatPlan cardFormatCommands(const TKUSBDiskEntity& volume,
                                                     std::span<const std::string> partitionsOfWholeMedium,
                                                     std::string_view mkfsProgram);

}  // namespace zentrova
