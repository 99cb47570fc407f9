#include "check/RecordingInspector.h"

#include "check/Mp4IndexReader.h"
#include "telemetry/FileByteSource.h"
#include "telemetry/ORVBlackBoxData.h"

#include <filesystem>
#include <system_error>

namespace zentrova {
namespace {

// A file without a whole box structure up to its index holds no telemetry
// track either; the telemetry walk is not tried on it.
bool mayHoldTelemetry(const Mp4Index& index) {
    switch (index.fault) {
    case Mp4Fault::Unreadable:
    case Mp4Fault::Empty:
    case Mp4Fault::NotMp4:
    case Mp4Fault::NoIndex:
        return false;
    default:
        return true;
    }
}

void addIndexFinding(const RecordingFileCheck& file, const std::string& subject, CheckFindings& findings) {
    const Mp4Index& index = file.index;
    const FindingValue name = FindingValue::ofText("file", subject);
    switch (index.fault) {
    case Mp4Fault::None:
        return;
    case Mp4Fault::Unreadable:
        findings.push_back(CheckFinding::make(Severity::Problem, TextKey{"check.file.unreadable"}, subject,
                                              {name, FindingValue::ofText("reason", file.unreadableReason)}));
        return;
    case Mp4Fault::Empty:
        findings.push_back(CheckFinding::make(Severity::Problem, TextKey{"check.file.empty"}, subject, {name}));
        return;
    case Mp4Fault::NotMp4:
        findings.push_back(CheckFinding::make(Severity::Problem, TextKey{"check.file.not_mp4"}, subject, {name}));
        return;
    case Mp4Fault::Damaged:
        findings.push_back(CheckFinding::make(Severity::Problem, TextKey{"check.file.damaged"}, subject,
                                              {name, FindingValue::ofInteger("offset",
                                                                           static_cast<std::int64_t>(
                                                                               index.damagedAt.value_or(0)))}));
        return;
    case Mp4Fault::CutOff: {
        std::vector<FindingValue> values{name, FindingValue::ofBytes("size", index.fileSize)};
        if (index.announcedSize) values.push_back(FindingValue::ofBytes("announcedSize", *index.announcedSize));
        const TextKey key = !index.announcedSize ? TextKey{"check.file.cut_off_short"}
                            : index.plays()      ? TextKey{"check.file.cut_off_plays"}
                                                 : TextKey{"check.file.cut_off"};
        findings.push_back(CheckFinding::make(Severity::Problem, key, subject, std::move(values)));
        return;
    }
    case Mp4Fault::NoIndex:
        findings.push_back(CheckFinding::make(Severity::Problem, TextKey{"check.file.no_index"}, subject, {name}));
        return;
    case Mp4Fault::DamagedIndex:
        findings.push_back(CheckFinding::make(Severity::Problem, TextKey{"check.file.damaged_index"}, subject, {name}));
        return;
    case Mp4Fault::NoVideoTrack:
        findings.push_back(CheckFinding::make(Severity::Problem, TextKey{"check.file.no_video"}, subject, {name}));
        return;
    }
}

}  // namespace

RecordingFileCheck RecordingInspector::inspect(const std::string& path, ORVMediaDirection side,
                                               ORVBlackBoxData& scratch) {
    RecordingFileCheck file;
    file.side = side;
    file.path = path;
    file.checked = true;
    // Opening a FIFO or a device to read would wait or read without end.
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) {
        file.index.fault = Mp4Fault::Unreadable;
        file.unreadableReason = ec ? ec.message() : "not a regular file";
        return file;
    }
    FileByteSource source;
    if (!source.open(path)) {
        file.index.fault = Mp4Fault::Unreadable;
        file.unreadableReason = "it cannot be opened";
        return file;
    }
    // Box headers lie far apart; reading ahead from one would read media.
    source.setReadAhead(false);
    file.index = Mp4IndexReader::read(source);
    if (side != ORVMediaDirectionFront || !mayHoldTelemetry(file.index)) return file;
    file.telemetryLooked = true;
    source.setReadAhead(true);
    if (scratch.ExtractStreamInformation(source) && !scratch.m_Times.empty()) {
        file.telemetry = TelemetryFacts::of(scratch, file.index.lengthSeconds());
    }
    return file;
}

void RecordingInspector::addFindings(const RecordingFileCheck& file, const std::string& subject,
                                     CheckFindings& findings) {
    addIndexFinding(file, subject, findings);
    // A damaged file has already been reported; missing telemetry follows from that.
    if (!file.telemetryLooked || file.index.fault != Mp4Fault::None) return;
    const FindingValue name = FindingValue::ofText("file", subject);
    if (!file.telemetry) {
        findings.push_back(CheckFinding::make(Severity::Warning, TextKey{"check.file.no_telemetry"}, subject, {name}));
    } else if (file.telemetry->validFixes == 0) {
        findings.push_back(CheckFinding::make(Severity::Info, TextKey{"check.file.no_fix"}, subject, {name}));
    }
}

}  // namespace zentrova
