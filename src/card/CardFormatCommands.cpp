#include "card/CardFormatCommands.h"

#include "card/UsbVolumes.h"
#include "card/VolumeSource.h"
#include "common/Localization.h"

#include <algorithm>

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

TextKey refusalKey(CardFormatRefusal refusal) {
    switch (refusal) {
    case CardFormatRefusal::DeviceName: return TextKey{"msg.format_bad_device_name"};
    case CardFormatRefusal::ProgramPath: return TextKey{"msg.format_tool_missing"};
    case CardFormatRefusal::VolumeTooLarge: return TextKey{"msg.format_volume_too_large"};
    case CardFormatRefusal::VolumeTooSmall: return TextKey{"msg.format_volume_too_small"};
    case CardFormatRefusal::None:
    case CardFormatRefusal::NotACard: break;
    }
    return TextKey{};
}

CardFormatPlan refused(CardFormatRefusal refusal) {
    CardFormatPlan plan;
    plan.refusal = refusal;
    plan.refusalText = localized(refusalKey(refusal));
    return plan;
}

// The card's volume as the source lists it now, never an older description.
std::optional<TKUSBDiskEntity> listedCard(VolumeSource& source, const std::string& device) {
    for (const TKUSBDiskEntity& volume : usbDiskEntities(source)) {
        if (volume.deviceFilePath() == device) return volume;
    }
    return std::nullopt;
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

bool isPlainBlockDeviceName(std::string_view name) {
    if (name.empty() || name.size() > kMaxDeviceNameLength || !isAsciiLetter(name.front())) return false;
    for (char c : name) {
        if (!isAsciiLetter(c) && !isAsciiDigit(c)) return false;
    }
    return true;
}

CardFormatPlan cardFormatCommands(VolumeSource& source, const std::string& device,
                                  std::optional<std::uint64_t> volumeSize, std::string_view mkfsProgram) {
    if (!isPlainBlockDeviceName(device)) return refused(CardFormatRefusal::DeviceName);
    if (!isPlainAbsolutePath(mkfsProgram)) return refused(CardFormatRefusal::ProgramPath);
    const auto card = listedCard(source, device);
    if (!card) {
        const CardExclusion exclusion =
            source.cardExclusion(device).value_or(CardExclusion{CardExclusion::Kind::NotRemovable, {}});
        CardFormatPlan plan = refused(CardFormatRefusal::NotACard);
        plan.exclusion = exclusion;
        plan.refusalText = cardExclusionText(device, exclusion);
        return plan;
    }
    const std::uint64_t size = volumeSize.value_or(card->volumeSize());
    if (std::max(size, card->volumeSize()) > kMaxCardVolumeSize) return refused(CardFormatRefusal::VolumeTooLarge);
    const auto sectorsPerCluster = formatClusterArgument(size);
    if (!sectorsPerCluster) return refused(CardFormatRefusal::VolumeTooSmall);

    CardFormatCommands commands;
    if (card->mediaWhole()) {
        for (const std::string& partition : source.partitionNames(device)) {
            if (!isPlainBlockDeviceName(partition)) return refused(CardFormatRefusal::DeviceName);
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
    CardFormatPlan plan;
    plan.commands = std::move(commands);
    return plan;
}

}  // namespace zentrova
