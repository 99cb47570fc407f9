#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace zentrova {

class ORVBlackBoxData;

enum class TelemetryExportFormat { Gpx, Kml, Csv };

// "gpx", "kml" or "csv".
std::string_view exportExtension(TelemetryExportFormat format);
// The format of an option "--gpx", "--kml" or "--csv"; none for another.
std::optional<TelemetryExportFormat> exportFormatOfOption(std::string_view option);

struct ExportedTelemetry {
    std::string text;
    std::size_t points = 0;  // track points (GPX, KML) or rows (CSV)
};

// The text of one recording's telemetry in the format; none when the
// extraction holds no records.
class TelemetryExporter {
public:
    static std::optional<ExportedTelemetry> exportTelemetry(TelemetryExportFormat format, const ORVBlackBoxData& data,
                                                            std::string_view name);
};

}  // namespace zentrova
