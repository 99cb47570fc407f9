// Writes the fuzzers' seed corpus, crafted in the camera's layout: one
// folder under OUT_DIR for each fuzz target.
#include "records/DrvFileBuilder.h"
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

// The sparse walk's inputs: a flag byte, the file's size in KiB, the bytes.
Bytes sparseInput(bool repeated, std::uint32_t kib, const Bytes& head) {
    Bytes input{static_cast<std::uint8_t>(repeated ? 1 : 0)};
    zentrova::test::appendLittleEndian32(input, kib);
    input.insert(input.end(), head.begin(), head.end());
    return input;
}

void writeSparseBoxWalkSeeds(const std::filesystem::path& dir) {
    constexpr std::uint32_t kEightGiBInKiB = 8u << 20;
    Mp4TelemetryBuilder camera;
    camera.records = drive();
    write(dir / "plain.bin", sparseInput(false, 0, camera.build().bytes));

    Mp4TelemetryBuilder huge = camera;
    huge.entryCount = 4294967295u;
    write(dir / "huge_count_8GiB_hole.bin", sparseInput(false, kEightGiBInKiB, huge.build().bytes));
    write(dir / "huge_count_64MiB_repeated.bin", sparseInput(true, 64u << 10, huge.build().bytes));
    huge.tableBoxSize = 4294967295u;
    write(dir / "huge_box_8GiB_hole.bin", sparseInput(false, kEightGiBInKiB, huge.build().bytes));
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

void put32(Bytes& bytes, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value >> (8 * i));
}

// config.bin: a record with numbers, a plate and a network name set, the
// same with every byte 0xFF, and files a byte short and a byte long.
void writeSettingsSeeds(const std::filesystem::path& dir) {
    Bytes record(500, 0);
    put32(record, 0, 0x0000'0103);
    put32(record, 8, 40);
    put32(record, 88, 0xFFFFFFF6);
    put32(record, 168, 9);
    const std::string plate = "12AB3456";
    std::copy(plate.begin(), plate.end(), record.begin() + 256);
    const std::string ssid = "ZENTROVA_CAM";
    std::copy(ssid.begin(), ssid.end(), record.begin() + 356);
    write(dir / "record.bin", record);
    write(dir / "all_ff.bin", Bytes(500, 0xFF));
    write(dir / "short.bin", Bytes(record.begin(), record.end() - 1));
    Bytes longer = record;
    longer.push_back(0);
    write(dir / "long.bin", longer);
    write(dir / "number_text.bin", textBytes(" -1.25e-1x"));
}

// Drive logs, each after the byte that chooses a hole (0: none; 0xFD: 8 GiB).
void writeDriveLogSeeds(const std::filesystem::path& dir) {
    auto input = [](std::uint8_t hole, const std::string& file) {
        Bytes bytes{hole};
        bytes.insert(bytes.end(), file.begin(), file.end());
        return bytes;
    };
    zentrova::test::DrvRecordBytes second = zentrova::test::sampleDrvRecord(2);
    second.s16(32, -64).s16(38, -5).u8(2, 9).u8(3, 0);
    const std::string two = zentrova::test::sampleDrvRecord(1).bytes + second.bytes;
    write(dir / "two_records.bin", input(0, zentrova::test::drvFileBytes(2, two)));
    write(dir / "count_beyond_the_file.bin", input(0, zentrova::test::drvFileBytes(0xFFFFFFFFu, two)));
    write(dir / "huge_count_8GiB_hole.bin", input(0xFD, zentrova::test::drvFileBytes(0xFFFFFFFFu, two)));
    write(dir / "header_only.bin", input(0, zentrova::test::drvFileBytes(3, "")));
}

void writeRecordingNameSeeds(const std::filesystem::path& dir) {
    const std::vector<std::pair<std::string, std::string>> names = {
        {"front_and_rear", std::string("/media/card/Normal/alwa_20190312_081500_F.MP4") + '\0' +
                               "/media/card/Normal/alwa_20190312_081500_R.MP4"},
        {"event_lower_extension", "Event/event_20190312_081500_R.mp4"},
        {"motion_bad_month", "motion_20191301_081500_F.MP4"},
        {"short_name", "./card/../alwa_2019031_081500_F.MP4"},
        {"no_prefix", "xxxxxx_20190312_081500_F"},
        {"separator_not_looked_at", "alwa_20190312x081500_F.MP4"},
        {"blanks_and_signs", std::string("alwa_ 019+3 1 08 5 0_r.Mp4") + '\0' + "file:///card/alwa_20190312_081500_f.mp4"},
        {"trailing_slash_and_dots", "//card/./Motion//motion_27001231_246060_F.MP4/"},
    };
    for (const auto& [name, text] : names) write(dir / name, textBytes(text));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: fuzz_make_seeds OUT_DIR\n";
        return 2;
    }
    const std::filesystem::path out = argv[1];
    std::error_code ec;
    for (const char* sub :
         {"box_walk", "box_walk_sparse", "nmea", "records", "settings", "drive_log", "recording_names"}) {
        std::filesystem::create_directories(out / sub, ec);
        if (ec) {
            std::cerr << "fuzz_make_seeds: cannot create " << (out / sub).string() << ": " << ec.message() << '\n';
            return 1;
        }
    }
    writeBoxWalkSeeds(out / "box_walk");
    writeSparseBoxWalkSeeds(out / "box_walk_sparse");
    writeNmeaSeeds(out / "nmea");
    writeRecordSeeds(out / "records");
    writeSettingsSeeds(out / "settings");
    writeDriveLogSeeds(out / "drive_log");
    writeRecordingNameSeeds(out / "recording_names");
    return 0;
}
