// zentrova-samplecard: writes a sample card of recordings, settings, clock
// file and drive log, as the camera would leave it.

#include "SampleCardGenerator.h"

#include <charconv>
#include <iostream>
#include <string>
#include <vector>

namespace {

constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

const char* const kUsage =
    "Usage: zentrova-samplecard [OPTIONS] OUT_DIR\n"
    "Writes a sample card into OUT_DIR: continuous, motion and event recordings\n"
    "(front files with telemetry and sound, silent rear files), config.bin,\n"
    "timeset.cfg and DrvInfo/zentrova_000.drv. Needs ffmpeg on PATH.\n"
    "  --hd              1920x1080 video (default 320x180)\n"
    "  --size WxH        any other frame size (even numbers)\n"
    "  --duration S      seconds per recording, 1 to 600 (default 8)\n"
    "  --count N         continuous recordings, 1 to 5000 (default 6); two event and\n"
    "                    two motion recordings come on top\n"
    "  --time-zone I     the camera's time zone, a position 0 to 33 in the GPS\n"
    "                    page's list (default 15, +01:00)\n"
    "  --summer-time 0|1 summer time on or off (default 1)\n"
    "Faults, for the card check (REC is the n-th recording in time order, from 1,\n"
    "with F or R for its front or rear file; F when left out):\n"
    "  --cut-off REC     cut that file off halfway\n"
    "  --empty REC       leave that file with 0 bytes\n"
    "  --gap S           S seconds without recording after the first continuous\n"
    "                    recording, the car driving on\n"
    "  --clock-offset S  the camera's clock S seconds ahead of GPS (negative: behind)\n"
    "  --wrong-checksum  config.bin with a checksum that does not fit\n";

bool readNumber(const std::string& text, int low, int high, int& value) {
    const char* end = text.data() + text.size();
    auto [stop, error] = std::from_chars(text.data(), end, value);
    return error == std::errc() && stop == end && value >= low && value <= high;
}

bool readSize(const std::string& text, int& width, int& height) {
    const std::size_t cross = text.find('x');
    if (cross == std::string::npos) return false;
    return readNumber(text.substr(0, cross), 16, 7680, width) && readNumber(text.substr(cross + 1), 16, 4320, height) &&
           width % 2 == 0 && height % 2 == 0;
}

// "3", "3F" or "3R".
bool readFileChoice(const std::string& text, zentrova::samplecard::SampleFileChoice& choice) {
    std::string number = text;
    choice.rear = false;
    if (!number.empty() && (number.back() == 'F' || number.back() == 'R')) {
        choice.rear = number.back() == 'R';
        number.pop_back();
    }
    return readNumber(number, 1, 100000, choice.recording);
}

int usageError(const std::string& message) {
    std::cerr << "zentrova-samplecard: " << message << "\n" << kUsage;
    return kExitUsage;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace zentrova::samplecard;
    const std::vector<std::string> args(argv + 1, argv + argc);
    SampleCardOptions options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool hasValue = i + 1 < args.size();
        if (arg == "--help" || arg == "-h") {
            std::cout << kUsage;
            return kExitOk;
        } else if (arg == "--hd") {
            options.width = 1920;
            options.height = 1080;
        } else if (arg == "--size") {
            if (!hasValue || !readSize(args[++i], options.width, options.height)) return usageError("bad --size");
        } else if (arg == "--duration") {
            if (!hasValue || !readNumber(args[++i], 1, 600, options.durationSeconds)) {
                return usageError("bad --duration");
            }
        } else if (arg == "--count") {
            if (!hasValue || !readNumber(args[++i], 1, 5000, options.continuousCount)) return usageError("bad --count");
        } else if (arg == "--time-zone") {
            int zone = 0;
            if (!hasValue || !readNumber(args[++i], 0, 33, zone)) return usageError("bad --time-zone");
            options.timeGmt = zone;
        } else if (arg == "--summer-time") {
            int on = 0;
            if (!hasValue || !readNumber(args[++i], 0, 1, on)) return usageError("bad --summer-time");
            options.summerTime = on == 1;
        } else if (arg == "--cut-off" || arg == "--empty") {
            SampleFileChoice choice;
            if (!hasValue || !readFileChoice(args[++i], choice)) return usageError("bad " + arg);
            (arg == "--cut-off" ? options.faults.cutOff : options.faults.empty) = choice;
        } else if (arg == "--gap") {
            if (!hasValue || !readNumber(args[++i], 1, 86400, options.faults.gapSeconds)) return usageError("bad --gap");
        } else if (arg == "--clock-offset") {
            if (!hasValue || !readNumber(args[++i], -864000, 864000, options.faults.clockOffsetSeconds)) {
                return usageError("bad --clock-offset");
            }
        } else if (arg == "--wrong-checksum") {
            options.faults.wrongChecksum = true;
        } else if (!arg.empty() && arg[0] == '-') {
            return usageError("unknown option " + arg);
        } else if (options.outputDirectory.empty()) {
            options.outputDirectory = arg;
        } else {
            return usageError("only one OUT_DIR");
        }
    }
    if (options.outputDirectory.empty()) return usageError("OUT_DIR is missing");

    const SampleCardResult result = SampleCardGenerator(options).generate();
    if (!result.card) {
        std::cerr << "zentrova-samplecard: " << result.error << "\n";
        return kExitFailed;
    }
    std::size_t files = 0;
    for (const SampleRecording& recording : result.card->recordings) {
        files += (recording.frontPath.empty() ? 0 : 1) + (recording.rearPath.empty() ? 0 : 1);
    }
    std::cout << "Wrote " << result.card->recordings.size() << " recordings (" << files << " files) to "
              << options.outputDirectory << "\n";
    for (const std::string& fault : result.card->faults) std::cout << "  " << fault << "\n";
    return kExitOk;
}
