#include "cli/FormatPlanCommand.h"

#include "card/CardFormatCommands.h"
#include "card/linux/LinuxVolumeSource.h"
#include "card/linux/SystemPrograms.h"
#include "cli/CliCommand.h"
#include "common/Localization.h"

#include <charconv>
#include <optional>

namespace zentrova {
namespace {

constexpr std::string_view kFormatPlanHelp =
    "usage: zentrova-cli format-plan DEVICE_NAME --size BYTES [--whole]\n"
    "\n"
    "Prints, in order, the command lines that formatting the camera's card on\n"
    "the block device DEVICE_NAME (sdb1, mmcblk0p1: the name without /dev/)\n"
    "would run: unmount, create the FAT32 file system labelled ZENTROVA, mount.\n"
    "Nothing is run. The formatting line, which needs administrator rights, is\n"
    "shown with the pkexec that asks for them.\n"
    "\n"
    "  --size BYTES  the size of the volume; it decides the sectors per cluster\n"
    "                (32 below 7 GiB, else 128; fewer for a card that would have\n"
    "                too few clusters for FAT32)\n"
    "  --whole       the file system lies on the whole disk: every partition of\n"
    "                the disk is unmounted as well\n"
    "  --help        show this text\n";

constexpr std::string_view kElevationPrefix = "pkexec ";
constexpr std::string_view kDefaultMkfs = "/usr/sbin/mkfs.fat";

int usage(std::ostream& err, const std::string& message) {
    return reportUsageError(err, "format-plan: " + message + " (see zentrova-cli format-plan --help)");
}

std::optional<std::uint64_t> parseByteCount(const std::string& text) {
    std::uint64_t value = 0;
    if (text.empty() || text.front() == '+' || text.front() == '-') return std::nullopt;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

struct PlanArguments {
    std::optional<std::string> device;
    std::optional<std::uint64_t> size;
    bool whole = false;
    std::string root = "/";
};

}  // namespace

int runFormatPlanCommand(std::span<const std::string> args, std::ostream& out, std::ostream& err) {
    PlanArguments plan;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") {
            out << kFormatPlanHelp;
            return kExitOk;
        }
        if (arg == "--whole") {
            plan.whole = true;
        } else if (arg == "--size") {
            if (i + 1 == args.size()) return usage(err, "--size needs a byte count");
            plan.size = parseByteCount(args[++i]);
            if (!plan.size) return usage(err, "--size needs a whole number of bytes, not " + args[i]);
        } else if (arg == "--root" && i + 1 < args.size()) {
            // Reads the disk's partitions under another folder (for tests).
            plan.root = args[++i];
        } else if (arg.starts_with("--")) {
            return usage(err, "unknown option " + arg);
        } else if (plan.device) {
            return usage(err, "only one device name may be given");
        } else {
            plan.device = arg;
        }
    }
    if (!plan.device) return usage(err, "a device name is required");
    if (!plan.size) return usage(err, "--size is required");
    if (!isPlainBlockDeviceName(*plan.device)) {
        return usage(err, "\"" + *plan.device + "\" is not a plain block-device name such as sdb1");
    }

    std::vector<std::string> partitions;
    if (plan.whole) partitions = LinuxVolumeSource(plan.root).partitionNames(*plan.device);
    const std::string mkfs = findSystemProgram("mkfs.fat").value_or(std::string(kDefaultMkfs));
    const TKUSBDiskEntity volume("ZENTROVA", "", *plan.device, std::nullopt, *plan.size, true, plan.whole, "");
    const CardFormatPlan formatPlan = cardFormatCommands(volume, partitions, mkfs);
    if (!formatPlan.commands) return usage(err, localized(cardFormatRefusalKey(formatPlan.refusal)));

    std::string text;
    for (const CardCommand& command : formatPlan.commands->inOrder()) {
        if (command.withAdministratorPrivileges) text += kElevationPrefix;
        text += command.commandLine + "\n";
    }
    out << text;
    return kExitOk;
}

}  // namespace zentrova
