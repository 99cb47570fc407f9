#pragma once

#include "telemetry/SYSTEMTIME.h"

#include <optional>
#include <string>

namespace zentrova {

// The fix time as ISO 8601 UTC ("2024-03-12T08:15:00Z", with ".250" before
// the Z when there are milliseconds); none when the fields do not form a real
// date and time, as when no RMC sentence with a full date was seen.
std::optional<std::string> utcTimeText(const SYSTEMTIME& time);

}  // namespace zentrova
