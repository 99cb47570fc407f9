// Extraction of a 3-minute front file (1800 records) against the floor: a
// plain loop that opens the file and makes every read the extraction asks
// of its byte source, each as a seek and a read, with nothing else. (The
// file reader itself may serve several of those reads from one larger read
// of the file.) Two files: chunks back to back, and chunks with video
// between them as the camera writes them, each against the floor of its
// own reads. Prints the times and both ratios.

#include "BenchRecordings.h"

#include "common/Log.h"
#include "telemetry/FileByteSource.h"
#include "telemetry/ORVBlackBoxData.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

namespace {

using namespace zentrova;

struct Read {
    std::uint64_t offset;
    std::size_t length;
};

// Notes every read the extraction makes.
class RecordingSource : public ByteSource {
public:
    explicit RecordingSource(ByteSource& inner) : m_inner(inner) {}
    std::size_t readAt(std::uint64_t offset, std::span<std::uint8_t> out) override {
        reads.push_back({offset, out.size()});
        return m_inner.readAt(offset, out);
    }
    std::uint64_t size() const override { return m_inner.size(); }
    std::vector<Read> reads;

private:
    ByteSource& m_inner;
};

// One front file and the reads its extraction makes.
struct Case {
    const char* name;
    std::size_t gapAfterChunk;
    std::string path;
    std::size_t bytes = 0;
    std::vector<Read> reads;
};

// Chunks back to back, where the file reader reads ahead, and with stand-in
// video between them as the camera writes them, where every chunk is a read
// of its own (the gap is wider than the reader reads past).
Case g_cases[] = {
    {"back to back", 0, {}, 0, {}},
    {"interleaved with video", 20 * 1024, {}, 0, {}},
};

void BM_Extraction(benchmark::State& state, const Case* file) {
    ORVBlackBoxData data;
    for (auto _ : state) {
        const bool ok = data.ExtractStreamInformation(file->path);
        benchmark::DoNotOptimize(ok);
        if (!ok || data.m_Times.size() != 1800) state.SkipWithError("extraction failed");
    }
}

// Open, size by seeking to the end (as the file reader does), then every
// read at its position with a seek and a read, then close.
void BM_Floor(benchmark::State& state, const Case* file) {
    std::vector<std::uint8_t> buffer(64 * 1024);
    for (auto _ : state) {
        const int fd = ::open(file->path.c_str(), O_RDONLY | O_CLOEXEC);
        benchmark::DoNotOptimize(::lseek(fd, 0, SEEK_END));
        std::size_t total = 0;
        for (const Read& read : file->reads) {
            ::lseek(fd, static_cast<off_t>(read.offset), SEEK_SET);
            const ssize_t got = ::read(fd, buffer.data(), read.length);
            total += got > 0 ? static_cast<std::size_t>(got) : 0;
        }
        benchmark::DoNotOptimize(total);
        ::close(fd);
    }
}

void writeFile(Case& file, const std::filesystem::path& dir, int index) {
    file.path = (dir / ("alwa_20240312_08150" + std::to_string(index) + "_F.MP4")).string();
    const test::Bytes bytes = bench::frontFile(1800, 1710231300, file.gapAfterChunk);
    file.bytes = bytes.size();
    std::ofstream(file.path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

void recordReads(Case& file) {
    FileByteSource source;
    source.open(file.path);
    RecordingSource recording(source);
    ORVBlackBoxData data;
    data.ExtractStreamInformation(recording);
    file.reads = recording.reads;
}

std::string extractionName(const Case& file) {
    return std::string("Extraction/") + file.name;
}

std::string floorName(const Case& file) {
    return std::string("Floor/") + file.name;
}

void registerBenchmark(const std::string& name, void (*function)(benchmark::State&, const Case*), const Case& file) {
    benchmark::RegisterBenchmark(name.c_str(), function, &file)
        ->Unit(benchmark::kMicrosecond)
        ->Repetitions(5)
        ->ReportAggregatesOnly(true);
}

// Keeps the median of each benchmark for the ratio.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.aggregate_name == "median") medians[run.run_name.function_name] = run.GetAdjustedRealTime();
        }
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> medians;
};

}  // namespace

int main(int argc, char** argv) {
    setLogSink([](std::string_view) {});
    const auto dir = std::filesystem::temp_directory_path() / ("zentrova-extract-bench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    int index = 0;
    for (Case& file : g_cases) {
        writeFile(file, dir, index++);
        recordReads(file);
        registerBenchmark(extractionName(file), BM_Extraction, file);
        registerBenchmark(floorName(file), BM_Floor, file);
    }

    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    std::filesystem::remove_all(dir);

    bool measured = true;
    for (const Case& file : g_cases) {
        const double extraction = reporter.medians[extractionName(file)];
        const double floor = reporter.medians[floorName(file)];
        if (floor <= 0) {
            measured = false;
            continue;
        }
        std::printf("%s: %zu bytes, 1800 records, %zu reads, floor %.0f us, extraction %.0f us\n", file.name,
                    file.bytes, file.reads.size(), floor, extraction);
        std::printf("  extraction / floor: %.2f (goal at most 2)\n", extraction / floor);
    }
    return measured ? 0 : 1;
}
