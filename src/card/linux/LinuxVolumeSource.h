#pragma once

#include "card/MountInfo.h"
#include "card/VolumeSource.h"

#include <filesystem>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace zentrova {

// Volumes from the kernel's mount table, swap list and command line, sysfs
// and the udev database. Every path is read under a root folder ("/"
// normally), so that a test can give a tree of its own; mount locations are
// reported under that root as well.
//
// A card's own mount is where the desktop mounts removable media
// (/media/USER/NAME or /run/media/USER/NAME). Every other mount, swap space
// and the medium the kernel started from make the disks below them system
// disks, through device-mapper stacks and loop files; such a disk, a disk
// with a second volume mounted and a disk that another block device is
// stacked on never give a card.
class LinuxVolumeSource : public VolumeSource {
public:
    explicit LinuxVolumeSource(std::filesystem::path root = "/");

    std::vector<RemovableVolume> removableVolumes() override;
    std::vector<std::string> partitionNames(const std::string& diskName) override;
    std::optional<CardExclusion> cardExclusion(const std::string& deviceName) override;

    // The first mount of the block device, or none when it is not mounted.
    std::optional<MountEntry> firstMountOf(const std::string& deviceName) const;
    // A property of the block device's record in the udev database.
    std::optional<std::string> udevProperty(const std::string& deviceName, std::string_view key) const;

private:
    using DeviceDir = std::filesystem::path;

    // What the system's use of its block devices says about each disk.
    struct DiskUse {
        std::map<DeviceDir, CardExclusion> systemDisks;
        // By disk: the devices mounted at a card's place, with their mount points.
        std::map<DeviceDir, std::map<DeviceDir, std::string>> cardMounts;
    };

    std::filesystem::path underRoot(const std::filesystem::path& absolute) const;
    std::optional<DeviceDir> deviceDirOf(const MountEntry& entry) const;
    std::optional<DeviceDir> deviceNamed(const std::string& devicePath) const;
    std::optional<DeviceDir> insideSysfs(const std::filesystem::path& link) const;
    std::optional<DeviceDir> deviceHoldingFile(const std::filesystem::path& file,
                                               const std::vector<MountEntry>& mounts) const;
    std::vector<MountEntry> mounts() const;
    DiskUse diskUse(const std::vector<MountEntry>& mounts) const;
    void markSystemDisks(const DeviceDir& device, const CardExclusion& reason, const std::vector<MountEntry>& mounts,
                         DiskUse& use) const;
    void addUnderlyingDisks(const DeviceDir& device, const std::vector<MountEntry>& mounts,
                            std::set<DeviceDir>& disks, int depth) const;
    void markSwapDisks(const std::vector<MountEntry>& mounts, DiskUse& use) const;
    void markStartMedium(const std::vector<MountEntry>& mounts, DiskUse& use) const;
    std::vector<DeviceDir> devicesMatching(const std::string& argumentValue) const;
    std::optional<CardExclusion> exclusionOf(const DiskUse& use, const DeviceDir& device) const;
    std::optional<RemovableVolume> volumeOf(const MountEntry& entry, const DeviceDir& device) const;
    std::string udevText(const DeviceDir& device) const;
    std::string reportedPath(const std::filesystem::path& mountPoint) const;

    std::filesystem::path m_root;
};

}  // namespace zentrova
