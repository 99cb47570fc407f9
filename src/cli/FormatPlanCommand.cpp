#include "cli/FormatPlanCommand.h"

#include "card/CardFormatCommands.h"
#include "card/linux/LinuxVolumeSource.h"
#include "card/linux/SystemPrograms.h"
#include "cli/CliCommand.h"

#include <charconv>
#include <optional>

namespace zentrova {
namespace {

constexpr std::string_view kFormatPlanHelp =
    "usage: zentrova-cli format-plan DEVICE_NAME [--size BYTES]\n"
    "\n"
    "Prints, in order, the command lines that formatting the camera's card on\n"
    "the block device DEVICE_NAME (sdb1, mmcblk0p1: the name without /dev/)\n"
    "would run: unmount, create the FAT32 file system labelled ZENTROVA, mount.\n"
    "Nothing is run. The formatting line, which needs administrator rights, is\n"
    "shown with the pkexec that asks for them.\n"
    "\n"
    "The device must be one that zentrova-cli volumes lists: a mounted volume\n"
    "of a card in a USB reader or an SD slot, on a disk that the system does\n"
    "not use. Any other device is refused with the reason (exit status 2).\n"
    "When the card's file system lies on the whole disk, every partition of\n"
    "the disk is unmounted as well.\n"
    "\n"
    "  --size BYTES  plan as if the volume had this size (default: its own);\n"
    "                it decides the sectors per cluster (32 below 7 GiB, else\n"
    "                128; fewer for a card that would have too few clusters\n"
    "                for FAT32). At most 2 TiB, the most an SD card holds.\n"
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
        if (arg == "--size") {
            if (i + 1 == args.size()) return usage(err, "--size needs a byte count");
            plan.size = parseByteCount(args[++i]);
            if (!plan.size) return usage(err, "--size needs a whole number of bytes, not " + args[i]);
        } else if (arg == "--root" && i + 1 < args.size()) {
            // Reads the system's files under another folder (for tests).
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
    if (!isPlainBlockDeviceName(*plan.device)) {
        return usage(err, "\"" + *plan.device + "\" is not a plain block-device name such as sdb1");
    }

    LinuxVolumeSource source(plan.root);
    const std::string mkfs = findSystemProgram("mkfs.fat").value_or(std::string(kDefaultMkfs));
    const CardFormatPlan formatPlan = cardFormatCommands(source, *plan.device, plan.size, mkfs);
    if (!formatPlan.commands) return reportUsageError(err, "format-plan: " + formatPlan.refusalText);

    std::string text;
    for (const CardCommand& command : formatPlan.commands->inOrder()) {
        if (command.withAdministratorPrivileges) text += kElevationPrefix;
        text += command.commandLine + "\n";
    }
    out << text;
    return kExitOk;
}

}  // namespace zentrova
