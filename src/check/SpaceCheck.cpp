#include "check/SpaceCheck.h"

#include "check/SettingsCheck.h"

#include <cmath>
#include <filesystem>
#include <system_error>

namespace zentrova {
namespace {

std::uint32_t shareOf(const FILEDATA& settings, ORVMediaDivision mode) {
    switch (mode) {
    case ORVMediaDivisionAlways: return settings.sd_mem_always_ratio;
    case ORVMediaDivisionMotion: return settings.sd_mem_motion_ratio;
    case ORVMediaDivisionEvent: return settings.sd_mem_event_ratio;
    }
    return 0;
}

std::int64_t percentOf(std::uint64_t part, std::uint64_t whole) {
    if (whole == 0) return 0;
    return std::llround(100.0 * static_cast<double>(part) / static_cast<double>(whole));
}

}  // namespace

ModeSpace& SpaceReport::mode(ORVMediaDivision division) {
    for (ModeSpace& space : modes) {
        if (space.mode == division) return space;
    }
    return modes[0];
}

void SpaceCheck::measureCard(const std::string& directory, const FILEDATA* settings, SpaceReport& report) {
    std::error_code ec;
    const std::filesystem::space_info info = std::filesystem::space(directory, ec);
    if (!ec) {
        report.capacity = info.capacity;
        report.available = info.available;
    }
    if (!settings || !SettingsCheck::splitIsValid(*settings)) return;
    for (ModeSpace& space : report.modes) {
        space.sharePercent = shareOf(*settings, space.mode);
        if (report.capacity) space.shareBytes = *report.capacity / 100 * *space.sharePercent;
    }
}

void SpaceCheck::addFindings(const SpaceReport& report, CheckFindings& findings) {
    if (report.capacity && report.available) {
        findings.push_back(CheckFinding::make(Severity::Info, TextKey{"check.space.card"}, {},
                                              {FindingValue::ofBytes("capacity", *report.capacity),
                                               FindingValue::ofBytes("available", *report.available)}));
    }
    for (const ModeSpace& space : report.modes) {
        const FindingValue mode = FindingValue::ofText("mode", localized(mediaDivisionLabelKey(space.mode)));
        const FindingValue used = FindingValue::ofBytes("bytes", space.bytes);
        const FindingValue files = FindingValue::ofInteger("files", static_cast<std::int64_t>(space.files));
        if (!space.shareBytes) {
            findings.push_back(CheckFinding::make(Severity::Info, TextKey{"check.space.mode"}, {}, {mode, used, files}));
            continue;
        }
        const FindingValue share = FindingValue::ofBytes("shareBytes", *space.shareBytes);
        const FindingValue percent = FindingValue::ofInteger("sharePercent", *space.sharePercent);
        const FindingValue fill = FindingValue::ofInteger("percentOfShare", percentOf(space.bytes, *space.shareBytes));
        if (space.bytes > *space.shareBytes) {
            findings.push_back(CheckFinding::make(Severity::Warning, TextKey{"check.space.over_share"}, {},
                                                  {mode, used, share, percent, files}));
        } else if (space.mode == ORVMediaDivisionEvent &&
                   static_cast<double>(space.bytes) >= kEventsNearlyFull * static_cast<double>(*space.shareBytes)) {
            findings.push_back(CheckFinding::make(Severity::Warning, TextKey{"check.space.events_nearly_full"}, {},
                                                  {fill, used, share, files}));
        } else {
            findings.push_back(CheckFinding::make(Severity::Info, TextKey{"check.space.mode_share"}, {},
                                                  {mode, used, files, fill, share, percent}));
        }
    }
}

}  // namespace zentrova
