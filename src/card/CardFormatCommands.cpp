#include "card/CardFormatCommands.h"

#include "common/Localization.h"

namespace zentrova {
namespace {

constexpr std::uint64_t kLargeCardGiB = 7;
constexpr size_t kMaxDeviceNameLength = 32;
constexpr std::uint64_t kSectorSize = 512;
constexpr std::uint64_t kReservedSectors = 32;
constexpr std::uint64_t kFatCount = 2;
// mkfs.fat's own lower bound for FAT32; readers take anything below 65525
// clusters for FAT16.
constexpr std::uint64_t kMinFat32Clusters = 65529;

// The data clusters that mkfs.fat lays out, as it sizes its FATs.
std::uint64_t fat32Clusters(std::uint64_t volumeSize, std::uint64_t sectorsPerCluster) {
    const std::uint64_t sectors = volumeSize / kSectorSize;
    if (sectors <= kReservedSectors) return 0;
    const std::uint64_t available = sectors - kReservedSectors;
    const std::uint64_t entries = available / sectorsPerCluster + 2;
    const std::uint64_t fatSectors = (entries * 4 + kSectorSize - 1) / kSectorSize;
    if (available <= kFatCount * fatSectors) return 0;
    return (available - kFatCount * fatSectors) / sectorsPerCluster;
}

bool isAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool isAsciiDigit(char c) { return c >= '0' && c <= '9'; }

// The program path is split like the rest of the command line.
bool isPlainAbsolutePath(std::string_view path) {
    return path.starts_with('/') && path.find_first_of(" \t\n'\"\\") == std::string_view::npos;
}

std::string devicePath(const std::string& name) { return "/dev/" + name; }

CardCommand unmountCommand(const std::string& name) {
    return {fillFormat("udisksctl unmount -b %@", {devicePath(name)}), false};
}

}  // namespace

std::vector<CardCommand> CardFormatCommands::inOrder() const {
    std::vector<CardCommand> all = unmount;
    all.push_back(format);
    all.push_back(mount);
    return all;
}

long long clusterSizeByVolumeSizeInKB(std::uint64_t volumeSize) {
    return (volumeSize >> 30) < kLargeCardGiB ? 32 : 128;
}

std::optional<long long> formatClusterArgument(std::uint64_t volumeSize) {
    long long sectorsPerCluster = clusterSizeByVolumeSizeInKB(volumeSize);
    while (sectorsPerCluster > 1 &&
           fat32Clusters(volumeSize, static_cast<std::uint64_t>(sectorsPerCluster)) < kMinFat32Clusters) {
        sectorsPerCluster /= 2;
    }
    if (fat32Clusters(volumeSize, static_cast<std::uint64_t>(sectorsPerCluster)) < kMinFat32Clusters) {
        return std::nullopt;
    }
    return sectorsPerCluster;
}

std::string_view cardFormatRefusalKey(CardFormatRefusal refusal) {
    switch (refusal) {
    case CardFormatRefusal::None: return {};
    case CardFormatRefusal::DeviceName: return TextKey{"msg.format_bad_device_name"}.key;
    case CardFormatRefusal::ProgramPath: return TextKey{"msg.format_tool_missing"}.key;
    case CardFormatRefusal::VolumeTooSmall: return TextKey{"msg.format_volume_too_small"}.key;
    }
    return {};
}

bool isPlainBlockDeviceName(std::string_view name) {
    if (name.empty() || name.size() > kMaxDeviceNameLength || !isAsciiLetter(name.front())) return false;
    for (char c : name) {
        if (!isAsciiLetter(c) && !isAsciiDigit(c)) return false;
    }
    return true;
}

CardFormatPlan cardFormatCommands(const TKUSBDiskEntity& volume, std::span<const std::string> partitionsOfWholeMedium,
                                  std::string_view mkfsProgram) {
    const std::string& device = volume.deviceFilePath();
    if (!isPlainBlockDeviceName(device)) return {std::nullopt, CardFormatRefusal::DeviceName};
    if (!isPlainAbsolutePath(mkfsProgram)) return {std::nullopt, CardFormatRefusal::ProgramPath};
    const auto sectorsPerCluster = formatClusterArgument(volume.volumeSize());
    if (!sectorsPerCluster) return {std::nullopt, CardFormatRefusal::VolumeTooSmall};
    CardFormatCommands commands;
    if (volume.mediaWhole()) {
        for (const std::string& partition : partitionsOfWholeMedium) {
            if (!isPlainBlockDeviceName(partition)) return {std::nullopt, CardFormatRefusal::DeviceName};
            commands.unmount.push_back(unmountCommand(partition));
        }
    }
    commands.unmount.push_back(unmountCommand(device));
    // "-a" keeps exactly the 32 reserved sectors: mkfs.fat would otherwise
    // add some to align the data area with large clusters.
    commands.format = {fillFormat("%@ -F 32 -n ZENTROVA -f 2 -b 6 -R 32 -s %@ -a %@",
                                  {std::string(mkfsProgram),
                                   std::to_string(*sectorsPerCluster),
                                   devicePath(device)}),
                       true};
    commands.mount = {fillFormat("udisksctl mount -b %@", {devicePath(device)}), false};
    return {std::move(commands), CardFormatRefusal::None};
}

}  // namespace zentrova
