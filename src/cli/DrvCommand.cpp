#include "cli/DrvCommand.h"

#include "cli/CliCommand.h"
#include "cli/CliFileChecks.h"
#include "common/Log.h"
#include "common/PrintableText.h"
#include "common/linux/FileChecks.h"
#include "common/linux/PosixAtomicFileWriter.h"
#include "records/FlashDataCsv.h"
#include "records/FlashDataFile.h"
#include "records/FlashDataTable.h"

#include <algorithm>
#include <array>
#include <optional>
#include <vector>

namespace zentrova {
namespace {

constexpr std::string_view kDrvHelp =
    "usage: zentrova-cli drv FILE [--csv OUT]\n"
    "\n"
    "Reads the camera's drive-log file (DrvInfo/zentrova_000.drv on the card, or\n"
    "any .drv file) and prints its records as the table of the drive-information\n"
    "page: 15 columns, the records in file order, numbered from 1.\n"
    "\n"
    "  --csv OUT  write the table to OUT as CSV instead, the column titles first,\n"
    "             exactly as the page exports it; OUT is replaced only once it is\n"
    "             completely written, and may not be FILE itself\n"
    "  --help     show this text\n"
    "\n"
    "A file that ends before its header's count of records gives the records\n"
    "that are complete, with a note on standard error. A file that holds more\n"
    "than 1048576 of the records its header promises is refused. Exit status 0\n"
    "on success, 1 when OUT cannot be written or FILE is refused, 2 for wrong\n"
    "arguments or an unreadable FILE.\n";

int usage(std::ostream& err, const std::string& message) {
    return reportUsageError(err, "drv: " + message + " (see zentrova-cli drv --help)");
}

struct DrvArgs {
    std::string file;
    std::optional<std::string> csvPath;
};

std::optional<DrvArgs> parseArgs(std::span<const std::string> args, std::ostream& err, int& status) {
    std::optional<std::string> file;
    std::optional<std::string> csvPath;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--csv") {
            if (i + 1 >= args.size() || args[i + 1].empty()) {
                status = usage(err, "--csv needs an output file");
                return std::nullopt;
            }
            csvPath = args[++i];
        } else if (arg.starts_with("-")) {
            status = usage(err, "unknown option " + arg);
            return std::nullopt;
        } else if (file) {
            status = usage(err, "only one file may be given");
            return std::nullopt;
        } else {
            file = arg;
        }
    }
    if (!file) {
        status = usage(err, "a drive-log file is required");
        return std::nullopt;
    }
    return DrvArgs{*file, csvPath};
}

std::string refusalReason(const FlashDataContents& contents) {
    if (contents.refusal == FlashDataRefusal::OutOfMemory) return "out of memory while reading the records";
    return "too many records: the header promises " + std::to_string(contents.declaredCount) +
           ", more than the " + std::to_string(FlashDataFile::kMostRecords) + " that one reading takes";
}

void appendRightAligned(std::string& out, const std::string& text, std::size_t width) {
    if (text.size() < width) out.append(width - text.size(), ' ');
    out += text;
}

}  // namespace

std::string drvTableText(const FlashDataTable& table) {
    constexpr auto kColumns = static_cast<std::size_t>(FlashDataTable::kColumnCount);
    const std::vector<std::string> titles = FlashDataTable::columnNames();
    std::array<std::size_t, kColumns> widths{};
    for (std::size_t c = 0; c < kColumns; ++c) widths[c] = titles[c].size();
    for (std::int64_t row = 0; row < table.flashDataNum(); ++row) {
        for (std::size_t c = 0; c < kColumns; ++c) {
            widths[c] = std::max(widths[c], table.stringForColumnIndex(static_cast<int>(c), row).size());
        }
    }
    std::string text;
    auto appendLine = [&](auto cellOf) {
        for (std::size_t c = 0; c < kColumns; ++c) {
            if (c > 0) text += "  ";
            appendRightAligned(text, cellOf(c), widths[c]);
        }
        text.push_back('\n');
    };
    appendLine([&](std::size_t c) { return titles[c]; });
    for (std::int64_t row = 0; row < table.flashDataNum(); ++row) {
        appendLine([&](std::size_t c) { return table.stringForColumnIndex(static_cast<int>(c), row); });
    }
    return text;
}

int runDrvCommand(std::span<const std::string> args, std::ostream& out, std::ostream& err) {
    for (const std::string& arg : args) {
        if (arg == "--help" || arg == "-h") {
            out << kDrvHelp;
            return kExitOk;
        }
    }
    int status = kExitUsage;
    std::optional<DrvArgs> parsed = parseArgs(args, err, status);
    if (!parsed) return status;
    if (const auto reason = unreadableFileReason(parsed->file)) {
        return usage(err, "cannot read " + parsed->file + ": " + *reason);
    }
    if (parsed->csvPath) {
        if (const auto problem = outputPathProblem(*parsed->csvPath, {parsed->file})) return usage(err, *problem);
    }
    // The reader's "fopen fail" line would repeat the one-line error below.
    setLogSink([](std::string_view) {});
    std::optional<FlashDataContents> contents = FlashDataFile::doReadFlashDataFile(parsed->file);
    setLogSink({});
    if (!contents) return usage(err, "cannot open " + parsed->file);
    if (contents->refusal != FlashDataRefusal::None) {
        err << "zentrova-cli: drv: " << parsed->file << ": " << refusalReason(*contents) << '\n';
        return kExitFailure;
    }
    if (!contents->isComplete()) {
        err << "zentrova-cli: drv: " << printableText(parsed->file) << ": the header promises "
            << contents->declaredCount << " records, the file holds " << contents->records.size()
            << " complete ones\n";
    }
    FlashDataTable table;
    table.setRecords(std::move(contents->records));

    if (!parsed->csvPath) {
        out << drvTableText(table);
        return kExitOk;
    }
    PosixAtomicFileWriter writer;
    // The reason is in the line below; the log would repeat it.
    setLogSink([](std::string_view) {});
    const FileSaveResult result = FlashDataCsv::doWriteCSVFile(table, *parsed->csvPath, writer);
    setLogSink({});
    if (!result.saved()) return reportWriteFailure(err, "drv", *parsed->csvPath, result.reason);
    return kExitOk;
}

}  // namespace zentrova
