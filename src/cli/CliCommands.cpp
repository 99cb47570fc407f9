#include "cli/CliCommand.h"

#include "cli/CheckCommand.h"
#include "cli/ConfigCommand.h"
#include "cli/DrvCommand.h"
#include "cli/FormatPlanCommand.h"
#include "cli/IncidentCommand.h"
#include "cli/ExportCommand.h"
#include "cli/ScanCommand.h"
#include "cli/TelemetryCommand.h"
#include "cli/TimesetCommand.h"
#include "cli/VolumesCommand.h"
#include "common/PrintableText.h"

namespace zentrova {

std::span<const CliCommand> cliCommands() {
    static const CliCommand commands[] = {
        {"scan", "list the recordings under a directory and their front/rear pairs", runScanCommand},
        {"config", "show, reset or prepare the camera's settings file config.bin", runConfigCommand},
        {"telemetry", "print the telemetry records of a front recording", runTelemetryCommand},
        {"drv", "print the drive-log records of a .drv file, or export them as CSV", runDrvCommand},
        {"timeset", "write the camera's clock-setting file timeset.cfg", runTimesetCommand},
        {"volumes", "list the mounted USB volumes and the one taken for the camera's card", runVolumesCommand},
        {"format-plan", "print the command lines that formatting a card would run", runFormatPlanCommand},
        {"export", "write the telemetry of every front recording as GPX, KML or CSV", runExportCommand},
        {"check", "check a card: recordings, gaps, the camera's clock, config.bin, space", runCheckCommand},
        {"incident", "write the incident package of a recording: copies, route, summary, checksums", runIncidentCommand},
    };
    return commands;
}

int reportUsageError(std::ostream& err, std::string_view message) {
    err << "zentrova-cli: " << printableText(message) << '\n';
    return kExitUsage;
}

int reportFailure(std::ostream& err, std::string_view message) {
    err << "zentrova-cli: " << printableText(message) << '\n';
    return kExitFailure;
}

}  // namespace zentrova
