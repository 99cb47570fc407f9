#include "cli/TimesetCommand.h"

#include "card/TimeSetFile.h"
#include "cli/CliCommand.h"
#include "cli/CliFileChecks.h"
#include "common/Log.h"
#include "common/linux/PosixAtomicFileWriter.h"

#include <chrono>
#include <optional>

namespace zentrova {
namespace {

constexpr std::string_view kTimesetHelp =
    "usage: zentrova-cli timeset OUT [--date YYYY-MM-DD] [--time HH:MM:SS]\n"
    "\n"
    "Writes the camera's clock-setting file (timeset.cfg in the card's root\n"
    "folder): the 19 bytes \"yyyy/MM/dd HH:mm:ss\", no line end. The camera sets\n"
    "its clock from it.\n"
    "\n"
    "  --date YYYY-MM-DD  the date to write (default: today in this computer's\n"
    "                     time zone), a year from 1970 to 2155: the years the\n"
    "                     camera's clock and drive log can hold\n"
    "  --time HH:MM:SS    the time to write, 24-hour clock (default: now)\n"
    "  --help             show this text\n"
    "\n"
    "OUT is created when missing and replaced whole, once completely written.\n"
    "Exit status 0 on success, 1 when OUT cannot be written, 2 for wrong\n"
    "arguments.\n";

int usage(std::ostream& err, const std::string& message) {
    return reportUsageError(err, "timeset: " + message + " (see zentrova-cli timeset --help)");
}

// The number that text[from, from + count) spells, or none unless all are digits.
std::optional<int> digitsAt(const std::string& text, std::size_t from, std::size_t count) {
    int value = 0;
    for (std::size_t i = from; i < from + count; ++i) {
        if (text[i] < '0' || text[i] > '9') return std::nullopt;
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

std::optional<LocalDate> parseDate(const std::string& text) {
    if (text.size() != 10 || text[4] != '-' || text[7] != '-') return std::nullopt;
    auto year = digitsAt(text, 0, 4), month = digitsAt(text, 5, 2), day = digitsAt(text, 8, 2);
    if (!year || !month || !day) return std::nullopt;
    return LocalDate{*year, *month, *day};
}

std::optional<LocalTime> parseTime(const std::string& text) {
    if (text.size() != 8 || text[2] != ':' || text[5] != ':') return std::nullopt;
    auto hour = digitsAt(text, 0, 2), minute = digitsAt(text, 3, 2), second = digitsAt(text, 6, 2);
    if (!hour || !minute || !second) return std::nullopt;
    return LocalTime{*hour, *minute, *second};
}

struct TimesetArgs {
    std::string out;
    std::optional<std::string> date;
    std::optional<std::string> time;
};

std::optional<TimesetArgs> parseArgs(std::span<const std::string> args, std::ostream& err, int& status) {
    TimesetArgs parsed;
    bool hasOut = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--date" || arg == "--time") {
            if (i + 1 >= args.size()) {
                status = usage(err, arg + " needs a value");
                return std::nullopt;
            }
            (arg == "--date" ? parsed.date : parsed.time) = args[++i];
        } else if (arg.starts_with("-")) {
            status = usage(err, "unknown option " + arg);
            return std::nullopt;
        } else if (hasOut) {
            status = usage(err, "only one output file may be given");
            return std::nullopt;
        } else {
            parsed.out = arg;
            hasOut = true;
        }
    }
    if (!hasOut || parsed.out.empty()) {
        status = usage(err, "an output file is required");
        return std::nullopt;
    }
    return parsed;
}

}  // namespace

int runTimesetCommand(std::span<const std::string> args, std::ostream& out, std::ostream& err) {
    for (const std::string& arg : args) {
        if (arg == "--help" || arg == "-h") {
            out << kTimesetHelp;
            return kExitOk;
        }
    }
    int status = kExitUsage;
    std::optional<TimesetArgs> parsed = parseArgs(args, err, status);
    if (!parsed) return status;

    const auto now = std::chrono::system_clock::now();
    std::optional<LocalDate> date = parsed->date ? parseDate(*parsed->date) : TimeSetFile::localDateOf(now);
    if (!date || !TimeSetFile::timeSetText(*date, LocalTime{})) {
        return usage(err, "the date must be a day of the calendar from " + std::to_string(TimeSetFile::kEarliestYear) +
                              "-01-01 to " + std::to_string(TimeSetFile::kLatestYear) + "-12-31 as YYYY-MM-DD, not " +
                              parsed->date.value_or(""));
    }
    std::optional<LocalTime> time = parsed->time ? parseTime(*parsed->time) : TimeSetFile::localTimeOf(now);
    if (!time || !TimeSetFile::timeSetText(*date, *time)) {
        return usage(err, "the time must be HH:MM:SS from 00:00:00 to 23:59:59, not " + parsed->time.value_or(""));
    }
    const std::string text = *TimeSetFile::timeSetText(*date, *time);

    PosixAtomicFileWriter writer;
    // The reason is in the line below; the log would repeat it.
    setLogSink([](std::string_view) {});
    const FileSaveResult result = TimeSetFile::doWriteConfigFile(parsed->out, text, writer);
    setLogSink({});
    if (!result.saved()) return reportWriteFailure(err, "timeset", parsed->out, result.reason);
    return kExitOk;
}

}  // namespace zentrova
