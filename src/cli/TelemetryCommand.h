#pragma once

#include <ostream>
#include <span>
#include <string>

namespace zentrova {

class ORVBlackBoxData;

int runTelemetryCommand(std::span<const std::string> args, std::ostream& out, std::ostream& err);

// The extraction result as JSON text (one line, no trailing newline).
std::string telemetryResultJson(bool ok, const ORVBlackBoxData& data);

}  // namespace zentrova
