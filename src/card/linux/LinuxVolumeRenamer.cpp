#include "card/linux/LinuxVolumeRenamer.h"

#include "card/CardFormatCommands.h"
#include "card/CardRenaming.h"
#include "card/CommandRunner.h"
#include "card/linux/LinuxVolumeSource.h"
#include "card/linux/SystemPrograms.h"
#include "common/Localization.h"

#include <algorithm>
#include <array>
#include <span>
#include <unistd.h>

namespace zentrova {
namespace {

constexpr std::string_view kUdisksObjectPrefix = "/org/freedesktop/UDisks2/block_devices/";
// File systems whose label the kernel or their tools change while mounted.
constexpr std::array<std::string_view, 3> kLabelledWhileMounted = {"ext2", "ext3", "ext4"};
constexpr std::array<std::string_view, 2> kFatTypes = {"vfat", "msdos"};

bool isOneOf(std::string_view value, std::span<const std::string_view> values) {
    return std::find(values.begin(), values.end(), value) != values.end();
}

bool isPlainCommandCharacter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
           std::string_view("/._:=-").find(c) != std::string_view::npos;
}

// A command line that the runner splits back into exactly these arguments.
std::string commandLineOf(const std::vector<std::string>& arguments) {
    std::string line;
    for (const std::string& argument : arguments) {
        if (!line.empty()) line += ' ';
        for (char c : argument) {
            if (!isPlainCommandCharacter(c)) line += '\\';
            line += c;
        }
    }
    return line;
}

bool accessForWriting(const std::filesystem::path& device) { return ::access(device.c_str(), W_OK) == 0; }

}  // namespace

LinuxVolumeRenamer::LinuxVolumeRenamer(CommandRunner& runner)
    : LinuxVolumeRenamer(runner, Options{"/", accessForWriting, findSystemProgram("fatlabel")}) {}

LinuxVolumeRenamer::LinuxVolumeRenamer(CommandRunner& runner, Options options)
    : m_runner(runner), m_options(std::move(options)) {
    if (!m_options.canWriteDevice) m_options.canWriteDevice = accessForWriting;
}

std::vector<std::string> LinuxVolumeRenamer::udisksArguments(const std::string& deviceName, const std::string& name) {
    // udisks would show a password dialog where its policy asks for one;
    // this option makes it refuse instead.
    return {"gdbus", "call", "--system", "--dest", "org.freedesktop.UDisks2", "--object-path",
            std::string(kUdisksObjectPrefix) + deviceName, "--method",
            "org.freedesktop.UDisks2.Filesystem.SetLabel", "'" + name + "'", "{'auth.no_user_interaction': <true>}"};
}

std::vector<std::string> LinuxVolumeRenamer::fatlabelArguments(const std::string& program,
                                                               const std::string& deviceName,
                                                               const std::string& name) {
    return {program, "/dev/" + deviceName, name};
}

std::optional<std::string> LinuxVolumeRenamer::run(const std::vector<std::string>& arguments) {
    const ScriptErrorInfo info = m_runner.runShellScript(commandLineOf(arguments), false);
    if (info.empty()) return std::nullopt;
    return info.errorMessage.value_or(info.description());
}

std::optional<std::string> LinuxVolumeRenamer::setVolumeName(const TKUSBDiskEntity& volume, const std::string& name) {
    const std::string& device = volume.deviceFilePath();
    if (!isPlainBlockDeviceName(device)) return localized("msg.format_bad_device_name");
    if (!isPlainFatVolumeName(name)) return fillFormat(localized("msg.rename_bad_name_fmt"), {name});

    const LinuxVolumeSource system(m_options.root);
    const auto mount = system.firstMountOf(device);
    std::string type = system.udevProperty(device, "ID_FS_TYPE").value_or(mount ? mount->fileSystemType : "");
    if (mount && !isOneOf(type, kLabelledWhileMounted)) {
        return fillFormat(localized("msg.rename_needs_unmount_fmt"), {device, mount->mountPoint});
    }

    const auto udisksError = run(udisksArguments(device, name));
    if (!udisksError) return std::nullopt;
    const std::filesystem::path node = m_options.root / "dev" / device;
    if (!mount && isOneOf(type, kFatTypes) && m_options.fatlabelProgram && m_options.canWriteDevice(node)) {
        const auto fatlabelError = run(fatlabelArguments(*m_options.fatlabelProgram, device, name));
        if (!fatlabelError) return std::nullopt;
        return fillFormat(localized("msg.rename_failed_both_fmt"), {device, *udisksError, *fatlabelError});
    }
    return fillFormat(localized("msg.rename_failed_fmt"), {device, *udisksError});
}

}  // namespace zentrova
