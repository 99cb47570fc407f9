#include "cli/CliCommand.h"

#include "cli/ConfigCommand.h"
#include "cli/ExportCommand.h"
#include "cli/ScanCommand.h"
#include "cli/TelemetryCommand.h"

namespace zentrova {

std::span<const CliCommand> cliCommands() {
    static const CliCommand commands[] = {
        {"scan", "list the recordings under a directory and their front/rear pairs", runScanCommand},
        {"config", "show, reset or prepare the camera's settings file config.bin", runConfigCommand},
        {"telemetry", "print the telemetry records of a front recording", runTelemetryCommand},
        {"export", "write the telemetry of every front recording as GPX, KML or CSV", runExportCommand},
    };
    return commands;
}

int reportUsageError(std::ostream& err, std::string_view message) {
    err << "zentrova-cli: " << message << '\n';
    return kExitUsage;
}

}  // namespace zentrova
