#include "SampleVideoEncoder.h"

#include "ChildProcess.h"

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace zentrova::samplecard {

using tools::ChildProcess;
using tools::ProcessResult;

std::string SampleVideoEncoder::overlayText(const SampleVideo& video) {
    // The clock is the recording's local start plus the frame's time; the
    // strftime form avoids ":" which the expansion would take as a separator.
    return std::string(video.front ? "FRONT" : "REAR") + "  %{pts:gmtime:" +
           std::to_string(video.clockStart.secondsSinceEpoch()) + ":%Y-%m-%d %T}\n+%{pts:hms}";
}

// An option value inside a filter graph is unescaped twice: once as the
// filter's option, once as part of the graph.
std::string SampleVideoEncoder::escapeFilterValue(const std::string& value) {
    auto escape = [](const std::string& text, const std::string& special) {
        std::string out;
        for (char c : text) {
            if (special.find(c) != std::string::npos) out += '\\';
            out += c;
        }
        return out;
    };
    return escape(escape(value, "\\':"), "\\'[],;");
}

std::string SampleVideoEncoder::videoFilter(const SampleVideo& video) {
    const int fontSize = std::max(10, video.height / 13);
    std::string text = "drawtext=textfile=" + escapeFilterValue(video.textFilePath) + ":fontsize=" + std::to_string(fontSize) +
                       ":fontcolor=white:box=1:boxcolor=black@0.6:boxborderw=" + std::to_string(fontSize / 3) +
                       ":line_spacing=" + std::to_string(fontSize / 4) + ":x=(w-tw)/2:y=h-th-" +
                       std::to_string(fontSize);
    if (std::filesystem::exists(kFontFile)) text += std::string(":fontfile=") + escapeFilterValue(kFontFile);
    // The rear picture is the test picture inverted, so the two never look alike.
    return video.front ? text : "negate," + text;
}

std::optional<std::string> SampleVideoEncoder::encode(const SampleVideo& video) {
    {
        std::ofstream textFile(video.textFilePath, std::ios::binary | std::ios::trunc);
        textFile << overlayText(video);
        if (!textFile) return "cannot write " + video.textFilePath;
    }
    const std::string duration = std::to_string(video.durationSeconds);
    const std::string size = std::to_string(video.width) + "x" + std::to_string(video.height);
    std::vector<std::string> arguments{
        "ffmpeg", "-nostdin", "-v", "error", "-y", "-f", "lavfi", "-i",
        "testsrc2=size=" + size + ":rate=25:duration=" + duration};
    if (video.front) {
        arguments.insert(arguments.end(),
                         {"-f", "lavfi", "-i", "sine=frequency=523:beep_factor=2:sample_rate=44100:duration=" + duration});
    }
    arguments.insert(arguments.end(), {"-vf", videoFilter(video), "-c:v", "libx264", "-preset", "veryfast",
                                       "-pix_fmt", "yuv420p", "-g", "25"});
    if (video.front) {
        arguments.insert(arguments.end(), {"-c:a", "aac", "-b:a", "64k"});
    } else {
        arguments.push_back("-an");
    }
    arguments.insert(arguments.end(), {"-t", duration, "-brand", "avc1", "-fflags", "+bitexact", "-map_metadata",
                                       "-1", "-f", "mp4", video.outputPath});
    const ProcessResult run = ChildProcess::run(arguments);
    if (!run.started) return run.errorOutput.empty() ? "cannot start ffmpeg" : run.errorOutput;
    if (run.exitStatus != 0) {
        return "ffmpeg failed (status " + std::to_string(run.exitStatus) + "): " + run.errorOutput;
    }
    return std::nullopt;
}

}  // namespace zentrova::samplecard
