#pragma once

#include "card/VolumeRenamer.h"

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace zentrova {

class CommandRunner;
struct ScriptErrorInfo;

// Renames a FAT volume through UDisks2 (Filesystem.SetLabel over D-Bus,
// which lets the active local user relabel a removable card without a
// password, and is told never to ask for one), else with fatlabel when this
// process may write the device itself. Neither refuses a mounted FAT volume:
// both write the label under the mounted file system, whose own cached root
// folder can then be written back over the new entry. So a mounted volume of
// a file system that cannot be relabelled while mounted is left alone, and
// the reason returned; nothing is ever unmounted here.
class LinuxVolumeRenamer : public VolumeRenamer {
public:
    struct Options {
        // Where the system's files are read (for tests).
        std::filesystem::path root = "/";
        // Whether this process may write the device node without elevation.
        std::function<bool(const std::filesystem::path&)> canWriteDevice;
        // The absolute path of fatlabel; none when it is not installed.
        std::optional<std::string> fatlabelProgram;
    };

    // With the system's own files, access(2) and fatlabel from the system.
    explicit LinuxVolumeRenamer(CommandRunner& runner);
    LinuxVolumeRenamer(CommandRunner& runner, Options options);

    std::optional<std::string> setVolumeName(const TKUSBDiskEntity& volume, const std::string& name) override;

    // The argument vectors of the two ways, for a device name such as sdb1.
    static std::vector<std::string> udisksArguments(const std::string& deviceName, const std::string& name);
    static std::vector<std::string> fatlabelArguments(const std::string& program, const std::string& deviceName,
                                                      const std::string& name);

private:
    std::optional<std::string> run(const std::vector<std::string>& arguments);

    CommandRunner& m_runner;
    Options m_options;
};

}  // namespace zentrova
