#pragma once

#include "telemetry/SYSTEMTIME.h"

#include <cstdint>
#include <optional>
#include <string>

namespace zentrova {

// The fix time as ISO 8601 UTC ("2024-03-12T08:15:00Z", with ".250" before
// the Z when there are milliseconds); none when the fields do not form a real
// date and time, as when no RMC sentence with a full date was seen.
std::optional<std::string> utcTimeText(const SYSTEMTIME& time);

// The same time as milliseconds since 1970-01-01 00:00:00 UTC, under the
// same condition.
std::optional<std::int64_t> utcMilliseconds(const SYSTEMTIME& time);

}  // namespace zentrova
