#pragma once

#include "card/VolumeSource.h"

#include <filesystem>
#include <optional>
#include <set>

namespace zentrova {

struct MountEntry;

// Volumes from the kernel's mount table, sysfs and the udev database. Every
// path is read under a root folder ("/" normally), so that a test can give a
// tree of its own; mount locations are reported under that root as well.
class LinuxVolumeSource : public VolumeSource {
public:
    explicit LinuxVolumeSource(std::filesystem::path root = "/");

    std::vector<RemovableVolume> removableVolumes() override;
    std::vector<std::string> partitionNames(const std::string& diskName) override;

private:
    using DeviceDir = std::filesystem::path;

    std::filesystem::path underRoot(const std::filesystem::path& absolute) const;
    std::optional<DeviceDir> deviceDirOf(const MountEntry& entry) const;
    std::optional<DeviceDir> insideSysfs(const std::filesystem::path& link) const;
    std::set<DeviceDir> systemDisks(const std::vector<MountEntry>& mounts) const;
    void addUnderlyingDisks(const DeviceDir& device, std::set<DeviceDir>& disks, int depth) const;
    std::optional<RemovableVolume> volumeOf(const MountEntry& entry, const DeviceDir& device) const;
    std::string udevText(const DeviceDir& device) const;
    std::string reportedPath(const std::filesystem::path& mountPoint) const;

    std::filesystem::path m_root;
};

}  // namespace zentrova
