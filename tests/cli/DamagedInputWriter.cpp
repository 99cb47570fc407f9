// Writes the damaged and oversized inputs that the command-line limits test
// feeds to zentrova-cli. Files are grown to their size with a hole, so an
// 8 GiB file takes a few kilobytes of disk.
//
//   damaged_input_writer telemetry OUT SIZE [--count N] [--box-size N] [--fill]
//       a front recording in the camera's layout, chunks after moov, whose
//       chunk-offset table says N entries (default 4294967295) in a box of
//       the given size (default its true one); --fill writes the first
//       chunk's offset over and over up to SIZE instead of leaving a hole
//   damaged_input_writer drv OUT SIZE [--count N]
//       a drive log whose header promises N records (default 4294967295)
#include "records/DrvFileBuilder.h"
#include "support/Mp4TelemetryBuilder.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

namespace {
using zentrova::test::Bytes;
using zentrova::test::Mp4TelemetryBuilder;

struct Options {
    std::string kind;
    std::string out;
    std::uint64_t size = 0;
    std::uint32_t count = 4294967295u;
    std::optional<std::uint32_t> boxSize;
    bool fill = false;
};

std::optional<std::uint64_t> number(const std::string& text) {
    if (text.empty()) return std::nullopt;
    char* end = nullptr;
    const unsigned long long value = std::strtoull(text.c_str(), &end, 0);
    if (*end != '\0') return std::nullopt;
    return value;
}

std::optional<Options> parse(int argc, char** argv) {
    if (argc < 4) return std::nullopt;
    Options options;
    options.kind = argv[1];
    options.out = argv[2];
    const auto size = number(argv[3]);
    if (!size) return std::nullopt;
    options.size = *size;
    for (int i = 4; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--fill") {
            options.fill = true;
            continue;
        }
        if (i + 1 >= argc) return std::nullopt;
        const auto value = number(argv[++i]);
        if (!value || *value > 0xFFFFFFFFu) return std::nullopt;
        if (arg == "--count") {
            options.count = static_cast<std::uint32_t>(*value);
        } else if (arg == "--box-size") {
            options.boxSize = static_cast<std::uint32_t>(*value);
        } else {
            return std::nullopt;
        }
    }
    return options;
}

Bytes telemetryHead(const Options& options, std::uint32_t& firstChunk) {
    Mp4TelemetryBuilder builder;
    builder.entryCount = options.count;
    builder.tableBoxSize = options.boxSize;
    for (std::uint32_t i = 0; i < 3; ++i) {
        builder.records.push_back({1552378500 + i, 0, 256, -256, 0, 0, '9',
                                   "$GPRMC,123519.000,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W*6A\r\n"
                                   "$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9*47\r\n",
                                   0});
    }
    auto built = builder.build();
    firstChunk = built.chunkOffsets.front();
    // Whatever follows is read as table entries by a walk that runs on past
    // its box: keep them in step with the table.
    while ((built.bytes.size() - built.headerEnd) % 4 != 0) built.bytes.push_back(0);
    return built.bytes;
}

bool writeFile(const Options& options, const Bytes& head, std::optional<std::uint32_t> fillOffset) {
    std::ofstream out(options.out, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(head.data()), static_cast<std::streamsize>(head.size()));
    if (fillOffset) {
        const char entry[4] = {static_cast<char>(*fillOffset >> 24), static_cast<char>(*fillOffset >> 16),
                               static_cast<char>(*fillOffset >> 8), static_cast<char>(*fillOffset)};
        const std::vector<char> block = [&] {
            std::vector<char> bytes;
            for (int i = 0; i < 16384; ++i) bytes.insert(bytes.end(), entry, entry + 4);
            return bytes;
        }();
        for (std::uint64_t at = head.size(); at < options.size;) {
            const std::uint64_t n = std::min<std::uint64_t>(block.size(), options.size - at);
            out.write(block.data(), static_cast<std::streamsize>(n));
            at += n;
        }
    }
    out.close();
    if (!out) return false;
    std::error_code ec;
    if (options.size > head.size()) std::filesystem::resize_file(options.out, options.size, ec);
    return !ec;
}

}  // namespace

int main(int argc, char** argv) {
    const auto options = parse(argc, argv);
    if (!options || (options->kind != "telemetry" && options->kind != "drv")) {
        std::cerr << "usage: damaged_input_writer telemetry|drv OUT SIZE [--count N] [--box-size N] [--fill]\n";
        return 2;
    }
    bool written = false;
    if (options->kind == "telemetry") {
        std::uint32_t firstChunk = 0;
        const Bytes head = telemetryHead(*options, firstChunk);
        written = writeFile(*options, head, options->fill ? std::optional(firstChunk) : std::nullopt);
    } else {
        const std::string text = zentrova::test::drvFileBytes(options->count, zentrova::test::sampleDrvRecord(1).bytes);
        written = writeFile(*options, Bytes(text.begin(), text.end()), std::nullopt);
    }
    if (!written) {
        std::cerr << "damaged_input_writer: cannot write " << options->out << '\n';
        return 1;
    }
    return 0;
}
