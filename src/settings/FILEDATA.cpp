#include "settings/FILEDATA.h"

#include "settings/FileDataField.h"

#include <cstring>
#include <string_view>

namespace zentrova {
namespace {

// Copies the text's bytes; the rest of the array stays as it is (0 after a reset).
template <std::size_t N>
void copyText(char (&array)[N], std::string_view text) {
    std::memcpy(array, text.data(), text.size() < N ? text.size() : N);
}

std::uint32_t littleEndianWord(const FileDataBytes& bytes, std::size_t offset) {
    return std::uint32_t{bytes[offset]} | std::uint32_t{bytes[offset + 1]} << 8 |
           std::uint32_t{bytes[offset + 2]} << 16 | std::uint32_t{bytes[offset + 3]} << 24;
}

}  // namespace

FileDataBytes fileDataBytes(const FILEDATA& record) {
    FileDataBytes bytes{};
    for (const FileDataField& field : fileDataFields()) {
        for (std::size_t i = 0; i < field.elementCount; ++i) {
            auto value = static_cast<std::uint64_t>(fieldElement(record, field, i));
            std::size_t at = field.offset + i * field.elementSize;
            for (std::size_t b = 0; b < field.elementSize; ++b) {
                bytes[at + b] = static_cast<std::uint8_t>(value >> (8 * b));
            }
        }
    }
    return bytes;
}

FILEDATA fileDataFromBytes(std::span<const std::uint8_t, kFileDataSize> bytes) {
    FILEDATA record{};
    for (const FileDataField& field : fileDataFields()) {
        for (std::size_t i = 0; i < field.elementCount; ++i) {
            std::size_t at = field.offset + i * field.elementSize;
            std::uint64_t value = 0;
            for (std::size_t b = 0; b < field.elementSize; ++b) value |= std::uint64_t{bytes[at + b]} << (8 * b);
            setFieldElement(record, field, i, static_cast<std::int64_t>(value));
        }
    }
    return record;
}

void resetFileData(FILEDATA& record) {
    record = FILEDATA{};
    record.cfg_ver = 22310;
    record.disp_segment_mode = 1;
    record.sd_mem_always_ratio = 70;
    record.sd_mem_event_ratio = 10;
    record.sd_mem_motion_ratio = 20;
    record.sd_mem_always_reserved = 12000;
    record.aud_enable = 3;
    record.aud_sampling_freq = 1;
    record.aud_bitrate = 1;
    record.aud_input_vol = 3;
    record.aud_output_vol = 2;
    record.vid_enc_bitrate = 1;
    record.vid_brightness = 2;
    record.vid_contrast = 2;
    record.vid_saturation = 128;
    record.vid_sharpness = 2;
    record.vid_hue = 2;
    record.gsen_x_threshold = 50;
    record.gsen_y_threshold = 45;
    record.gsen_z_threshold = 45;
    record.always_mode_timeout = 10;
    record.parkmode_x_threshold = 8;
    record.parkmode_y_threshold = 8;
    record.parkmode_z_threshold = 8;
    record.motion1080pCValue = 3;
    record.motion720pCValue = 3;
    record.motionBlock = 96;
    record.high_temp_threshold = 97;
    record.high_temp_duration = 3600;
    record.safe_temp_threshold = 92;
    record.safe_temp_duration = 60;
    record.osd_option = 1;
    record.osd_speed_flag = 1;
    record.time_gmt = 28;
    record.auto_drive_in_mode_on = 1;
    record.auto_park_in_mode_on = 1;
    record.motion_detect_mode_on = 1;
    record.g_sensor_enable = 1;
    record.audio_mux_enable = 1;
    record.safe_temp_mode_on = 1;
    record.alarm_ontime_flag = 1;
    record.voiceEnable = 1;
    record.drivingSecurity = 60;
    record.parkingSecurity = 20;
    record.SaveDuration = 7;
    record.MemConfig = 176;
    record.BrightnessFixed = 3000;
    record.DayTime = 1;
    record.Brightness1 = 1;
    record.vid_enc_bitrate_R = 1;
    record.vid_brightness_R = 2;
    record.vid_sharpness_R = 2;
    record.lcd_autopoweroff = 2;
    record.lcd_brightness = 1;
    record.sd2_mem_always_ratio = 1;
    record.sd2_mem_event_ratio = 98;
    record.sd2_mem_motion_ratio = 1;
    record.parking_alarm = 1;
    record.motionBlock_Rear = 96;
    record.always_mode_recording_time = 1;
    record.lcd_brightness_night = 1;
    record.CableVoltCorr = 4;
    record.autoFormatAlarm = 2;
    record.ADAS_Ldws_Speed = 30;
    record.ADAS_FCWS_Speed = 30;
    record.ADAS_FCMD_Enable = 1;
    record.ADAS_LDWS_Sens = 2;
    record.ADAS_FCWS_Sens = 2;
    record.ADAS_FCMD_Sens = 2;
    record.vide_wdr_enable = 1;
    record.debug_mode = 1;
    copyText(record.szPlateNumber, "Zentrova");
    copyText(record.wifi_ssid, "Zentrova");
    copyText(record.wifi_password, "48203517");
}

std::uint16_t fileDataChecksum(const FILEDATA& record) {
    const FileDataBytes bytes = fileDataBytes(record);
    std::uint32_t sum = 0;
    // The first word holds cfg_ver and the checksum itself, so it is left out.
    for (std::size_t offset = 4; offset < kFileDataSize; offset += 4) sum ^= littleEndianWord(bytes, offset);
    return static_cast<std::uint16_t>(sum & 0xFFFF);
}

void prepareFileDataForWriting(FILEDATA& record) {
    record.osd_plate_flag = record.szPlateNumber[0] != 0 ? 1 : 0;
    record.checksum = 0;
    record.checksum = fileDataChecksum(record);
}

}  // namespace zentrova
