#include "check/ui/CardCheckSections.h"

#include "card/SizeText.h"
#include "check/CivilSeconds.h"
#include "controls/UiText.h"

#include <QBrush>
#include <QColor>
#include <QTreeWidget>

#include <cmath>
#include <filesystem>

namespace zentrova {
namespace {

QString text(const std::string& value) { return QString::fromStdString(value); }
QString number(std::uint64_t value) { return QString::number(value); }
QString seconds(double value) { return text(CivilSeconds::durationText(value)); }
QString bytes(std::uint64_t value) { return text(sizeText(value)); }
QString orUnknown(const std::optional<QString>& value) { return value ? *value : uiText("check_window.unknown"); }
QString yesNo(bool value) { return uiText(value ? "check_window.yes" : "check_window.no"); }

QString severityText(Severity severity) {
    switch (severity) {
    case Severity::Problem: return uiText("check_window.severity.problem");
    case Severity::Warning: return uiText("check_window.severity.warning");
    case Severity::Info: break;
    }
    return uiText("check_window.severity.info");
}

QColor severityColour(Severity severity) {
    switch (severity) {
    case Severity::Problem: return QColor(0xff, 0x6b, 0x6b);
    case Severity::Warning: return QColor(0xf5, 0xb0, 0x41);
    case Severity::Info: break;
    }
    return QColor(0x9a, 0xa4, 0xb1);
}

QString modeText(ORVMediaDivision mode) {
    switch (mode) {
    case ORVMediaDivisionMotion: return uiText("media.motion");
    case ORVMediaDivisionEvent: return uiText("media.event");
    default: break;
    }
    return uiText("media.always");
}

QString fileNameOf(const std::string& path) { return text(std::filesystem::path(path).filename().string()); }

QTreeWidgetItem* addRow(QTreeWidget& list, const QStringList& columns) {
    auto* item = new QTreeWidgetItem(&list, columns);
    for (int column = 0; column < columns.size(); ++column) item->setToolTip(column, columns[column]);
    return item;
}

QTreeWidgetItem* addChild(QTreeWidgetItem& parent, const QStringList& columns) {
    auto* item = new QTreeWidgetItem(&parent, columns);
    for (int column = 0; column < columns.size(); ++column) item->setToolTip(column, columns[column]);
    return item;
}

void fitColumns(QTreeWidget& list) {
    list.expandAll();
    for (int column = 0; column + 1 < list.columnCount(); ++column) list.resizeColumnToContents(column);
}

QString sidesText(const RecordingCheck& recording) {
    if (recording.front && recording.rear) return uiText("check_window.sides.both");
    return uiText(recording.front ? "check_window.sides.front_only" : "check_window.sides.rear_only");
}

QString telemetryText(const RecordingFileCheck& file) {
    if (file.side != ORVMediaDirectionFront || !file.checked) return {};
    if (!file.telemetry) return uiText("check_window.telemetry.none");
    return uiFormat("check_window.telemetry.records_fmt", number(file.telemetry->records));
}

QString fixesText(const RecordingFileCheck& file) {
    return file.telemetry ? number(file.telemetry->validFixes) : QString();
}

QString lengthText(const std::optional<double>& length) { return length ? seconds(*length) : QString(); }

// The recording plays when every file it has plays; else what is wrong with the first that does not.
QString recordingStateText(const RecordingCheck& recording) {
    for (const auto* side : {&recording.front, &recording.rear}) {
        if (*side && !(*side)->index.plays()) return CardCheckSections::stateText(**side);
    }
    return uiText("check_window.state.plays");
}

QString timeOf(double civilSeconds) { return text(CivilSeconds::timeText(static_cast<std::int64_t>(std::floor(civilSeconds)))); }

const std::string& nameAt(const CardCheckReport& report, std::size_t index) {
    static const std::string none;
    return index < report.recordings.size() ? report.recordings[index].name : none;
}

QString zoneText(const std::optional<TimeZoneSetting>& zone) {
    return zone ? text(zone->describe()) : uiText("check_window.unknown");
}

QString verdictText(ClockVerdict verdict) {
    switch (verdict) {
    case ClockVerdict::InStep: return uiText("check_window.clock.verdict.in_step");
    case ClockVerdict::TimeZone: return uiText("check_window.clock.verdict.time_zone");
    case ClockVerdict::CameraClock: return uiText("check_window.clock.verdict.camera_clock");
    case ClockVerdict::NoGpsTime: break;
    }
    return uiText("check_window.clock.verdict.no_gps");
}

// As the findings write them: 0x600B.
QString checksumNumber(std::uint16_t value) {
    return QString::asprintf("0x%04X", unsigned{value});
}

QString checksumText(const SettingsReport& settings) {
    if (!settings.record) return uiText("check_window.unknown");
    const QString values = uiFormat("check_window.settings.checksum_values_fmt", checksumNumber(settings.storedChecksum),
                                    checksumNumber(settings.computedChecksum));
    if (settings.checksumRight()) return uiText("check_window.settings.checksum_right");
    if (settings.storedChecksum == 0) return uiFormat("check_window.settings.checksum_unset_fmt", values);
    return uiFormat("check_window.settings.checksum_wrong_fmt", values);
}

}  // namespace

QString CardCheckSections::signedSecondsText(double value) {
    const QString sign = value < 0 ? QStringLiteral("-") : QStringLiteral("+");
    return sign + seconds(std::abs(value));
}

QString CardCheckSections::stateText(const RecordingFileCheck& file) {
    if (!file.checked) return uiText("check_window.state.not_checked");
    switch (file.index.fault) {
    case Mp4Fault::None: break;
    case Mp4Fault::Unreadable: return uiText("check_window.state.unreadable");
    case Mp4Fault::Empty: return uiText("check_window.state.empty");
    case Mp4Fault::NotMp4: return uiText("check_window.state.not_mp4");
    case Mp4Fault::Damaged: return uiText("check_window.state.damaged");
    case Mp4Fault::CutOff:
        return uiText(file.index.plays() ? "check_window.state.cut_off_plays" : "check_window.state.cut_off");
    case Mp4Fault::NoIndex: return uiText("check_window.state.no_index");
    case Mp4Fault::DamagedIndex: return uiText("check_window.state.damaged_index");
    case Mp4Fault::NoVideoTrack: return uiText("check_window.state.no_video");
    }
    return uiText(file.index.plays() ? "check_window.state.plays" : "check_window.state.no_video");
}

QString CardCheckSections::summaryText(const CardCheckReport& report) {
    const QString counts = uiFormat("check_window.summary_fmt", number(report.count(Severity::Problem)),
                                    number(report.count(Severity::Warning)), number(report.count(Severity::Info)),
                                    number(report.recordings.size()), number(report.fileCount()));
    return report.complete ? counts : uiFormat("check_window.summary_cancelled_fmt", counts);
}

QString CardCheckSections::clockText(const CardCheckReport& report) {
    for (const CheckFinding& finding : report.findings) {
        if (finding.key.starts_with("check.clock.") && finding.key != "check.clock.outlier") return text(finding.text);
    }
    return verdictText(report.clock.verdict);
}

void CardCheckSections::fillFindings(QTreeWidget& list, const CardCheckReport& report) {
    list.clear();
    for (const CheckFinding& finding : report.findings) {
        QTreeWidgetItem* row = addRow(list, {severityText(finding.severity), text(finding.subject), text(finding.text)});
        row->setForeground(0, QBrush(severityColour(finding.severity)));
        row->setData(0, Qt::UserRole, text(finding.key));
    }
    fitColumns(list);
}

void CardCheckSections::fillRecordings(QTreeWidget& list, const CardCheckReport& report) {
    list.clear();
    for (const RecordingCheck& recording : report.recordings) {
        const TelemetryFacts* telemetry = recording.telemetry();
        QTreeWidgetItem* row = addRow(
            list, {text(recording.name), modeText(recording.mode), sidesText(recording),
                   lengthText(recording.lengthSeconds()), recordingStateText(recording),
                   recording.front ? telemetryText(*recording.front) : uiText("check_window.telemetry.none"),
                   telemetry ? number(telemetry->validFixes) : QString(),
                   recording.clockDifferenceSeconds ? signedSecondsText(*recording.clockDifferenceSeconds) : QString()});
        for (const auto* side : {&recording.front, &recording.rear}) {
            if (!*side) continue;
            const RecordingFileCheck& file = **side;
            addChild(*row, {fileNameOf(file.path),
                            uiText(file.side == ORVMediaDirectionFront ? "check_window.side.front" : "check_window.side.rear"),
                            bytes(file.index.fileSize), lengthText(file.index.lengthSeconds()), stateText(file),
                            telemetryText(file), fixesText(file), QString()});
        }
    }
    fitColumns(list);
    list.collapseAll();
}

void CardCheckSections::fillDays(QTreeWidget& list, const CardCheckReport& report) {
    list.clear();
    for (const DayContinuity& day : report.days) {
        QTreeWidgetItem* row = addRow(
            list, {text(day.date),
                   uiFormat("check_window.days.recordings_fmt", number(day.continuousRecordings)),
                   text(CivilSeconds::timeText(day.firstStart)), timeOf(day.lastEnd), QString(),
                   uiFormat("check_window.days.counts_fmt", number(day.gaps.size()), number(day.overlaps.size()))});
        for (const RecordingGap& gap : day.gaps) {
            addChild(*row, {uiText(gap.whileMoving ? "check_window.days.gap_moving" : "check_window.days.gap"), QString(),
                            timeOf(gap.from), timeOf(gap.to), seconds(gap.uncoveredSeconds),
                            uiFormat("check_window.days.between_fmt", text(nameAt(report, gap.before)),
                                     text(nameAt(report, gap.after)))});
        }
        for (const RecordingOverlap& overlap : day.overlaps) {
            addChild(*row, {uiText("check_window.days.overlap"), QString(), QString(), QString(),
                            seconds(overlap.seconds),
                            uiFormat("check_window.days.between_fmt", text(nameAt(report, overlap.earlier)),
                                     text(nameAt(report, overlap.later)))});
        }
    }
    fitColumns(list);
}

void CardCheckSections::fillClock(QTreeWidget& list, const CardCheckReport& report) {
    list.clear();
    const ClockReport& clock = report.clock;
    const auto optionalSeconds = [](const std::optional<double>& value) -> std::optional<QString> {
        if (!value) return std::nullopt;
        return signedSecondsText(*value);
    };
    addRow(list, {uiText("check_window.clock.verdict"), verdictText(clock.verdict)});
    addRow(list, {uiText("check_window.clock.recordings"), number(clock.samples.size())});
    addRow(list, {uiText("check_window.clock.median"), orUnknown(optionalSeconds(clock.medianSeconds))});
    addRow(list, {uiText("check_window.clock.range"),
                  clock.lowestSeconds ? uiFormat("check_window.clock.range_fmt", signedSecondsText(*clock.lowestSeconds),
                                                 signedSecondsText(*clock.highestSeconds))
                                      : uiText("check_window.unknown")});
    addRow(list, {uiText("check_window.clock.spread"),
                  clock.medianSeconds ? seconds(clock.spreadSeconds()) : uiText("check_window.unknown")});
    addRow(list, {uiText("check_window.clock.clock_off"), signedSecondsText(clock.clockOffSeconds)});
    addRow(list, {uiText("check_window.clock.setting"), zoneText(clock.setting)});
    if (clock.suggested) addRow(list, {uiText("check_window.clock.suggested"), zoneText(clock.suggested)});
    if (!clock.outliers.empty()) {
        QTreeWidgetItem* outliers = addRow(list, {uiText("check_window.clock.outliers"), number(clock.outliers.size())});
        for (std::size_t index : clock.outliers) {
            const RecordingCheck* recording = index < report.recordings.size() ? &report.recordings[index] : nullptr;
            if (!recording) continue;
            addChild(*outliers, {text(recording->name), recording->clockDifferenceSeconds
                                                            ? signedSecondsText(*recording->clockDifferenceSeconds)
                                                            : QString()});
        }
    }
    fitColumns(list);
}

void CardCheckSections::fillSettings(QTreeWidget& list, const CardCheckReport& report) {
    list.clear();
    const SettingsReport& settings = report.settings;
    addRow(list, {uiText("check_window.settings.path"), text(settings.path)});
    addRow(list, {uiText("check_window.settings.present"), yesNo(settings.present)});
    if (settings.present) {
        addRow(list, {uiText("check_window.settings.size"),
                      settings.size ? uiFormat("check_window.bytes_fmt", number(*settings.size))
                                    : uiText("check_window.unknown")});
        addRow(list, {uiText("check_window.settings.checksum"), checksumText(settings)});
    }
    if (settings.record) {
        const FILEDATA& record = *settings.record;
        addRow(list, {uiText("check_window.settings.split"),
                      uiFormat(SettingsCheck::splitIsValid(record) ? "check_window.settings.split_fmt"
                                                                   : "check_window.settings.split_invalid_fmt",
                               number(record.sd_mem_always_ratio), number(record.sd_mem_motion_ratio),
                               number(record.sd_mem_event_ratio))});
        const auto minutes = settings.recordingMinutes();
        addRow(list, {uiText("check_window.settings.recording_length"),
                      minutes ? uiFormat("check_window.settings.minutes_fmt", QString::number(*minutes))
                              : uiText("check_window.unknown")});
        addRow(list, {uiText("check_window.settings.time_zone"), zoneText(settings.timeZone())});
    }
    fitColumns(list);
}

void CardCheckSections::fillSpace(QTreeWidget& list, const CardCheckReport& report) {
    list.clear();
    const SpaceReport& space = report.space;
    const QString unknown = uiText("check_window.unknown");
    addRow(list, {uiText("check_window.space.card"), space.capacity ? bytes(*space.capacity) : unknown,
                  QString(), QString(), QString()});
    addRow(list, {uiText("check_window.space.free"), space.available ? bytes(*space.available) : unknown,
                  QString(), QString(), QString()});
    for (const ModeSpace& mode : space.modes) {
        QString share;
        QString used;
        if (mode.sharePercent && mode.shareBytes) {
            share = uiFormat("check_window.space.share_fmt", bytes(*mode.shareBytes), number(*mode.sharePercent));
            if (*mode.shareBytes > 0) {
                used = uiFormat("check_window.space.used_fmt",
                                QString::number(100.0 * double(mode.bytes) / double(*mode.shareBytes), 'f', 0));
            }
        }
        addRow(list, {modeText(mode.mode), bytes(mode.bytes),
                      uiFormat("check_window.space.files_fmt", number(mode.files)), share, used});
    }
    fitColumns(list);
}

}  // namespace zentrova
