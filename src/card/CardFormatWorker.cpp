#include "card/CardFormatWorker.h"

#include "card/CardFormatCommands.h"
#include "card/CommandRunner.h"
#include "card/UsbVolumes.h"
#include "card/VolumeSource.h"
#include "common/FileSave.h"
#include "common/Localization.h"
#include "common/Log.h"
#include "settings/FileDataFile.h"

#include <atomic>
#include <fstream>
#include <iterator>
#include <random>
#include <system_error>

namespace zentrova {
namespace {

namespace fs = std::filesystem;

std::string joinedErrors(const std::vector<ScriptErrorInfo>& errors) {
    std::string text;
    for (const ScriptErrorInfo& error : errors) {
        if (!error.errorMessage || error.errorMessage->empty()) continue;
        if (!text.empty()) text += "\n";
        text += *error.errorMessage;
    }
    return text;
}

std::string withLine(std::string text, const std::string& line) {
    if (line.empty()) return text;
    return text + "\n" + line;
}

// A new folder of its own under the temporary folder, so that no other
// process's file can stand in for the card's copy.
std::optional<fs::path> makeUniqueFolder(const fs::path& parent, std::error_code& ec) {
    static std::atomic<unsigned> counter{0};
    std::random_device random;
    fs::create_directories(parent, ec);
    if (ec) return std::nullopt;
    for (int attempt = 0; attempt < 16; ++attempt) {
        const fs::path folder = parent / ("zentrova-format-" + std::to_string(random()) + "-" +
                                          std::to_string(counter.fetch_add(1)));
        if (fs::create_directory(folder, ec)) return folder;
        if (ec) return std::nullopt;
    }
    ec = std::make_error_code(std::errc::file_exists);
    return std::nullopt;
}

std::optional<std::vector<std::uint8_t>> fileBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (in.bad()) return std::nullopt;
    return bytes;
}

void removeSavedCopy(const fs::path& saved) {
    std::error_code ec;
    fs::remove(saved, ec);
    fs::remove(saved.parent_path(), ec);
}

}  // namespace

CardFormatResult CardFormatWorker::run(const TKUSBDiskEntity& card, const std::function<void(Step)>& report) {
    CardFormatResult result;
    const std::string& device = card.deviceFilePath();
    // The plan checks the device against what the system lists right now,
    // before anything is touched.
    const CardFormatPlan plan = cardFormatCommands(m_parts.volumes, device, std::nullopt, m_parts.mkfsProgram);
    if (!plan.commands) {
        result.kind = CardFormatResult::Kind::Refused;
        result.reason = plan.refusalText;
        return result;
    }

    const SavedSettings saved = saveSettingsFile(card);
    if (!saved.saved) {
        result.kind = CardFormatResult::Kind::SettingsNotSaved;
        result.reason = fillFormat(localized("format.settings_not_saved_fmt"), {saved.reason});
        return result;
    }
    if (saved.path) result.savedSettingsPath = saved.path->string();

    report(Step::Unmounting);
    std::vector<ScriptErrorInfo> unmountErrors;
    for (const CardCommand& command : plan.commands->unmount) {
        ScriptErrorInfo error = m_parts.runner.runShellScript(command.commandLine, command.withAdministratorPrivileges);
        if (!error.empty()) unmountErrors.push_back(std::move(error));
    }
    // A partition that was not mounted fails its unmount harmlessly; what
    // counts is that nothing of the card is mounted any more.
    if (!isUnmounted(device)) {
        result.kind = CardFormatResult::Kind::StillMounted;
        result.reason = withLine(fillFormat(localized("format.still_mounted_fmt"), {device}),
                                 joinedErrors(unmountErrors));
        result.volumes = searchVolumes(report);
        return result;
    }

    report(Step::Formatting);
    const CardCommand& format = plan.commands->format;
    result.formatError = m_parts.runner.runShellScript(format.commandLine, format.withAdministratorPrivileges);
    const CardCommand& mount = plan.commands->mount;
    if (!result.formatError.empty()) {
        (void)m_parts.runner.runShellScript(mount.commandLine, mount.withAdministratorPrivileges);
        result.kind = CardFormatResult::Kind::FormatFailed;
        result.volumes = searchVolumes(report);
        return result;
    }

    report(Step::Mounting);
    const ScriptErrorInfo mountError = m_parts.runner.runShellScript(mount.commandLine, mount.withAdministratorPrivileges);
    report(Step::Completed);
    result.volumes = searchVolumes(report);
    for (const TKUSBDiskEntity& volume : *result.volumes) {
        if (volume.deviceFilePath() == device) result.card = volume;
    }
    // config.bin goes to the card that was formatted, or nowhere.
    if (!result.card) {
        result.kind = CardFormatResult::Kind::CardNotFoundAgain;
        result.reason = withLine(fillFormat(localized("format.card_not_found_fmt"), {device}),
                                 mountError.errorMessage.value_or(""));
        return result;
    }
    putSettingsBack(*result.card, saved.path, result);
    return result;
}

CardFormatWorker::SavedSettings CardFormatWorker::saveSettingsFile(const TKUSBDiskEntity& card) const {
    SavedSettings saved;
    if (card.mountedURL().empty()) return saved;
    const fs::path source = fs::path(card.mountedURL()) / kSettingsFileName;
    std::error_code ec;
    // Only a file is the card's settings; anything else of that name goes
    // with the format, and the card gets a fresh record.
    if (!fs::is_regular_file(source, ec)) return saved;
    const auto folder = makeUniqueFolder(m_parts.temporaryFolder, ec);
    if (folder) {
        const fs::path copy = *folder / kSettingsFileName;
        if (fs::copy_file(source, copy, fs::copy_options::overwrite_existing, ec)) {
            saved.path = copy;
            return saved;
        }
        fs::remove(*folder);
    }
    saved.saved = false;
    saved.reason = ec.message();
    return saved;
}

bool CardFormatWorker::isUnmounted(const std::string& device) const {
    const auto exclusion = m_parts.volumes.cardExclusion(device);
    return exclusion && exclusion->kind == CardExclusion::Kind::NotMounted;
}

void CardFormatWorker::putSettingsBack(const TKUSBDiskEntity& card, const std::optional<fs::path>& saved,
                                       CardFormatResult& result) const {
    const std::string target = (fs::path(card.mountedURL()) / kSettingsFileName).string();
    FileSaveResult written;
    if (saved) {
        const auto bytes = fileBytes(*saved);
        if (!bytes) {
            result.kind = CardFormatResult::Kind::SettingsNotPutBack;
            result.reason = fillFormat(localized("format.settings_not_read_fmt"), {saved->string()});
            return;
        }
        written = saveFileWhole(m_parts.writer, target, std::span<const std::uint8_t>(*bytes));
    } else {
        written = writeResetFileData(target, m_parts.writer);
    }
    if (!written.saved()) {
        logLine("error=" + written.reason);
        result.kind = CardFormatResult::Kind::SettingsNotPutBack;
        result.reason = fillFormat(localized("format.settings_not_written_fmt"),
                                   {target, localized(*written.errorKey), written.reason});
        return;
    }
    if (saved) removeSavedCopy(*saved);
    result.savedSettingsPath.reset();
    result.kind = CardFormatResult::Kind::Formatted;
}

std::vector<TKUSBDiskEntity> CardFormatWorker::searchVolumes(const std::function<void(Step)>& report) const {
    report(Step::Searching);
    return usbDiskEntities(m_parts.volumes);
}

}  // namespace zentrova
