// Writes a card of recordings for the benchmarks:
// bench_make_card OUT_DIR COUNT RECORDS_PER_FILE [--pairs]
// Without --pairs: front recordings in ten folders, one minute apart, for
// the export benchmark. With --pairs: the camera's layout for the card
// check, COUNT continuous recordings in Normal/ back to back, each a front
// file with telemetry and a rear file, both with the index of a video as
// long as the front file's records last, and config.bin.

#include "BenchRecordings.h"

#include "settings/FILEDATA.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace {

void writeFile(const std::filesystem::path& path, const zentrova::test::Bytes& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

void writeSettings(const std::filesystem::path& root) {
    zentrova::FILEDATA settings;
    zentrova::resetFileData(settings);
    settings.time_gmt = 14;  // the file names are in UTC, as the fix times
    zentrova::prepareFileDataForWriting(settings);
    const zentrova::FileDataBytes bytes = zentrova::fileDataBytes(settings);
    writeFile(root / "config.bin", zentrova::test::Bytes(bytes.begin(), bytes.end()));
}

}  // namespace

int main(int argc, char** argv) {
    const bool pairs = argc == 5 && std::strcmp(argv[4], "--pairs") == 0;
    if (argc != 4 && !pairs) {
        std::fprintf(stderr, "usage: bench_make_card OUT_DIR COUNT RECORDS_PER_FILE [--pairs]\n");
        return 2;
    }
    const std::filesystem::path root = argv[1];
    const int count = std::atoi(argv[2]);
    const int records = std::atoi(argv[3]);
    const double seconds = records / 10.0;
    if (pairs) {
        std::filesystem::create_directories(root / "Normal");
        writeSettings(root);
    }
    for (int i = 0; i < count; ++i) {
        const unsigned start = 1710230400u + static_cast<unsigned>(i * seconds);
        char name[64];
        if (pairs) {
            const int since = static_cast<int>(i * seconds);
            std::snprintf(name, sizeof name, "alwa_20240312_%02d%02d%02d", 8 + since / 3600, since / 60 % 60, since % 60);
            writeFile(root / "Normal" / (std::string(name) + "_F.MP4"),
                      zentrova::bench::frontFile(records, start, 0, seconds));
            writeFile(root / "Normal" / (std::string(name) + "_R.MP4"), zentrova::bench::rearFile(seconds));
            continue;
        }
        const std::filesystem::path folder = root / "DCIM" / std::to_string(100 + i % 10);
        std::filesystem::create_directories(folder);
        std::snprintf(name, sizeof name, "alwa_20240312_%02d%02d00_F.MP4", 8 + i / 60, i % 60);
        writeFile(folder / name, zentrova::bench::frontFile(records, 1710231300u + 60u * static_cast<unsigned>(i)));
    }
    return 0;
}
