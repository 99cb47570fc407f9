#include "card/linux/LinuxVolumeSource.h"

#include "card/CardFormatCommands.h"
#include "card/MountInfo.h"
#include "card/UdevRecord.h"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <sstream>
#include <system_error>

namespace zentrova {
namespace fs = std::filesystem;
namespace {

constexpr std::uint64_t kSysfsSectorSize = 512;
// Stacked devices (encryption over LVM over a partition) are rarely deeper.
constexpr int kMaxStackDepth = 8;

std::optional<std::string> readText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string trimmed(std::string text) {
    const auto notBlank = [](unsigned char c) { return c != ' ' && c != '\n' && c != '\t' && c != '\r'; };
    text.erase(text.begin(), std::find_if(text.begin(), text.end(), notBlank));
    text.erase(std::find_if(text.rbegin(), text.rend(), notBlank).base(), text.end());
    return text;
}

std::optional<std::uint64_t> readNumber(const fs::path& path) {
    auto text = readText(path);
    if (!text) return std::nullopt;
    const std::string value = trimmed(*text);
    std::uint64_t number = 0;
    auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), number);
    if (error != std::errc() || end != value.data() + value.size()) return std::nullopt;
    return number;
}

// "KEY=value" lines of a sysfs uevent file.
std::optional<std::string> ueventValue(const fs::path& device, std::string_view key) {
    auto text = readText(device / "uevent");
    if (!text) return std::nullopt;
    std::istringstream lines(*text);
    std::string line;
    while (std::getline(lines, line)) {
        if (line.size() > key.size() && line.starts_with(key) && line[key.size()] == '=') {
            return line.substr(key.size() + 1);
        }
    }
    return std::nullopt;
}

bool isPartition(const fs::path& device) {
    std::error_code ec;
    return fs::exists(device / "partition", ec);
}

fs::path diskOf(const fs::path& device) { return isPartition(device) ? device.parent_path() : device; }

bool isReadOnly(const fs::path& device) { return readNumber(device / "ro").value_or(0) != 0; }

std::optional<std::string> nonEmpty(std::optional<std::string> text) {
    if (text) *text = trimmed(*text);
    if (!text || text->empty()) return std::nullopt;
    return text;
}

bool isUsbRecord(const std::string& udevText) {
    return UdevRecord::parse(udevText).property("ID_BUS") == std::optional<std::string>("usb");
}

}  // namespace

LinuxVolumeSource::LinuxVolumeSource(fs::path root) : m_root(std::move(root)) {}

fs::path LinuxVolumeSource::underRoot(const fs::path& absolute) const {
    return m_root / absolute.relative_path();
}

std::string LinuxVolumeSource::reportedPath(const fs::path& mountPoint) const {
    if (m_root == "/" || m_root.empty()) return mountPoint.string();
    return underRoot(mountPoint).string();
}

// Links in sysfs point into /sys/devices; a link that leads outside the
// tree is not followed.
std::optional<LinuxVolumeSource::DeviceDir> LinuxVolumeSource::insideSysfs(const fs::path& link) const {
    std::error_code ec;
    const fs::path target = fs::canonical(link, ec);
    if (ec) return std::nullopt;
    const fs::path sysfs = fs::weakly_canonical(underRoot("/sys"), ec);
    if (ec) return std::nullopt;
    const auto [sysEnd, targetAt] = std::mismatch(sysfs.begin(), sysfs.end(), target.begin(), target.end());
    if (sysEnd != sysfs.end()) return std::nullopt;
    return target;
}

std::optional<LinuxVolumeSource::DeviceDir> LinuxVolumeSource::deviceDirOf(const MountEntry& entry) const {
    // Some file systems (btrfs) report an anonymous device number: the
    // source then names the device.
    if (entry.major != 0) {
        const std::string number = std::to_string(entry.major) + ":" + std::to_string(entry.minor);
        if (auto device = insideSysfs(underRoot("/sys/dev/block") / number)) return device;
    }
    if (entry.source.starts_with("/dev/")) {
        const std::string name = fs::path(entry.source).filename().string();
        if (isPlainBlockDeviceName(name)) return insideSysfs(underRoot("/sys/class/block") / name);
    }
    return std::nullopt;
}

void LinuxVolumeSource::addUnderlyingDisks(const DeviceDir& device, std::set<DeviceDir>& disks, int depth) const {
    std::error_code ec;
    bool stacked = false;
    if (depth < kMaxStackDepth) {
        for (const auto& slave : fs::directory_iterator(device / "slaves", ec)) {
            if (auto lower = insideSysfs(slave.path())) {
                stacked = true;
                addUnderlyingDisks(*lower, disks, depth + 1);
            }
        }
    }
    if (!stacked) disks.insert(diskOf(device));
}

std::set<LinuxVolumeSource::DeviceDir> LinuxVolumeSource::systemDisks(const std::vector<MountEntry>& mounts) const {
    std::set<DeviceDir> disks;
    for (const MountEntry& entry : mounts) {
        if (entry.mountPoint != "/" && entry.mountPoint != "/home") continue;
        if (auto device = deviceDirOf(entry)) addUnderlyingDisks(*device, disks, 0);
    }
    return disks;
}

std::string LinuxVolumeSource::udevText(const DeviceDir& device) const {
    auto number = readText(device / "dev");
    if (!number) return {};
    return readText(underRoot("/run/udev/data") / ("b" + trimmed(*number))).value_or(std::string());
}

std::optional<RemovableVolume> LinuxVolumeSource::volumeOf(const MountEntry& entry, const DeviceDir& device) const {
    const DeviceDir disk = diskOf(device);
    const std::string deviceUdev = udevText(device);
    const std::string diskUdev = disk == device ? deviceUdev : udevText(disk);
    const bool usb = isUsbRecord(deviceUdev) || isUsbRecord(diskUdev);
    // Card readers often say 0 here; a device on the USB bus can be pulled
    // out all the same.
    const bool removable = readNumber(disk / "removable").value_or(0) == 1 || usb;
    if (!removable) return std::nullopt;

    RemovableVolume volume;
    volume.mountedURL = reportedPath(entry.mountPoint);
    if (usb) volume.deviceProtocol = "USB";
    const auto name = nonEmpty(ueventValue(device, "DEVNAME"));
    if (!name) return volume;

    const UdevRecord deviceRecord = UdevRecord::parse(deviceUdev);
    const UdevRecord diskRecord = UdevRecord::parse(diskUdev);
    std::string label = nonEmpty(deviceRecord.encodedProperty("ID_FS_LABEL"))
                            .value_or(fs::path(entry.mountPoint).filename().string());
    std::optional<std::string> model = nonEmpty(deviceRecord.encodedProperty("ID_MODEL"));
    if (!model) model = nonEmpty(diskRecord.encodedProperty("ID_MODEL"));
    if (!model) model = nonEmpty(readText(disk / "device" / "model"));
    const std::uint64_t size = readNumber(device / "size").value_or(0) * kSysfsSectorSize;
    const bool writable = !isReadOnly(device) && !isReadOnly(disk);
    const bool whole = !isPartition(device);
    std::error_code ec;
    const fs::path sysfs = fs::weakly_canonical(underRoot("/sys"), ec);
    const std::string key = "/" + device.lexically_relative(sysfs).string();
    volume.description.emplace(std::move(label), volume.mountedURL, *name, std::move(model), size, writable, whole,
                               key);
    return volume;
}

std::vector<RemovableVolume> LinuxVolumeSource::removableVolumes() {
    const auto table = readText(underRoot("/proc/self/mountinfo"));
    if (!table) return {};
    const std::vector<MountEntry> mounts = parseMountInfo(*table);
    const std::set<DeviceDir> excluded = systemDisks(mounts);
    std::set<DeviceDir> seen;
    std::vector<RemovableVolume> volumes;
    for (const MountEntry& entry : mounts) {
        // A bind mount shows a folder of a volume that is listed already.
        if (entry.root != "/") continue;
        const auto device = deviceDirOf(entry);
        if (!device || !seen.insert(*device).second) continue;
        if (excluded.count(diskOf(*device))) continue;
        if (auto volume = volumeOf(entry, *device)) volumes.push_back(std::move(*volume));
    }
    return volumes;
}

std::vector<std::string> LinuxVolumeSource::partitionNames(const std::string& diskName) {
    if (!isPlainBlockDeviceName(diskName)) return {};
    const auto disk = insideSysfs(underRoot("/sys/class/block") / diskName);
    if (!disk || isPartition(*disk)) return {};
    std::vector<std::pair<std::uint64_t, std::string>> partitions;
    std::error_code ec;
    for (const auto& child : fs::directory_iterator(*disk, ec)) {
        if (!child.is_directory(ec) || !isPartition(child.path())) continue;
        const auto name = nonEmpty(ueventValue(child.path(), "DEVNAME"));
        const std::string partition = name.value_or(child.path().filename().string());
        if (!isPlainBlockDeviceName(partition)) continue;
        partitions.emplace_back(readNumber(child.path() / "partition").value_or(0), partition);
    }
    std::sort(partitions.begin(), partitions.end());
    std::vector<std::string> names;
    for (auto& [number, name] : partitions) names.push_back(std::move(name));
    return names;
}

}  // namespace zentrova
