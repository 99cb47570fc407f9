#include "cli/ConfigCommand.h"

#include "cli/CliCommand.h"
#include "cli/CliFileChecks.h"
#include "common/JsonWriter.h"
#include "common/Log.h"
#include "common/PrintableText.h"
#include "common/linux/FileChecks.h"
#include "common/linux/PosixAtomicFileWriter.h"
#include "settings/FILEDATA.h"
#include "settings/FileDataField.h"
#include "settings/FileDataFile.h"

#include <cstdio>
#include <filesystem>
#include <optional>
#include <system_error>
#include <vector>

namespace zentrova {
namespace {

constexpr std::string_view kConfigHelp =
    "usage: zentrova-cli config show FILE [--json]\n"
    "       zentrova-cli config reset OUT\n"
    "       zentrova-cli config prepare IN OUT\n"
    "\n"
    "Works with the camera's settings file config.bin (one 500-byte record).\n"
    "\n"
    "  show FILE      list every field of the record with the settings page that\n"
    "                 edits it. A file that does not have exactly 500 bytes is not\n"
    "                 a settings file: its reset values are shown, as the settings\n"
    "                 editor would show them.\n"
    "    --json       print {\"size\", \"valid\", \"checksumComputed\", \"fields\"}: every\n"
    "                 field by name, numbers as integers, the character arrays and\n"
    "                 dummy00 as arrays of numbers (characters as bytes 0 to 255)\n"
    "  reset OUT      write a record with the camera's factory values to OUT\n"
    "  prepare IN OUT read the 500-byte record IN, set its plate flag and checksum\n"
    "                 as a save does, and write it to OUT\n"
    "\n"
    "OUT is replaced only once it is completely written; for prepare it may not be\n"
    "IN itself. Exit status 0 on success, 1 when OUT cannot be written, 2 for\n"
    "wrong arguments or an unreadable input.\n";

int usage(std::ostream& err, const std::string& message) {
    return reportUsageError(err, "config: " + message + " (see zentrova-cli config --help)");
}

// Writes the record through the atomic writer; the failure's reason goes
// into the one error line, not into the log as well.
template <typename Write>
int writeRecord(std::ostream& err, std::string_view action, const std::string& path, Write write) {
    PosixAtomicFileWriter writer;
    setLogSink([](std::string_view) {});
    const FileSaveResult result = write(writer);
    setLogSink({});
    if (!result.saved()) return reportWriteFailure(err, "config " + std::string(action), path, result.reason);
    return kExitOk;
}

// The size of a regular file, or the reason it cannot be read.
std::optional<std::uintmax_t> regularFileSize(const std::string& path, std::string& reason) {
    if (auto unreadable = unreadableFileReason(path)) {
        reason = std::move(*unreadable);
        return std::nullopt;
    }
    std::error_code ec;
    std::uintmax_t size = std::filesystem::file_size(path, ec);
    if (ec) {
        reason = ec.message();
        return std::nullopt;
    }
    return size;
}

std::string textElements(const FILEDATA& record, const FileDataField& field) {
    std::string text = "\"";
    std::size_t used = field.elementCount;
    while (used > 0 && fieldElement(record, field, used - 1) == 0) --used;
    for (std::size_t i = 0; i < used; ++i) {
        auto byte = static_cast<unsigned>(fieldElement(record, field, i));
        if (byte >= 0x20 && byte < 0x7F && byte != '"' && byte != '\\') {
            text.push_back(static_cast<char>(byte));
        } else {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\x%02X", byte);
            text += escape;
        }
    }
    return text + "\"";
}

std::string valueText(const FILEDATA& record, const FileDataField& field) {
    if (field.kind == FieldKind::Text) return textElements(record, field);
    std::string text;
    for (std::size_t i = 0; i < field.elementCount; ++i) {
        if (i > 0) text.push_back(' ');
        text += std::to_string(fieldElement(record, field, i));
    }
    return text;
}

void appendPadded(std::string& out, std::string_view text, std::size_t width) {
    out.append(text);
    out.append(text.size() < width ? width - text.size() : 1, ' ');
}

void writeListing(std::ostream& out, const std::string& path, std::uintmax_t size, bool valid,
                  const FILEDATA& record) {
    std::string text = printableText(path) + ": " + std::to_string(size) + " bytes, ";
    text += valid ? "a settings record\n"
                  : "not a settings record (it must have exactly 500 bytes); the reset values are shown\n";
    text += "checksum stored " + std::to_string(record.checksum) + ", computed " +
            std::to_string(fileDataChecksum(record)) + "\n\n";
    appendPadded(text, "OFFSET", 8);
    appendPadded(text, "SIZE", 6);
    appendPadded(text, "FIELD", 28);
    appendPadded(text, "PAGE", 14);
    text += "VALUE\n";
    for (const FileDataField& field : fileDataFields()) {
        appendPadded(text, std::to_string(field.offset), 8);
        appendPadded(text, std::to_string(field.size()), 6);
        appendPadded(text, field.name, 28);
        appendPadded(text, settingsPagesName(field.pages), 14);
        text += valueText(record, field);
        text.push_back('\n');
    }
    out << text;
}

int runShow(std::span<const std::string> args, std::ostream& out, std::ostream& err) {
    bool asJson = false;
    std::optional<std::string> path;
    for (const std::string& arg : args) {
        if (arg == "--json") {
            asJson = true;
        } else if (arg.starts_with("-")) {
            return usage(err, "show: unknown option " + arg);
        } else if (path) {
            return usage(err, "show: only one file may be given");
        } else {
            path = arg;
        }
    }
    if (!path) return usage(err, "show: a file is required");
    std::string reason;
    std::optional<std::uintmax_t> size = regularFileSize(*path, reason);
    if (!size) return usage(err, "show: cannot read " + *path + ": " + reason);

    FILEDATA record;
    resetFileData(record);
    FileDataReadResult result = readFileData(*path, record);
    if (result == FileDataReadResult::CannotOpen) return usage(err, "show: cannot open " + *path);
    bool valid = result == FileDataReadResult::Read;
    if (asJson) {
        out << configShowJson(*size, valid, record) << '\n';
    } else {
        writeListing(out, *path, *size, valid, record);
    }
    return kExitOk;
}

int runReset(std::span<const std::string> args, std::ostream& err) {
    if (args.size() != 1 || args[0].starts_with("-")) return usage(err, "reset: exactly one output file is required");
    if (const auto problem = outputPathProblem(args[0], {})) return usage(err, "reset: " + *problem);
    return writeRecord(err, "reset", args[0], [&](AtomicFileWriter& writer) { return writeResetFileData(args[0], writer); });
}

int runPrepare(std::span<const std::string> args, std::ostream& err) {
    if (args.size() != 2 || args[0].starts_with("-") || args[1].starts_with("-")) {
        return usage(err, "prepare: an input and an output file are required");
    }
    const std::string& in = args[0];
    const std::string& out = args[1];
    std::string reason;
    std::optional<std::uintmax_t> size = regularFileSize(in, reason);
    if (!size) return usage(err, "prepare: cannot read " + in + ": " + reason);
    if (*size != kFileDataSize) {
        return usage(err, "prepare: " + in + " has " + std::to_string(*size) + " bytes, a settings record has 500");
    }
    FILEDATA record;
    resetFileData(record);
    if (const auto problem = outputPathProblem(out, {in})) return usage(err, "prepare: " + *problem);
    if (readFileData(in, record) != FileDataReadResult::Read) return usage(err, "prepare: cannot read " + in);
    prepareFileDataForWriting(record);
    return writeRecord(err, "prepare", out, [&](AtomicFileWriter& writer) { return writeFileData(record, out, writer); });
}

}  // namespace

std::string configShowJson(std::uintmax_t fileSize, bool valid, const FILEDATA& record) {
    JsonWriter json;
    json.beginObject()
        .key("size").value(static_cast<unsigned long long>(fileSize))
        .key("valid").value(valid)
        .key("checksumComputed").value(static_cast<unsigned>(fileDataChecksum(record)))
        .key("fields").beginObject();
    for (const FileDataField& field : fileDataFields()) {
        json.key(field.name);
        if (field.elementCount > 1) json.beginArray();
        for (std::size_t i = 0; i < field.elementCount; ++i) {
            json.value(static_cast<long long>(fieldElement(record, field, i)));
        }
        if (field.elementCount > 1) json.endArray();
    }
    json.endObject().endObject();
    return json.text();
}

int runConfigCommand(std::span<const std::string> args, std::ostream& out, std::ostream& err) {
    for (const std::string& arg : args) {
        if (arg == "--help" || arg == "-h") {
            out << kConfigHelp;
            return kExitOk;
        }
    }
    if (args.empty()) return usage(err, "an action is required: show, reset or prepare");
    const std::string& action = args[0];
    std::span<const std::string> rest = args.subspan(1);
    if (action == "show") return runShow(rest, out, err);
    if (action == "reset") return runReset(rest, err);
    if (action == "prepare") return runPrepare(rest, err);
    return usage(err, "unknown action " + action);
}

}  // namespace zentrova
