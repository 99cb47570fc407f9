// Writes the fuzzers' seed corpus, crafted in the camera's layout:
// OUT_DIR/box_walk, OUT_DIR/nmea and OUT_DIR/records.
#include "support/Mp4TelemetryBuilder.h"

#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

namespace {
using zentrova::test::Bytes;
using zentrova::test::Mp4TelemetryBuilder;
using zentrova::test::TelemetryRecord;

const std::string kRmc = "$GPRMC,123519.000,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W*6A";
const std::string kGga = "$GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9*47";
const std::string kGsaGps = "$GNGSA,A,3,03,07,19,,,,,,,,,,1.8,1.0,1.5*00";
const std::string kGsaGlonass = "$GNGSA,A,3,70,71,,,,,,,,,,,1.8,1.0,1.5*00";
const std::string kGns = "$GNGNS,123519.00,4807.038,N,01131.000,E,AA,10,1.2,545.4,46.9,,*00";
const std::string kGsv = "$GPGSV,3,1,11,03,03,111,40,04,15,270,41,06,01,010,42,13,06,292,43*74";

void write(const std::filesystem::path& file, const Bytes& bytes) {
    std::ofstream(file, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                static_cast<std::streamsize>(bytes.size()));
}

Bytes textBytes(const std::string& text) {
    return Bytes(text.begin(), text.end());
}

std::vector<TelemetryRecord> drive() {
    return {
        {1552378500, 0, -256, 384, 1, 0, '9', kRmc + "\r\n" + kGga + "\r\n", 0},
        {1552378501, 0, 2147483647, -1, 0, 0, '9', kGsaGps + "\r\n" + kGsaGlonass + "\r\n", 0},
        {1552378502, 0, 0, 0, 256, 0, '1', kGns + "\n" + kGga + "\n", 0},
        {1552378503, 0, 12, -12, 255, 0, '9', "$GPRMC,123519.00,V,,,,,,,230394,,*00", 0},
    };
}

void writeBoxWalkSeeds(const std::filesystem::path& dir) {
    Mp4TelemetryBuilder camera;
    camera.chunksBeforeMoov = true;
    camera.records = drive();
    write(dir / "camera_order.mp4", camera.build().bytes);

    Mp4TelemetryBuilder after = camera;
    after.chunksBeforeMoov = false;
    after.reverseChunks = true;
    write(dir / "chunks_after_moov.mp4", after.build().bytes);

    Mp4TelemetryBuilder empty;
    write(dir / "empty_table.mp4", empty.build().bytes);

    Mp4TelemetryBuilder huge = camera;
    huge.entryCount = 4294967295u;
    huge.extraChunkOffsets = {0xFFFFFFF0u, 0};
    write(dir / "huge_count.mp4", huge.build().bytes);
}

void writeNmeaSeeds(const std::filesystem::path& dir) {
    const std::vector<std::pair<std::string, std::string>> texts = {
        {"rmc_gga", kRmc + "\r\n" + kGga + "\r\n"},
        {"gsa_pair", kGsaGps + "\r\n" + kGsaGlonass + "\r\n"},
        {"gns", kGns + "\r\n" + kGga + "\n"},
        {"gsv", kGsv},
        {"unterminated", kRmc},
        {"nul_split", kRmc + std::string(1, '\0') + kGga + std::string(1, '\0')},
    };
    for (const auto& [name, text] : texts) write(dir / name, textBytes(text));
}

void writeRecordSeeds(const std::filesystem::path& dir) {
    Bytes times;
    const std::uint32_t types[] = {0, 2, 2, 0, 1};
    for (std::uint32_t i = 0; i < 5; ++i) {
        zentrova::test::appendLittleEndian32(times, 1234567890 + i);
        times.resize(times.size() + 8, 0);
        zentrova::test::appendBigEndian32(times, types[i]);
    }
    write(dir / "time_events", times);
    write(dir / "frame_data", Bytes{1, 2, 3, 4, 5, 6, 7, 8});
    Bytes gsensor;
    for (std::uint32_t v : {256u, 0xFFFFFF80u, 1u, 0u}) zentrova::test::appendLittleEndian32(gsensor, v);
    write(dir / "gsensor", gsensor);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: fuzz_make_seeds OUT_DIR\n";
        return 2;
    }
    const std::filesystem::path out = argv[1];
    std::error_code ec;
    for (const char* sub : {"box_walk", "nmea", "records"}) {
        std::filesystem::create_directories(out / sub, ec);
        if (ec) {
            std::cerr << "fuzz_make_seeds: cannot create " << (out / sub).string() << ": " << ec.message() << '\n';
            return 1;
        }
    }
    writeBoxWalkSeeds(out / "box_walk");
    writeNmeaSeeds(out / "nmea");
    writeRecordSeeds(out / "records");
    return 0;
}
