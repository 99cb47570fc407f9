#pragma once

#include "card/CardExclusion.h"
#include "card/TKUSBDiskEntity.h"

#include <cstdint>
#include <optional>
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

// The largest volume taken for a card: 2 TiB, the most an SDXC card holds.
// It is also where FAT32 ends: its boot sector counts at most 2^32 - 1
// sectors of 512 bytes, and mkfs.fat leaves whatever lies beyond unused.
constexpr std::uint64_t kMaxCardVolumeSize = std::uint64_t{1} << 41;

// Why no format commands were made.
enum class CardFormatRefusal { None, DeviceName, ProgramPath, NotACard, VolumeTooLarge, VolumeTooSmall };

struct CardFormatPlan {
    std::optional<CardFormatCommands> commands;
    CardFormatRefusal refusal = CardFormatRefusal::None;
    // For NotACard: what rules the device out.
    std::optional<CardExclusion> exclusion;
    // The refusal as one readable sentence; empty for a plan.
    std::string refusalText;
};

// A block device's own name (sdb, sdb1, mmcblk0p1): a letter, then letters
// and digits only, so that it names a file in /dev and nothing else.
bool isPlainBlockDeviceName(std::string_view name);

class VolumeSource;

// The commands that format the card on the block device, made only for a
// device that the source lists as a card right now. A whole medium, as the
// source sees the device, has every partition unmounted as well as the disk
// itself. The size (the card's own when absent) decides the clusters.
// mkfsProgram is the absolute path of mkfs.fat, as the elevation tool needs
// it. Refused when a device name is not a plain block-device name, the
// program path is not a plain absolute path, the device is not a card's, or
// either size is beyond what a card can be, or too small for FAT32.
CardFormatPlan cardFormatCommands(VolumeSource& source, const std::string& deviceName,
                                  std::optional<std::uint64_t> volumeSize, std::string_view mkfsProgram);

}  // namespace zentrova
