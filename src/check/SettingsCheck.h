#pragma once

#include "check/CheckFinding.h"
#include "check/ClockComparison.h"
#include "settings/FILEDATA.h"

#include <cstdint>
#include <optional>
#include <string>

namespace zentrova {

// The card's config.bin as the check found it.
struct SettingsReport {
    std::string path;  // where it was looked for (or found)
    bool present = false;
    std::optional<std::uint64_t> size;
    bool readable = false;
    std::optional<FILEDATA> record;  // only for a readable 500-byte file
    std::uint16_t storedChecksum = 0;
    std::uint16_t computedChecksum = 0;

    bool checksumRight() const { return record && storedChecksum == computedChecksum; }
    // The record's time-zone settings; none without a record.
    std::optional<TimeZoneSetting> timeZone() const;
    // Minutes of a continuous recording by always_mode_recording_time; none for an unknown value.
    std::optional<int> recordingMinutes() const;
};

// Reads config.bin from the card's top folder, never writing it.
class SettingsCheck {
public:
    static constexpr const char* kFileName = "config.bin";

    static SettingsReport read(const std::string& cardDirectory);
    static void addFindings(const SettingsReport& report, CheckFindings& findings);

    // Whether the split is one the settings page accepts: shares of at
    // least 10 % that add up to 100 %.
    static bool splitIsValid(const FILEDATA& record);
};

}  // namespace zentrova
