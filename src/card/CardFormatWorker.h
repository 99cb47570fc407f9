#pragma once

#include "card/ScriptErrorInfo.h"
#include "card/TKUSBDiskEntity.h"

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace zentrova {

class AtomicFileWriter;
class CommandRunner;
class VolumeSource;

// What a format of the camera's card did, for the window to show.
struct CardFormatResult {
    enum class Kind {
        // Formatted, and config.bin is on the card again.
        Formatted,
        // Nothing was run: the device is not a card's, or cannot be formatted.
        Refused,
        // The card's config.bin could not be kept aside; nothing was run.
        SettingsNotSaved,
        // The card was still mounted after the unmount; it was not formatted.
        StillMounted,
        // The format command failed; the card was mounted again.
        FormatFailed,
        // Formatted, but the card is not mounted again under its device name,
        // so config.bin was written nowhere.
        CardNotFoundAgain,
        // Formatted and found again, but config.bin could not be written there.
        SettingsNotPutBack,
    };

    Kind kind = Kind::Refused;
    // Readable reason for every kind but Formatted and FormatFailed.
    std::string reason;
    // For FormatFailed: the format command's error information.
    ScriptErrorInfo formatError;
    // The copy of the card's config.bin, where it is left when it could not
    // be put back; none when the card had none or it is back on the card.
    std::optional<std::string> savedSettingsPath;
    // The volumes as listed after the run; none when nothing was run.
    std::optional<std::vector<TKUSBDiskEntity>> volumes;
    // The formatted card as listed afterwards (with its new label).
    std::optional<TKUSBDiskEntity> card;
};

// Formats the camera's card: keeps its config.bin aside, unmounts it,
// creates the FAT32 file system, mounts it again and puts config.bin back
// (or a fresh record when it had none). It blocks until done, so it runs on
// a worker thread; the steps are reported as they start.
class CardFormatWorker {
public:
    enum class Step { Unmounting, Formatting, Mounting, Completed, Searching };

    struct Parts {
        VolumeSource& volumes;
        CommandRunner& runner;
        AtomicFileWriter& writer;
        // The absolute path of mkfs.fat; empty when it is not installed.
        std::string mkfsProgram;
        // Where config.bin is kept while the card is formatted.
        std::filesystem::path temporaryFolder;
    };

    explicit CardFormatWorker(Parts parts) : m_parts(std::move(parts)) {}

    CardFormatResult run(const TKUSBDiskEntity& card, const std::function<void(Step)>& report);

    // The name of the settings file in the card's root folder.
    static constexpr const char* kSettingsFileName = "config.bin";

private:
    struct SavedSettings {
        bool saved = true;
        std::optional<std::filesystem::path> path;
        std::string reason;
    };

    SavedSettings saveSettingsFile(const TKUSBDiskEntity& card) const;
    bool isUnmounted(const std::string& device) const;
    void putSettingsBack(const TKUSBDiskEntity& card, const std::optional<std::filesystem::path>& saved,
                         CardFormatResult& result) const;
    std::vector<TKUSBDiskEntity> searchVolumes(const std::function<void(Step)>& report) const;

    Parts m_parts;
};

}  // namespace zentrova
