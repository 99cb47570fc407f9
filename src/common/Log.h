#pragma once

#include <functional>
#include <string_view>

namespace zentrova {

// Writes one diagnostics line (no levels). Lines go to standard error unless
// a sink was installed.
void logLine(std::string_view line);

// Replaces where log lines go; an empty function restores standard error.
void setLogSink(std::function<void(std::string_view)> sink);

}  // namespace zentrova
