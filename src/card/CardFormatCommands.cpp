#include "card/CardFormatCommands.h"

#include "common/Localization.h"

namespace zentrova {
namespace {

constexpr std::uint64_t kLargeCardGiB = 7;
constexpr size_t kMaxDeviceNameLength = 32;

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

bool isPlainBlockDeviceName(std::string_view name) {
    if (name.empty() || name.size() > kMaxDeviceNameLength || !isAsciiLetter(name.front())) return false;
    for (char c : name) {
        if (!isAsciiLetter(c) && !isAsciiDigit(c)) return false;
    }
    return true;
}

std::optional<CardFormatCommands> cardFormatCommands(const TKUSBDiskEntity& volume,
                                                     std::span<const std::string> partitionsOfWholeMedium,
                                                     std::string_view mkfsProgram) {
    const std::string& device = volume.deviceFilePath();
    if (!isPlainBlockDeviceName(device) || !isPlainAbsolutePath(mkfsProgram)) return std::nullopt;
    CardFormatCommands commands;
    if (volume.mediaWhole()) {
        for (const std::string& partition : partitionsOfWholeMedium) {
            if (!isPlainBlockDeviceName(partition)) return std::nullopt;
            commands.unmount.push_back(unmountCommand(partition));
        }
    }
    commands.unmount.push_back(unmountCommand(device));
    commands.format = {fillFormat("%@ -F 32 -n ZENTROVA -f 2 -b 6 -R 32 -s %@ %@",
                                  {std::string(mkfsProgram),
                                   std::to_string(clusterSizeByVolumeSizeInKB(volume.volumeSize())),
                                   devicePath(device)}),
                       true};
    commands.mount = {fillFormat("udisksctl mount -b %@", {devicePath(device)}), false};
    return commands;
}

}  // namespace zentrova
