#include "telemetry/export/TelemetryExporter.h"

#include "telemetry/ORVBlackBoxData.h"
#include "telemetry/export/GpxWriter.h"
#include "telemetry/export/KmlWriter.h"
#include "telemetry/export/TelemetryCsvWriter.h"
#include "telemetry/export/TrackPointBuilder.h"

namespace zentrova {

std::string_view exportExtension(TelemetryExportFormat format) {
    switch (format) {
    case TelemetryExportFormat::Gpx: return "gpx";
    case TelemetryExportFormat::Kml: return "kml";
    case TelemetryExportFormat::Csv: return "csv";
    }
    return "txt";
}

std::optional<TelemetryExportFormat> exportFormatOfOption(std::string_view option) {
    if (option == "--gpx") return TelemetryExportFormat::Gpx;
    if (option == "--kml") return TelemetryExportFormat::Kml;
    if (option == "--csv") return TelemetryExportFormat::Csv;
    return std::nullopt;
}

std::optional<ExportedTelemetry> TelemetryExporter::exportTelemetry(TelemetryExportFormat format,
                                                                    const ORVBlackBoxData& data,
                                                                    std::string_view name) {
    const auto rows = TrackPointBuilder::rows(data);
    if (!rows || rows->empty()) return std::nullopt;
    ExportedTelemetry exported;
    if (format == TelemetryExportFormat::Csv) {
        exported.text = TelemetryCsvWriter::write(*rows);
        exported.points = rows->size();
        return exported;
    }
    const TrackSegments segments = TrackPointBuilder::segments(*rows, data.m_NMEAs);
    exported.points = TrackPointBuilder::pointCount(segments);
    exported.text = format == TelemetryExportFormat::Gpx ? GpxWriter::write(segments, name)
                                                         : KmlWriter::write(segments, name);
    return exported;
}

}  // namespace zentrova
