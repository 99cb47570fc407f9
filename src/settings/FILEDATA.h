#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace zentrova {

constexpr std::size_t kFileDataSize = 500;

// The camera's settings record, the whole content of config.bin. The members
// lie exactly at their file offsets (checked below); on disk every integer is
// little-endian, so the record is converted to and from bytes field by field
// rather than copied, which keeps it right on any host.
struct FILEDATA {
    std::uint16_t cfg_ver;
    std::uint16_t checksum;
    std::uint32_t disp_segment_mode;
    std::uint32_t sd_mem_always_ratio;
    std::uint32_t sd_mem_event_ratio;
    std::uint32_t sd_mem_motion_ratio;
    std::uint32_t sd_mem_always_reserved;
    std::uint32_t sd_mem_event_reserved;
    std::uint32_t sd_mem_motion_reserved;
    std::uint32_t aud_enable;
    std::uint32_t aud_codec_type;
    std::uint32_t aud_sampling_freq;
    std::uint32_t aud_bitrate;
    std::uint32_t aud_input_vol;
    std::uint32_t aud_output_vol;
    std::uint32_t vid_enc_res;
    std::uint32_t vid_enc_bitrate;
    std::uint32_t vid_framerate;
    std::uint32_t vid_brightness;
    std::uint32_t vid_contrast;
    std::uint32_t vid_saturation;
    std::uint32_t vid_sharpness;
    std::uint32_t vid_hue;
    std::int32_t gsen_x_threshold;
    std::int32_t gsen_y_threshold;
    std::int32_t gsen_z_threshold;
    std::uint32_t always_mode_timeout;
    std::int32_t parkmode_x_threshold;
    std::int32_t parkmode_y_threshold;
    std::int32_t parkmode_z_threshold;
    std::uint32_t motion1080pCValue;
    std::uint32_t motion720pCValue;
    std::uint32_t motionBlock;
    std::int32_t high_temp_threshold;
    std::uint32_t high_temp_duration;
    std::int32_t safe_temp_threshold;
    std::uint32_t safe_temp_duration;
    std::uint32_t composite_mode;
    std::uint32_t osd_option;
    std::int32_t osd_speed_flag;
    std::int32_t osd_plate_flag;
    std::uint32_t plate_number;
    std::uint32_t speed_disp_unit;
    std::int32_t time_gmt;
    std::uint32_t summer_time;
    std::uint32_t nodriving_day;
    std::uint32_t auto_drive_in_mode_on;
    std::uint32_t auto_park_in_mode_on;
    std::uint32_t motion_detect_mode_on;
    std::uint32_t event_only_mode_on;
    std::uint32_t g_sensor_enable;
    std::uint32_t audio_mux_enable;
    std::uint32_t safe_temp_mode_on;
    std::uint32_t alarm_ontime_flag;
    std::uint32_t voiceEnable;
    std::uint32_t drivingSecurity;
    std::uint32_t parkingSecurity;
    std::uint32_t SaveDuration;
    std::uint32_t MemConfig;
    std::uint32_t BrightnessFixed;
    std::uint32_t DayTime;
    std::uint32_t NightTime;
    std::uint32_t Brightness1;
    std::uint32_t ledoff;
    std::uint32_t Gamma;
    char szPlateNumber[8];
    std::uint32_t vid_enc_bitrate_R;
    std::uint32_t vid_brightness_R;
    std::uint32_t vid_sharpness_R;
    std::uint32_t lcd_autopoweroff;
    std::uint32_t lcd_brightness;
    std::uint32_t lcd_screensaver;
    std::uint32_t parking_rear_off;
    std::uint32_t sd2_mem_always_ratio;
    std::uint32_t sd2_mem_event_ratio;
    std::uint32_t sd2_mem_motion_ratio;
    std::uint32_t flip_video;
    std::uint32_t parking_alarm;
    std::uint32_t rear_fps;
    std::uint32_t motion_zone;
    std::uint32_t motionBlock_Rear;
    std::uint32_t ledoff_rear;
    std::uint32_t always_mode_recording_time;
    std::uint32_t pip_position;
    std::uint32_t always_motion;
    std::uint32_t lcd_brightness_night;
    std::uint32_t size_rear;
    std::uint32_t front_cpl_use;
    std::uint32_t rear_cpl_use;
    char wifi_ssid[16];
    char wifi_password[16];
    std::uint32_t CableVoltCorr;
    std::uint32_t autoFormatAlarm;
    std::uint8_t ADAS_Car;
    std::uint8_t ADAS_Ldws_Speed;
    std::uint8_t ADAS_FCWS_Speed;
    std::uint8_t ADAS_FCMD_Enable;
    std::uint8_t ADAS_LDWS_Sens;
    std::uint8_t ADAS_FCWS_Sens;
    std::uint8_t ADAS_FCMD_Sens;
    std::uint8_t dummy1;
    std::uint32_t vide_wdr_enable;
    std::uint32_t ParkingMode;
    std::uint32_t En_SuperNightVision;
    std::uint32_t wifi_channel;
    std::uint32_t dummy00[19];
    std::uint32_t debug_mode;
};

static_assert(sizeof(FILEDATA) == kFileDataSize);
static_assert(offsetof(FILEDATA, cfg_ver) == 0);
static_assert(offsetof(FILEDATA, checksum) == 2);
static_assert(offsetof(FILEDATA, disp_segment_mode) == 4);
static_assert(offsetof(FILEDATA, sd_mem_always_ratio) == 8);
static_assert(offsetof(FILEDATA, sd_mem_event_ratio) == 12);
static_assert(offsetof(FILEDATA, sd_mem_motion_ratio) == 16);
static_assert(offsetof(FILEDATA, sd_mem_always_reserved) == 20);
static_assert(offsetof(FILEDATA, sd_mem_event_reserved) == 24);
static_assert(offsetof(FILEDATA, sd_mem_motion_reserved) == 28);
static_assert(offsetof(FILEDATA, aud_enable) == 32);
static_assert(offsetof(FILEDATA, aud_codec_type) == 36);
static_assert(offsetof(FILEDATA, aud_sampling_freq) == 40);
static_assert(offsetof(FILEDATA, aud_bitrate) == 44);
static_assert(offsetof(FILEDATA, aud_input_vol) == 48);
static_assert(offsetof(FILEDATA, aud_output_vol) == 52);
static_assert(offsetof(FILEDATA, vid_enc_res) == 56);
static_assert(offsetof(FILEDATA, vid_enc_bitrate) == 60);
static_assert(offsetof(FILEDATA, vid_framerate) == 64);
static_assert(offsetof(FILEDATA, vid_brightness) == 68);
static_assert(offsetof(FILEDATA, vid_contrast) == 72);
static_assert(offsetof(FILEDATA, vid_saturation) == 76);
static_assert(offsetof(FILEDATA, vid_sharpness) == 80);
static_assert(offsetof(FILEDATA, vid_hue) == 84);
static_assert(offsetof(FILEDATA, gsen_x_threshold) == 88);
static_assert(offsetof(FILEDATA, gsen_y_threshold) == 92);
static_assert(offsetof(FILEDATA, gsen_z_threshold) == 96);
static_assert(offsetof(FILEDATA, always_mode_timeout) == 100);
static_assert(offsetof(FILEDATA, parkmode_x_threshold) == 104);
static_assert(offsetof(FILEDATA, parkmode_y_threshold) == 108);
static_assert(offsetof(FILEDATA, parkmode_z_threshold) == 112);
static_assert(offsetof(FILEDATA, motion1080pCValue) == 116);
static_assert(offsetof(FILEDATA, motion720pCValue) == 120);
static_assert(offsetof(FILEDATA, motionBlock) == 124);
static_assert(offsetof(FILEDATA, high_temp_threshold) == 128);
static_assert(offsetof(FILEDATA, high_temp_duration) == 132);
static_assert(offsetof(FILEDATA, safe_temp_threshold) == 136);
static_assert(offsetof(FILEDATA, safe_temp_duration) == 140);
static_assert(offsetof(FILEDATA, composite_mode) == 144);
static_assert(offsetof(FILEDATA, osd_option) == 148);
static_assert(offsetof(FILEDATA, osd_speed_flag) == 152);
static_assert(offsetof(FILEDATA, osd_plate_flag) == 156);
static_assert(offsetof(FILEDATA, plate_number) == 160);
static_assert(offsetof(FILEDATA, speed_disp_unit) == 164);
static_assert(offsetof(FILEDATA, time_gmt) == 168);
static_assert(offsetof(FILEDATA, summer_time) == 172);
static_assert(offsetof(FILEDATA, nodriving_day) == 176);
static_assert(offsetof(FILEDATA, auto_drive_in_mode_on) == 180);
static_assert(offsetof(FILEDATA, auto_park_in_mode_on) == 184);
static_assert(offsetof(FILEDATA, motion_detect_mode_on) == 188);
static_assert(offsetof(FILEDATA, event_only_mode_on) == 192);
static_assert(offsetof(FILEDATA, g_sensor_enable) == 196);
static_assert(offsetof(FILEDATA, audio_mux_enable) == 200);
static_assert(offsetof(FILEDATA, safe_temp_mode_on) == 204);
static_assert(offsetof(FILEDATA, alarm_ontime_flag) == 208);
static_assert(offsetof(FILEDATA, voiceEnable) == 212);
static_assert(offsetof(FILEDATA, drivingSecurity) == 216);
static_assert(offsetof(FILEDATA, parkingSecurity) == 220);
static_assert(offsetof(FILEDATA, SaveDuration) == 224);
static_assert(offsetof(FILEDATA, MemConfig) == 228);
static_assert(offsetof(FILEDATA, BrightnessFixed) == 232);
static_assert(offsetof(FILEDATA, DayTime) == 236);
static_assert(offsetof(FILEDATA, NightTime) == 240);
static_assert(offsetof(FILEDATA, Brightness1) == 244);
static_assert(offsetof(FILEDATA, ledoff) == 248);
static_assert(offsetof(FILEDATA, Gamma) == 252);
static_assert(offsetof(FILEDATA, szPlateNumber) == 256);
static_assert(offsetof(FILEDATA, vid_enc_bitrate_R) == 264);
static_assert(offsetof(FILEDATA, vid_brightness_R) == 268);
static_assert(offsetof(FILEDATA, vid_sharpness_R) == 272);
static_assert(offsetof(FILEDATA, lcd_autopoweroff) == 276);
static_assert(offsetof(FILEDATA, lcd_brightness) == 280);
static_assert(offsetof(FILEDATA, lcd_screensaver) == 284);
static_assert(offsetof(FILEDATA, parking_rear_off) == 288);
static_assert(offsetof(FILEDATA, sd2_mem_always_ratio) == 292);
static_assert(offsetof(FILEDATA, sd2_mem_event_ratio) == 296);
static_assert(offsetof(FILEDATA, sd2_mem_motion_ratio) == 300);
static_assert(offsetof(FILEDATA, flip_video) == 304);
static_assert(offsetof(FILEDATA, parking_alarm) == 308);
static_assert(offsetof(FILEDATA, rear_fps) == 312);
static_assert(offsetof(FILEDATA, motion_zone) == 316);
static_assert(offsetof(FILEDATA, motionBlock_Rear) == 320);
static_assert(offsetof(FILEDATA, ledoff_rear) == 324);
static_assert(offsetof(FILEDATA, always_mode_recording_time) == 328);
static_assert(offsetof(FILEDATA, pip_position) == 332);
static_assert(offsetof(FILEDATA, always_motion) == 336);
static_assert(offsetof(FILEDATA, lcd_brightness_night) == 340);
static_assert(offsetof(FILEDATA, size_rear) == 344);
static_assert(offsetof(FILEDATA, front_cpl_use) == 348);
static_assert(offsetof(FILEDATA, rear_cpl_use) == 352);
static_assert(offsetof(FILEDATA, wifi_ssid) == 356);
static_assert(offsetof(FILEDATA, wifi_password) == 372);
static_assert(offsetof(FILEDATA, CableVoltCorr) == 388);
static_assert(offsetof(FILEDATA, autoFormatAlarm) == 392);
static_assert(offsetof(FILEDATA, ADAS_Car) == 396);
static_assert(offsetof(FILEDATA, ADAS_Ldws_Speed) == 397);
static_assert(offsetof(FILEDATA, ADAS_FCWS_Speed) == 398);
static_assert(offsetof(FILEDATA, ADAS_FCMD_Enable) == 399);
static_assert(offsetof(FILEDATA, ADAS_LDWS_Sens) == 400);
static_assert(offsetof(FILEDATA, ADAS_FCWS_Sens) == 401);
static_assert(offsetof(FILEDATA, ADAS_FCMD_Sens) == 402);
static_assert(offsetof(FILEDATA, dummy1) == 403);
static_assert(offsetof(FILEDATA, vide_wdr_enable) == 404);
static_assert(offsetof(FILEDATA, ParkingMode) == 408);
static_assert(offsetof(FILEDATA, En_SuperNightVision) == 412);
static_assert(offsetof(FILEDATA, wifi_channel) == 416);
static_assert(offsetof(FILEDATA, dummy00) == 420);
static_assert(offsetof(FILEDATA, debug_mode) == 496);

using FileDataBytes = std::array<std::uint8_t, kFileDataSize>;

// The record as the 500 bytes of the file.
FileDataBytes fileDataBytes(const FILEDATA& record);
// The record that the 500 bytes of a file hold.
FILEDATA fileDataFromBytes(std::span<const std::uint8_t, kFileDataSize> bytes);

// Fills the record with the camera's factory values; the checksum stays 0.
void resetFileData(FILEDATA& record);

// XOR of the little-endian 32-bit words at offsets 4 to 496, low 16 bits.
std::uint16_t fileDataChecksum(const FILEDATA& record);

// What a save does to the record before writing: the plate flag from the
// plate text, then the checksum.
void prepareFileDataForWriting(FILEDATA& record);

}  // namespace zentrova
