#include "check/SettingsCheck.h"

#include "settings/FileDataFile.h"
#include "settings/ORVValidator.h"
#include "settings/TimeZoneList.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

namespace zentrova {
namespace {

namespace fs = std::filesystem;

// The card's file system may show the name in capitals.
std::optional<fs::path> findSettingsFile(const fs::path& directory) {
    std::error_code ec;
    const fs::path exact = directory / SettingsCheck::kFileName;
    if (fs::exists(exact, ec)) return exact;
    for (fs::directory_iterator it(directory, ec), end; !ec && it != end; it.increment(ec)) {
        std::string name = it->path().filename().string();
        for (char& c : name) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
        if (name == SettingsCheck::kFileName) return it->path();
    }
    return std::nullopt;
}

std::string hex16(std::uint16_t value) {
    char text[8];
    std::snprintf(text, sizeof text, "0x%04X", value);
    return text;
}

void addRecordFindings(const SettingsReport& report, CheckFindings& findings) {
    const FILEDATA& record = *report.record;
    const std::string subject = SettingsCheck::kFileName;
    const std::vector<FindingValue> split{
        FindingValue::ofInteger("continuous", record.sd_mem_always_ratio),
        FindingValue::ofInteger("motion", record.sd_mem_motion_ratio),
        FindingValue::ofInteger("event", record.sd_mem_event_ratio)};
    if (SettingsCheck::splitIsValid(record)) {
        findings.push_back(CheckFinding::make(Severity::Info, TextKey{"check.settings.split"}, subject, split));
    } else {
        findings.push_back(
            CheckFinding::make(Severity::Warning, TextKey{"check.settings.split_invalid"}, subject, split));
    }
    if (const auto minutes = report.recordingMinutes()) {
        findings.push_back(CheckFinding::make(Severity::Info, TextKey{"check.settings.recording_length"}, subject,
                                              {FindingValue::ofInteger("minutes", *minutes)}));
    } else {
        findings.push_back(CheckFinding::make(Severity::Warning, TextKey{"check.settings.recording_length_unknown"},
                                              subject,
                                              {FindingValue::ofInteger("value", record.always_mode_recording_time)}));
    }
    const TimeZoneSetting zone = *report.timeZone();
    if (zone.utcOffsetMinutes()) {
        findings.push_back(CheckFinding::make(Severity::Info, TextKey{"check.settings.time_zone"}, subject,
                                              {FindingValue::ofText("zone", zone.describe()),
                                               FindingValue::ofInteger("timeGmt", zone.timeGmt),
                                               FindingValue::ofInteger("summerTime", zone.summerTime ? 1 : 0)}));
    } else {
        findings.push_back(CheckFinding::make(Severity::Warning, TextKey{"check.settings.time_zone_unknown"}, subject,
                                              {FindingValue::ofInteger("timeGmt", zone.timeGmt)}));
    }
}

}  // namespace

std::optional<TimeZoneSetting> SettingsReport::timeZone() const {
    if (!record) return std::nullopt;
    return TimeZoneSetting{record->time_gmt, record->summer_time != 0};
}

std::optional<int> SettingsReport::recordingMinutes() const {
    if (!record) return std::nullopt;
    switch (record->always_mode_recording_time) {
    case 0: return 5;
    case 1: return 3;
    default: return std::nullopt;
    }
}

bool SettingsCheck::splitIsValid(const FILEDATA& record) {
    const std::uint64_t shares[] = {record.sd_mem_always_ratio, record.sd_mem_motion_ratio, record.sd_mem_event_ratio};
    std::uint64_t sum = 0;
    for (std::uint64_t share : shares) {
        if (ORVValidator::validateSDCardSizeRatio(static_cast<std::int64_t>(share))) return false;
        sum += share;
    }
    return sum == 100;
}

SettingsReport SettingsCheck::read(const std::string& cardDirectory) {
    SettingsReport report;
    const fs::path directory(cardDirectory);
    const auto found = findSettingsFile(directory);
    report.path = (found ? *found : directory / kFileName).string();
    if (!found) return report;
    report.present = true;
    std::error_code ec;
    // A FIFO or a device under that name is not read: it could block or never end.
    if (!fs::is_regular_file(*found, ec)) return report;
    const std::uintmax_t size = fs::file_size(*found, ec);
    if (ec) return report;
    report.size = size;
    FILEDATA record;
    switch (readFileData(report.path, record)) {
    case FileDataReadResult::Read:
        report.readable = true;
        report.record = record;
        report.storedChecksum = record.checksum;
        report.computedChecksum = fileDataChecksum(record);
        break;
    case FileDataReadResult::NotASettingsFile:
        report.readable = true;
        break;
    case FileDataReadResult::CannotOpen:
        break;
    }
    return report;
}

void SettingsCheck::addFindings(const SettingsReport& report, CheckFindings& findings) {
    const std::string subject = kFileName;
    if (!report.present) {
        findings.push_back(CheckFinding::make(Severity::Warning, TextKey{"check.settings.missing"}, subject, {}));
        return;
    }
    if (!report.readable || !report.size) {
        findings.push_back(CheckFinding::make(Severity::Problem, TextKey{"check.settings.unreadable"}, subject, {}));
        return;
    }
    if (!report.record) {
        findings.push_back(CheckFinding::make(Severity::Problem, TextKey{"check.settings.wrong_size"}, subject,
                                              {FindingValue::ofInteger("size", static_cast<std::int64_t>(*report.size))}));
        return;
    }
    if (report.checksumRight()) {
        findings.push_back(CheckFinding::make(Severity::Info, TextKey{"check.settings.whole"}, subject, {}));
    } else if (report.storedChecksum == 0) {
        // The settings file a format leaves has no checksum yet; it is not damage.
        findings.push_back(CheckFinding::make(Severity::Info, TextKey{"check.settings.no_checksum"}, subject,
                                              {FindingValue::ofText("computed", hex16(report.computedChecksum))}));
    } else {
        findings.push_back(CheckFinding::make(Severity::Problem, TextKey{"check.settings.bad_checksum"}, subject,
                                              {FindingValue::ofText("stored", hex16(report.storedChecksum)),
                                               FindingValue::ofText("computed", hex16(report.computedChecksum))}));
    }
    addRecordFindings(report, findings);
}

}  // namespace zentrova
