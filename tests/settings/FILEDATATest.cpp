#include "settings/FILEDATA.h"
#include "settings/FileDataField.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <set>
#include <string>
#include <vector>

namespace zentrova {
namespace {

// A byte pattern with no short period, so a field at a wrong offset or with a
// wrong width reads different bytes.
FileDataBytes patternBytes() {
    FileDataBytes bytes;
    for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<std::uint8_t>((i * 131 + 7) % 251);
    return bytes;
}

std::uint64_t littleEndianAt(const FileDataBytes& bytes, std::size_t offset, std::size_t size) {
    std::uint64_t value = 0;
    for (std::size_t b = 0; b < size; ++b) value |= std::uint64_t{bytes[offset + b]} << (8 * b);
    return value;
}

template <typename T>
void assignFrom(T& member, const FileDataBytes& bytes, std::size_t offset) {
    member = static_cast<T>(littleEndianAt(bytes, offset, sizeof(T)));
}
template <typename T, std::size_t N>
void assignFrom(T (&member)[N], const FileDataBytes& bytes, std::size_t offset) {
    for (std::size_t i = 0; i < N; ++i) assignFrom(member[i], bytes, offset + i * sizeof(T));
}
template <typename T>
bool holds(const T& member, const FileDataBytes& bytes, std::size_t offset) {
    return member == static_cast<T>(littleEndianAt(bytes, offset, sizeof(T)));
}
template <typename T, std::size_t N>
bool holds(const T (&member)[N], const FileDataBytes& bytes, std::size_t offset) {
    for (std::size_t i = 0; i < N; ++i) {
        if (!holds(member[i], bytes, offset + i * sizeof(T))) return false;
    }
    return true;
}

struct LayoutRow {
    const char* name;
    std::size_t offset;
    std::size_t size;
    std::function<void(FILEDATA&, const FileDataBytes&)> assign;
    std::function<bool(const FILEDATA&, const FileDataBytes&)> check;
};

#define ZENTROVA_LAYOUT(member, offset, size)                                                                 \
    LayoutRow {                                                                                               \
        #member, offset, size, [](FILEDATA& r, const FileDataBytes& b) { assignFrom(r.member, b, offset); }, \
            [](const FILEDATA& r, const FileDataBytes& b) { return holds(r.member, b, offset); }             \
    }

// The file layout of the camera, field by field.
const std::vector<LayoutRow> kLayout = {
    ZENTROVA_LAYOUT(cfg_ver, 0, 2),
    ZENTROVA_LAYOUT(checksum, 2, 2),
    ZENTROVA_LAYOUT(disp_segment_mode, 4, 4),
    ZENTROVA_LAYOUT(sd_mem_always_ratio, 8, 4),
    ZENTROVA_LAYOUT(sd_mem_event_ratio, 12, 4),
    ZENTROVA_LAYOUT(sd_mem_motion_ratio, 16, 4),
    ZENTROVA_LAYOUT(sd_mem_always_reserved, 20, 4),
    ZENTROVA_LAYOUT(sd_mem_event_reserved, 24, 4),
    ZENTROVA_LAYOUT(sd_mem_motion_reserved, 28, 4),
    ZENTROVA_LAYOUT(aud_enable, 32, 4),
    ZENTROVA_LAYOUT(aud_codec_type, 36, 4),
    ZENTROVA_LAYOUT(aud_sampling_freq, 40, 4),
    ZENTROVA_LAYOUT(aud_bitrate, 44, 4),
    ZENTROVA_LAYOUT(aud_input_vol, 48, 4),
    ZENTROVA_LAYOUT(aud_output_vol, 52, 4),
    ZENTROVA_LAYOUT(vid_enc_res, 56, 4),
    ZENTROVA_LAYOUT(vid_enc_bitrate, 60, 4),
    ZENTROVA_LAYOUT(vid_framerate, 64, 4),
    ZENTROVA_LAYOUT(vid_brightness, 68, 4),
    ZENTROVA_LAYOUT(vid_contrast, 72, 4),
    ZENTROVA_LAYOUT(vid_saturation, 76, 4),
    ZENTROVA_LAYOUT(vid_sharpness, 80, 4),
    ZENTROVA_LAYOUT(vid_hue, 84, 4),
    ZENTROVA_LAYOUT(gsen_x_threshold, 88, 4),
    ZENTROVA_LAYOUT(gsen_y_threshold, 92, 4),
    ZENTROVA_LAYOUT(gsen_z_threshold, 96, 4),
    ZENTROVA_LAYOUT(always_mode_timeout, 100, 4),
    ZENTROVA_LAYOUT(parkmode_x_threshold, 104, 4),
    ZENTROVA_LAYOUT(parkmode_y_threshold, 108, 4),
    ZENTROVA_LAYOUT(parkmode_z_threshold, 112, 4),
    ZENTROVA_LAYOUT(motion1080pCValue, 116, 4),
    ZENTROVA_LAYOUT(motion720pCValue, 120, 4),
    ZENTROVA_LAYOUT(motionBlock, 124, 4),
    ZENTROVA_LAYOUT(high_temp_threshold, 128, 4),
    ZENTROVA_LAYOUT(high_temp_duration, 132, 4),
    ZENTROVA_LAYOUT(safe_temp_threshold, 136, 4),
    ZENTROVA_LAYOUT(safe_temp_duration, 140, 4),
    ZENTROVA_LAYOUT(composite_mode, 144, 4),
    ZENTROVA_LAYOUT(osd_option, 148, 4),
    ZENTROVA_LAYOUT(osd_speed_flag, 152, 4),
    ZENTROVA_LAYOUT(osd_plate_flag, 156, 4),
    ZENTROVA_LAYOUT(plate_number, 160, 4),
    ZENTROVA_LAYOUT(speed_disp_unit, 164, 4),
    ZENTROVA_LAYOUT(time_gmt, 168, 4),
    ZENTROVA_LAYOUT(summer_time, 172, 4),
    ZENTROVA_LAYOUT(nodriving_day, 176, 4),
    ZENTROVA_LAYOUT(auto_drive_in_mode_on, 180, 4),
    ZENTROVA_LAYOUT(auto_park_in_mode_on, 184, 4),
    ZENTROVA_LAYOUT(motion_detect_mode_on, 188, 4),
    ZENTROVA_LAYOUT(event_only_mode_on, 192, 4),
    ZENTROVA_LAYOUT(g_sensor_enable, 196, 4),
    ZENTROVA_LAYOUT(audio_mux_enable, 200, 4),
    ZENTROVA_LAYOUT(safe_temp_mode_on, 204, 4),
    ZENTROVA_LAYOUT(alarm_ontime_flag, 208, 4),
    ZENTROVA_LAYOUT(voiceEnable, 212, 4),
    ZENTROVA_LAYOUT(drivingSecurity, 216, 4),
    ZENTROVA_LAYOUT(parkingSecurity, 220, 4),
    ZENTROVA_LAYOUT(SaveDuration, 224, 4),
    ZENTROVA_LAYOUT(MemConfig, 228, 4),
    ZENTROVA_LAYOUT(BrightnessFixed, 232, 4),
    ZENTROVA_LAYOUT(DayTime, 236, 4),
    ZENTROVA_LAYOUT(NightTime, 240, 4),
    ZENTROVA_LAYOUT(Brightness1, 244, 4),
    ZENTROVA_LAYOUT(ledoff, 248, 4),
    ZENTROVA_LAYOUT(Gamma, 252, 4),
    ZENTROVA_LAYOUT(szPlateNumber, 256, 8),
    ZENTROVA_LAYOUT(vid_enc_bitrate_R, 264, 4),
    ZENTROVA_LAYOUT(vid_brightness_R, 268, 4),
    ZENTROVA_LAYOUT(vid_sharpness_R, 272, 4),
    ZENTROVA_LAYOUT(lcd_autopoweroff, 276, 4),
    ZENTROVA_LAYOUT(lcd_brightness, 280, 4),
    ZENTROVA_LAYOUT(lcd_screensaver, 284, 4),
    ZENTROVA_LAYOUT(parking_rear_off, 288, 4),
    ZENTROVA_LAYOUT(sd2_mem_always_ratio, 292, 4),
    ZENTROVA_LAYOUT(sd2_mem_event_ratio, 296, 4),
    ZENTROVA_LAYOUT(sd2_mem_motion_ratio, 300, 4),
    ZENTROVA_LAYOUT(flip_video, 304, 4),
    ZENTROVA_LAYOUT(parking_alarm, 308, 4),
    ZENTROVA_LAYOUT(rear_fps, 312, 4),
    ZENTROVA_LAYOUT(motion_zone, 316, 4),
    ZENTROVA_LAYOUT(motionBlock_Rear, 320, 4),
    ZENTROVA_LAYOUT(ledoff_rear, 324, 4),
    ZENTROVA_LAYOUT(always_mode_recording_time, 328, 4),
    ZENTROVA_LAYOUT(pip_position, 332, 4),
    ZENTROVA_LAYOUT(always_motion, 336, 4),
    ZENTROVA_LAYOUT(lcd_brightness_night, 340, 4),
    ZENTROVA_LAYOUT(size_rear, 344, 4),
    ZENTROVA_LAYOUT(front_cpl_use, 348, 4),
    ZENTROVA_LAYOUT(rear_cpl_use, 352, 4),
    ZENTROVA_LAYOUT(wifi_ssid, 356, 16),
    ZENTROVA_LAYOUT(wifi_password, 372, 16),
    ZENTROVA_LAYOUT(CableVoltCorr, 388, 4),
    ZENTROVA_LAYOUT(autoFormatAlarm, 392, 4),
    ZENTROVA_LAYOUT(ADAS_Car, 396, 1),
    ZENTROVA_LAYOUT(ADAS_Ldws_Speed, 397, 1),
    ZENTROVA_LAYOUT(ADAS_FCWS_Speed, 398, 1),
    ZENTROVA_LAYOUT(ADAS_FCMD_Enable, 399, 1),
    ZENTROVA_LAYOUT(ADAS_LDWS_Sens, 400, 1),
    ZENTROVA_LAYOUT(ADAS_FCWS_Sens, 401, 1),
    ZENTROVA_LAYOUT(ADAS_FCMD_Sens, 402, 1),
    ZENTROVA_LAYOUT(dummy1, 403, 1),
    ZENTROVA_LAYOUT(vide_wdr_enable, 404, 4),
    ZENTROVA_LAYOUT(ParkingMode, 408, 4),
    ZENTROVA_LAYOUT(En_SuperNightVision, 412, 4),
    ZENTROVA_LAYOUT(wifi_channel, 416, 4),
    ZENTROVA_LAYOUT(dummy00, 420, 76),
    ZENTROVA_LAYOUT(debug_mode, 496, 4),
};

TEST(FILEDATATest, EveryFieldWritesItsBytesAtItsOffset) {
    ASSERT_EQ(kLayout.size(), 107u);
    const FileDataBytes pattern = patternBytes();
    FILEDATA record{};
    for (const LayoutRow& row : kLayout) row.assign(record, pattern);
    EXPECT_EQ(fileDataBytes(record), pattern);
}

TEST(FILEDATATest, EveryFieldReadsItsBytesFromItsOffset) {
    const FILEDATA record = fileDataFromBytes(patternBytes());
    for (const LayoutRow& row : kLayout) EXPECT_TRUE(row.check(record, patternBytes())) << row.name;
}

TEST(FILEDATATest, FieldTableMatchesTheLayout) {
    auto fields = fileDataFields();
    ASSERT_EQ(fields.size(), kLayout.size());
    for (std::size_t i = 0; i < fields.size(); ++i) {
        SCOPED_TRACE(kLayout[i].name);
        EXPECT_EQ(fields[i].name, kLayout[i].name);
        EXPECT_EQ(fields[i].offset, kLayout[i].offset);
        EXPECT_EQ(fields[i].size(), kLayout[i].size);
        EXPECT_EQ(findFileDataField(kLayout[i].name), &fields[i]);
    }
}

TEST(FILEDATATest, KindOfEveryField) {
    const std::set<std::string_view> signedFields = {
        "gsen_x_threshold",    "gsen_y_threshold", "gsen_z_threshold", "parkmode_x_threshold",
        "parkmode_y_threshold", "parkmode_z_threshold", "high_temp_threshold", "safe_temp_threshold",
        "osd_speed_flag",      "osd_plate_flag",   "time_gmt"};
    const std::set<std::string_view> texts = {"szPlateNumber", "wifi_ssid", "wifi_password"};
    for (const FileDataField& field : fileDataFields()) {
        FieldKind expected = signedFields.count(field.name) ? FieldKind::Signed
                             : texts.count(field.name)      ? FieldKind::Text
                                                            : FieldKind::Unsigned;
        EXPECT_EQ(field.kind, expected) << field.name;
    }
}

TEST(FILEDATATest, SignedFieldsAreSignExtendedAndTextsAreBytes) {
    FileDataBytes allOnes;
    allOnes.fill(0xFF);
    const FILEDATA record = fileDataFromBytes(allOnes);
    struct Case {
        const char* name;
        std::int64_t value;
    } cases[] = {
        {"cfg_ver", 65535},         {"gsen_x_threshold", -1},        {"time_gmt", -1},
        {"aud_enable", 4294967295}, {"ADAS_Car", 255},               {"szPlateNumber", 255},
        {"dummy00", 4294967295},    {"high_temp_threshold", -1},     {"osd_plate_flag", -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const FileDataField* field = findFileDataField(c.name);
        ASSERT_NE(field, nullptr);
        EXPECT_EQ(fieldElement(record, *field, field->elementCount - 1), c.value);
    }
    EXPECT_EQ(record.gsen_x_threshold, -1);
}

TEST(FILEDATATest, PagesOfFields) {
    struct Case {
        const char* name;
        const char* pages;
    } cases[] = {
        {"cfg_ver", "-"},          {"checksum", "save"},  {"osd_plate_flag", "save"},
        {"gsen_x_threshold", "basic"}, {"En_SuperNightVision", "video+motion"}, {"Gamma", "system"},
        {"Brightness1", "audio"},  {"time_gmt", "gps"},   {"ADAS_Car", "adas"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(settingsPagesName(findFileDataField(c.name)->pages), c.pages) << c.name;
    }
}

struct ResetValue {
    std::size_t offset;
    std::size_t size;
    std::uint32_t value;
};

// Every non-zero number of the factory record.
constexpr ResetValue kResetValues[] = {
    {0, 2, 22310}, {4, 4, 1}, {8, 4, 70}, {12, 4, 10}, {16, 4, 20},
    {20, 4, 12000}, {32, 4, 3}, {40, 4, 1}, {44, 4, 1}, {48, 4, 3},
    {52, 4, 2}, {60, 4, 1}, {68, 4, 2}, {72, 4, 2}, {76, 4, 128},
    {80, 4, 2}, {84, 4, 2}, {88, 4, 50}, {92, 4, 45}, {96, 4, 45},
    {100, 4, 10}, {104, 4, 8}, {108, 4, 8}, {112, 4, 8}, {116, 4, 3},
    {120, 4, 3}, {124, 4, 96}, {128, 4, 97}, {132, 4, 3600}, {136, 4, 92},
    {140, 4, 60}, {148, 4, 1}, {152, 4, 1}, {168, 4, 28}, {180, 4, 1},
    {184, 4, 1}, {188, 4, 1}, {196, 4, 1}, {200, 4, 1}, {204, 4, 1},
    {208, 4, 1}, {212, 4, 1}, {216, 4, 60}, {220, 4, 20}, {224, 4, 7},
    {228, 4, 176}, {232, 4, 3000}, {236, 4, 1}, {244, 4, 1}, {264, 4, 1},
    {268, 4, 2}, {272, 4, 2}, {276, 4, 2}, {280, 4, 1}, {292, 4, 1},
    {296, 4, 98}, {300, 4, 1}, {308, 4, 1}, {320, 4, 96}, {328, 4, 1},
    {340, 4, 1}, {388, 4, 4}, {392, 4, 2}, {397, 1, 30}, {398, 1, 30},
    {399, 1, 1}, {400, 1, 2}, {401, 1, 2}, {402, 1, 2}, {404, 4, 1},
    {496, 4, 1},
};

TEST(FILEDATATest, ResetBytes) {
    FileDataBytes expected{};
    for (const ResetValue& v : kResetValues) {
        for (std::size_t b = 0; b < v.size; ++b) expected[v.offset + b] = static_cast<std::uint8_t>(v.value >> (8 * b));
    }
    std::memcpy(&expected[256], "Zentrova", 8);
    std::memcpy(&expected[356], "Zentrova", 8);
    std::memcpy(&expected[372], "48203517", 8);

    FILEDATA record;
    std::memset(&record, 0xA5, sizeof record);
    resetFileData(record);
    const FileDataBytes bytes = fileDataBytes(record);
    EXPECT_EQ(bytes, expected);
    EXPECT_EQ(bytes[0], 0x26);
    EXPECT_EQ(bytes[1], 0x57);
    EXPECT_EQ(record.checksum, 0);
    EXPECT_EQ(record.debug_mode, 1u);
}

FILEDATA zeroRecord() { return fileDataFromBytes(FileDataBytes{}); }

TEST(FILEDATATest, ChecksumOfZerosIsZero) { EXPECT_EQ(fileDataChecksum(zeroRecord()), 0); }

TEST(FILEDATATest, ChecksumExample) {
    FILEDATA record = zeroRecord();
    record.disp_segment_mode = 0x00010002;
    record.sd_mem_always_ratio = 0x00000003;
    EXPECT_EQ(fileDataChecksum(record), 0x0001);
}

TEST(FILEDATATest, ChecksumLeavesOutTheFirstWord) {
    FILEDATA record;
    resetFileData(record);
    const std::uint16_t sum = fileDataChecksum(record);
    record.cfg_ver = 1234;
    record.checksum = 0xBEEF;
    EXPECT_EQ(fileDataChecksum(record), sum);
}

TEST(FILEDATATest, ChecksumDropsEveryUpperHalfAndTakesEveryLowerHalf) {
    FILEDATA base;
    resetFileData(base);
    const std::uint16_t sum = fileDataChecksum(base);
    for (std::size_t offset = 4; offset < kFileDataSize; offset += 4) {
        SCOPED_TRACE(offset);
        FileDataBytes bytes = fileDataBytes(base);
        bytes[offset + 2] ^= 0x5A;
        bytes[offset + 3] ^= 0xC3;
        EXPECT_EQ(fileDataChecksum(fileDataFromBytes(bytes)), sum);
        bytes = fileDataBytes(base);
        bytes[offset] ^= 0x21;
        bytes[offset + 1] ^= 0x80;
        EXPECT_EQ(fileDataChecksum(fileDataFromBytes(bytes)), sum ^ 0x8021);
    }
}

TEST(FILEDATATest, ChecksumIncludesDebugMode) {
    FILEDATA record = zeroRecord();
    record.debug_mode = 0x7;
    EXPECT_EQ(fileDataChecksum(record), 0x7);
}

TEST(FILEDATATest, PreparingAFullPlateNumberSetsTheFlagBeforeTheChecksum) {
    FILEDATA record;
    resetFileData(record);
    std::memcpy(record.szPlateNumber, "AB123456", 8);
    record.checksum = 0x1111;
    prepareFileDataForWriting(record);
    EXPECT_EQ(record.osd_plate_flag, 1);
    const FileDataBytes bytes = fileDataBytes(record);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&bytes[256]), 8), "AB123456");
    EXPECT_EQ(bytes[264], 1) << "vid_enc_bitrate_R follows the plate with no terminator";
    std::uint16_t expected = 0;
    for (std::size_t offset = 4; offset < kFileDataSize; offset += 4) {
        expected ^= static_cast<std::uint16_t>(bytes[offset] | bytes[offset + 1] << 8);
    }
    EXPECT_EQ(record.checksum, expected);
    EXPECT_EQ(bytes[2] | bytes[3] << 8, expected);
}

TEST(FILEDATATest, PreparingAnEmptyPlateNumberClearsTheFlag) {
    FILEDATA record;
    resetFileData(record);
    record.osd_plate_flag = 1;
    std::memset(record.szPlateNumber, 0, sizeof record.szPlateNumber);
    record.szPlateNumber[1] = 'X';  // only the first byte decides
    prepareFileDataForWriting(record);
    EXPECT_EQ(record.osd_plate_flag, 0);
    EXPECT_EQ(record.checksum, fileDataChecksum(record));
}

}  // namespace
}  // namespace zentrova
