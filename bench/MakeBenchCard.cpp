// Writes a card of front recordings for the export benchmark:
// bench_make_card OUT_DIR COUNT RECORDS_PER_FILE
// Ten folders, one-minute recordings in time order.

#include "BenchRecordings.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: bench_make_card OUT_DIR COUNT RECORDS_PER_FILE\n");
        return 2;
    }
    const std::filesystem::path root = argv[1];
    const int count = std::atoi(argv[2]);
    const int records = std::atoi(argv[3]);
    for (int i = 0; i < count; ++i) {
        const std::filesystem::path folder = root / "DCIM" / std::to_string(100 + i % 10);
        std::filesystem::create_directories(folder);
        char name[64];
        std::snprintf(name, sizeof name, "alwa_20240312_%02d%02d00_F.MP4", 8 + i / 60, i % 60);
        const auto bytes = zentrova::bench::frontFile(records, 1710231300u + 60u * static_cast<unsigned>(i));
        std::ofstream(folder / name, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    return 0;
}
