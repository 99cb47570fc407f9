// Extraction of a 3-minute front file (1800 records) against the floor: a
// plain loop that opens the file and makes every read the extraction asks
// of its byte source, each as a seek and a read, with nothing else. (The
// file reader itself may serve several of those reads from one larger read
// of the file.) Prints both times and the ratio.

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

std::string g_path;
std::vector<Read> g_reads;

void BM_Extraction(benchmark::State& state) {
    ORVBlackBoxData data;
    for (auto _ : state) {
        const bool ok = data.ExtractStreamInformation(g_path);
        benchmark::DoNotOptimize(ok);
        if (!ok || data.m_Times.size() != 1800) state.SkipWithError("extraction failed");
    }
}

// Open, size by seeking to the end (as the file reader does), then every
// read at its position with a seek and a read, then close.
void BM_Floor(benchmark::State& state) {
    std::vector<std::uint8_t> buffer(64 * 1024);
    for (auto _ : state) {
        const int fd = ::open(g_path.c_str(), O_RDONLY | O_CLOEXEC);
        benchmark::DoNotOptimize(::lseek(fd, 0, SEEK_END));
        std::size_t total = 0;
        for (const Read& read : g_reads) {
            ::lseek(fd, static_cast<off_t>(read.offset), SEEK_SET);
            const ssize_t got = ::read(fd, buffer.data(), read.length);
            total += got > 0 ? static_cast<std::size_t>(got) : 0;
        }
        benchmark::DoNotOptimize(total);
        ::close(fd);
    }
}

BENCHMARK(BM_Extraction)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_Floor)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

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
    g_path = (dir / "alwa_20240312_081500_F.MP4").string();
    const test::Bytes bytes = bench::frontFile(1800);
    std::ofstream(g_path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));

    {
        FileByteSource file;
        file.open(g_path);
        RecordingSource recording(file);
        ORVBlackBoxData data;
        data.ExtractStreamInformation(recording);
        g_reads = recording.reads;
    }

    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    std::filesystem::remove_all(dir);

    const double extraction = reporter.medians["BM_Extraction"];
    const double floor = reporter.medians["BM_Floor"];
    if (floor <= 0) return 1;
    std::printf("file: %zu bytes, 1800 records, %zu reads\n", bytes.size(), g_reads.size());
    std::printf("extraction / floor: %.2f (goal at most 2)\n", extraction / floor);
    return 0;
}
