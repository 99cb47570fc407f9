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
    "Usage: zentrova-samplecard [--hd] [--size WxH] [--duration SECONDS] [--count N] OUT_DIR\n"
    "Writes a sample card into OUT_DIR: continuous, motion and event recordings\n"
    "(front files with telemetry and sound, silent rear files), config.bin,\n"
    "timeset.cfg and DrvInfo/zentrova_000.drv. Needs ffmpeg on PATH.\n"
    "  --hd              1920x1080 video (default 320x180)\n"
    "  --size WxH        any other frame size (even numbers)\n"
    "  --duration S      seconds per recording, 1 to 600 (default 8)\n"
    "  --count N         continuous recordings, 1 to 5000 (default 6); two event and\n"
    "                    two motion recordings come on top\n";

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
    return kExitOk;
}
