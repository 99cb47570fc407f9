#include "card/linux/LinuxVolumeSource.h"

#include "card/CardFormatCommands.h"
#include "card/MountInfo.h"
#include "card/UdevRecord.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <fstream>
#include <sstream>
#include <system_error>

namespace zentrova {
namespace fs = std::filesystem;
namespace {

constexpr std::uint64_t kSysfsSectorSize = 512;
// Stacked devices (encryption over LVM over a partition, a loop file on
// that) are rarely deeper.
constexpr int kMaxStackDepth = 8;
// Kernel arguments that name the device the system starts from.
constexpr std::array<std::string_view, 2> kStartDeviceArguments = {"root=", "live-media="};

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

std::vector<std::string> words(std::string_view text) {
    std::vector<std::string> found;
    std::istringstream in{std::string(text)};
    std::string word;
    while (in >> word) found.push_back(word);
    return found;
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

// A name to look up in /sys/class/block; a lookup never runs anything.
bool isSysfsEntryName(std::string_view name) {
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string_view::npos;
}

bool isInside(const fs::path& path, const fs::path& folder) {
    return std::mismatch(folder.begin(), folder.end(), path.begin(), path.end()).first == folder.end();
}

// Where the desktop mounts removable media for a user: /media/USER/NAME,
// or /run/media/USER/NAME on systems without a shared /media.
bool isCardMount(const MountEntry& entry) {
    if (entry.root != "/") return false;
    const fs::path mountPoint(entry.mountPoint);
    if (!mountPoint.is_absolute()) return false;
    std::vector<std::string> parts;
    for (const fs::path& part : mountPoint.relative_path()) {
        if (part.empty()) return false;
        parts.push_back(part.string());
    }
    if (parts.size() == 3 && parts[0] == "media") return true;
    return parts.size() == 4 && parts[0] == "run" && parts[1] == "media";
}

bool isUsbRecord(const UdevRecord& record) { return record.property("ID_BUS") == std::optional<std::string>("usb"); }

bool isSdCardRecord(const UdevRecord& record) {
    return record.property("ID_DRIVE_FLASH_SD") == std::optional<std::string>("1");
}

// A card in a slot of the computer itself. Built-in eMMC storage is an mmc
// device too, but of type "MMC" and not removable.
bool isSdSlotCard(const fs::path& disk, const UdevRecord& deviceRecord, const UdevRecord& diskRecord) {
    if (isSdCardRecord(deviceRecord) || isSdCardRecord(diskRecord)) return true;
    if (!disk.filename().string().starts_with("mmcblk")) return false;
    return nonEmpty(readText(disk / "device" / "type")) == std::optional<std::string>("SD") ||
           readNumber(disk / "removable").value_or(0) == 1;
}

std::optional<std::string> firstHolder(const fs::path& device) {
    std::error_code ec;
    for (const auto& holder : fs::directory_iterator(device / "holders", ec)) {
        return holder.path().filename().string();
    }
    return std::nullopt;
}

// A device-mapper, RAID or bcache device on the disk or one of its partitions.
std::optional<std::string> holderOnDisk(const fs::path& disk) {
    if (auto holder = firstHolder(disk)) return holder;
    std::error_code ec;
    for (const auto& child : fs::directory_iterator(disk, ec)) {
        if (!child.is_directory(ec) || !isPartition(child.path())) continue;
        if (auto holder = firstHolder(child.path())) return holder;
    }
    return std::nullopt;
}

bool sameText(std::string_view a, std::string_view b, bool ignoreCase) {
    if (!ignoreCase) return a == b;
    const auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) {
               return lower(x) == lower(y);
           });
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

std::optional<LinuxVolumeSource::DeviceDir> LinuxVolumeSource::deviceNamed(const std::string& devicePath) const {
    constexpr std::string_view kDev = "/dev/";
    constexpr std::string_view kMapper = "mapper/";
    if (!devicePath.starts_with(kDev)) return std::nullopt;
    const std::string name = devicePath.substr(kDev.size());
    const fs::path classBlock = underRoot("/sys/class/block");
    if (name.starts_with(kMapper)) {
        const std::string mapped = name.substr(kMapper.size());
        std::error_code ec;
        for (const auto& entry : fs::directory_iterator(classBlock, ec)) {
            if (nonEmpty(readText(entry.path() / "dm" / "name")) == std::optional<std::string>(mapped)) {
                return insideSysfs(entry.path());
            }
        }
        return std::nullopt;
    }
    if (!isSysfsEntryName(name)) return std::nullopt;
    return insideSysfs(classBlock / name);
}

std::optional<LinuxVolumeSource::DeviceDir> LinuxVolumeSource::deviceDirOf(const MountEntry& entry) const {
    // Some file systems (btrfs) report an anonymous device number: the
    // source then names the device.
    if (entry.major != 0) {
        const std::string number = std::to_string(entry.major) + ":" + std::to_string(entry.minor);
        if (auto device = insideSysfs(underRoot("/sys/dev/block") / number)) return device;
    }
    return deviceNamed(entry.source);
}

// The device of the file system that holds the file: the mount with the
// longest mount point above it, the later one of two at the same place.
std::optional<LinuxVolumeSource::DeviceDir> LinuxVolumeSource::deviceHoldingFile(
    const fs::path& file, const std::vector<MountEntry>& mounts) const {
    const MountEntry* best = nullptr;
    for (const MountEntry& entry : mounts) {
        if (!isInside(file, entry.mountPoint)) continue;
        if (!best || entry.mountPoint.size() >= best->mountPoint.size()) best = &entry;
    }
    if (!best) return std::nullopt;
    return deviceDirOf(*best);
}

std::vector<MountEntry> LinuxVolumeSource::mounts() const {
    const auto table = readText(underRoot("/proc/self/mountinfo"));
    return table ? parseMountInfo(*table) : std::vector<MountEntry>{};
}

void LinuxVolumeSource::addUnderlyingDisks(const DeviceDir& device, const std::vector<MountEntry>& mounts,
                                           std::set<DeviceDir>& disks, int depth) const {
    if (depth > kMaxStackDepth) return;
    std::error_code ec;
    bool stacked = false;
    for (const auto& slave : fs::directory_iterator(device / "slaves", ec)) {
        if (auto lower = insideSysfs(slave.path())) {
            stacked = true;
            addUnderlyingDisks(*lower, mounts, disks, depth + 1);
        }
    }
    // A loop device reads a file: the disk of that file's file system is in
    // use as well.
    if (auto backing = readText(device / "loop" / "backing_file")) {
        if (!backing->empty() && backing->back() == '\n') backing->pop_back();
        if (auto holder = deviceHoldingFile(*backing, mounts)) addUnderlyingDisks(*holder, mounts, disks, depth + 1);
    }
    if (!stacked) disks.insert(diskOf(device));
}

void LinuxVolumeSource::markSystemDisks(const DeviceDir& device, const CardExclusion& reason,
                                        const std::vector<MountEntry>& mounts, DiskUse& use) const {
    std::set<DeviceDir> disks;
    addUnderlyingDisks(device, mounts, disks, 0);
    for (const DeviceDir& disk : disks) use.systemDisks.emplace(disk, reason);
}

void LinuxVolumeSource::markSwapDisks(const std::vector<MountEntry>& mounts, DiskUse& use) const {
    const auto table = readText(underRoot("/proc/swaps"));
    if (!table) return;
    std::istringstream lines(*table);
    std::string line;
    std::getline(lines, line);  // the heading
    while (std::getline(lines, line)) {
        const std::vector<std::string> fields = words(line);
        if (fields.size() < 2) continue;
        const std::string path = decodeOctalEscapes(fields[0]);
        const auto device = fields[1] == "file" ? deviceHoldingFile(path, mounts) : deviceNamed(path);
        if (device) markSystemDisks(*device, {CardExclusion::Kind::Swap, path}, mounts, use);
    }
}

void LinuxVolumeSource::markStartMedium(const std::vector<MountEntry>& mounts, DiskUse& use) const {
    const auto commandLine = readText(underRoot("/proc/cmdline"));
    if (!commandLine) return;
    for (const std::string& argument : words(*commandLine)) {
        for (std::string_view prefix : kStartDeviceArguments) {
            if (!argument.starts_with(prefix)) continue;
            for (const DeviceDir& device : devicesMatching(argument.substr(prefix.size()))) {
                markSystemDisks(device, {CardExclusion::Kind::StartMedium, argument}, mounts, use);
            }
        }
    }
}

// The block devices that a kernel argument's value names: /dev/NAME, or
// LABEL=, UUID=, PARTUUID=, PARTLABEL= as the udev database records them.
std::vector<LinuxVolumeSource::DeviceDir> LinuxVolumeSource::devicesMatching(const std::string& value) const {
    if (value.starts_with("/dev/")) {
        if (auto device = deviceNamed(value)) return {*device};
        return {};
    }
    struct Tag {
        std::string_view prefix;
        std::string_view property;
        bool ignoreCase;
    };
    constexpr std::array<Tag, 4> kTags = {Tag{"LABEL=", "ID_FS_LABEL", false}, Tag{"UUID=", "ID_FS_UUID", true},
                                          Tag{"PARTUUID=", "ID_PART_ENTRY_UUID", true},
                                          Tag{"PARTLABEL=", "ID_PART_ENTRY_NAME", false}};
    const auto tag =
        std::find_if(kTags.begin(), kTags.end(), [&](const Tag& t) { return value.starts_with(t.prefix); });
    if (tag == kTags.end()) return {};
    const std::string wanted = value.substr(tag->prefix.size());
    std::vector<DeviceDir> devices;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(underRoot("/sys/class/block"), ec)) {
        const auto device = insideSysfs(entry.path());
        if (!device) continue;
        const auto recorded = UdevRecord::parse(udevText(*device)).encodedProperty(tag->property);
        if (recorded && sameText(*recorded, wanted, tag->ignoreCase)) devices.push_back(*device);
    }
    return devices;
}

LinuxVolumeSource::DiskUse LinuxVolumeSource::diskUse(const std::vector<MountEntry>& mounts) const {
    DiskUse use;
    for (const MountEntry& entry : mounts) {
        const auto device = deviceDirOf(entry);
        if (!device) continue;
        if (!isCardMount(entry)) {
            markSystemDisks(*device, {CardExclusion::Kind::SystemMount, entry.mountPoint}, mounts, use);
            continue;
        }
        std::set<DeviceDir> disks;
        addUnderlyingDisks(*device, mounts, disks, 0);
        for (const DeviceDir& disk : disks) use.cardMounts[disk].emplace(*device, entry.mountPoint);
    }
    markSwapDisks(mounts, use);
    markStartMedium(mounts, use);
    return use;
}

std::optional<CardExclusion> LinuxVolumeSource::exclusionOf(const DiskUse& use, const DeviceDir& device) const {
    const DeviceDir disk = diskOf(device);
    if (auto system = use.systemDisks.find(disk); system != use.systemDisks.end()) return system->second;
    if (auto mounted = use.cardMounts.find(disk); mounted != use.cardMounts.end()) {
        for (const auto& [other, mountPoint] : mounted->second) {
            if (other != device) return CardExclusion{CardExclusion::Kind::OtherMount, mountPoint};
        }
    }
    if (auto holder = holderOnDisk(disk)) return CardExclusion{CardExclusion::Kind::HeldDevice, *holder};
    return std::nullopt;
}

std::string LinuxVolumeSource::udevText(const DeviceDir& device) const {
    auto number = readText(device / "dev");
    if (!number) return {};
    return readText(underRoot("/run/udev/data") / ("b" + trimmed(*number))).value_or(std::string());
}

std::optional<RemovableVolume> LinuxVolumeSource::volumeOf(const MountEntry& entry, const DeviceDir& device) const {
    const DeviceDir disk = diskOf(device);
    const std::string deviceUdev = udevText(device);
    const UdevRecord deviceRecord = UdevRecord::parse(deviceUdev);
    const UdevRecord diskRecord = UdevRecord::parse(disk == device ? deviceUdev : udevText(disk));
    const bool usb = isUsbRecord(deviceRecord) || isUsbRecord(diskRecord);
    const bool sdSlot = !usb && isSdSlotCard(disk, deviceRecord, diskRecord);
    // Card readers often say 0 here; a device on the USB bus can be pulled
    // out all the same.
    const bool removable = readNumber(disk / "removable").value_or(0) == 1 || usb || sdSlot;
    if (!removable) return std::nullopt;

    RemovableVolume volume;
    volume.mountedURL = reportedPath(entry.mountPoint);
    if (usb) volume.deviceProtocol = "USB";
    if (sdSlot) volume.deviceProtocol = "SD";
    const auto name = nonEmpty(ueventValue(device, "DEVNAME"));
    if (!name) return volume;

    std::string label = nonEmpty(deviceRecord.encodedProperty("ID_FS_LABEL"))
                            .value_or(fs::path(entry.mountPoint).filename().string());
    std::optional<std::string> model = nonEmpty(deviceRecord.encodedProperty("ID_MODEL"));
    if (!model) model = nonEmpty(diskRecord.encodedProperty("ID_MODEL"));
    if (!model) model = nonEmpty(readText(disk / "device" / "model"));
    // An SD card in a slot has no reader model; its own product name stands in.
    if (!model && sdSlot) model = nonEmpty(readText(disk / "device" / "name"));
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
    const std::vector<MountEntry> all = mounts();
    const DiskUse use = diskUse(all);
    std::set<DeviceDir> seen;
    std::vector<RemovableVolume> volumes;
    for (const MountEntry& entry : all) {
        if (!isCardMount(entry)) continue;
        const auto device = deviceDirOf(entry);
        if (!device || !seen.insert(*device).second) continue;
        if (exclusionOf(use, *device)) continue;
        if (auto volume = volumeOf(entry, *device)) volumes.push_back(std::move(*volume));
    }
    return volumes;
}

std::optional<CardExclusion> LinuxVolumeSource::cardExclusion(const std::string& deviceName) {
    const CardExclusion unknown{CardExclusion::Kind::UnknownDevice, {}};
    if (!isSysfsEntryName(deviceName)) return unknown;
    const auto device = insideSysfs(underRoot("/sys/class/block") / deviceName);
    if (!device) return unknown;
    const std::vector<MountEntry> all = mounts();
    if (auto exclusion = exclusionOf(diskUse(all), *device)) return exclusion;
    for (const MountEntry& entry : all) {
        if (!isCardMount(entry) || deviceDirOf(entry) != device) continue;
        const auto volume = volumeOf(entry, *device);
        if (!volume || !volume->deviceProtocol) return CardExclusion{CardExclusion::Kind::NotRemovable, {}};
        return std::nullopt;
    }
    return CardExclusion{CardExclusion::Kind::NotMounted, {}};
}

std::optional<MountEntry> LinuxVolumeSource::firstMountOf(const std::string& deviceName) const {
    if (!isSysfsEntryName(deviceName)) return std::nullopt;
    const auto device = insideSysfs(underRoot("/sys/class/block") / deviceName);
    if (!device) return std::nullopt;
    for (const MountEntry& entry : mounts()) {
        if (deviceDirOf(entry) == device) return entry;
    }
    return std::nullopt;
}

std::optional<std::string> LinuxVolumeSource::udevProperty(const std::string& deviceName, std::string_view key) const {
    if (!isSysfsEntryName(deviceName)) return std::nullopt;
    const auto device = insideSysfs(underRoot("/sys/class/block") / deviceName);
    if (!device) return std::nullopt;
    return UdevRecord::parse(udevText(*device)).encodedProperty(key);
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
