#include "settings/FileDataField.h"

#include <cstring>
#include <type_traits>
#include <utility>

namespace zentrova {
namespace {

template <typename Member>
constexpr std::size_t elementCountOf() {
    return std::is_array_v<Member> ? std::extent_v<Member> : 1;
}

#define ZENTROVA_FIELD(member, kind, pages)                                                  \
    FileDataField {                                                                          \
        #member, offsetof(FILEDATA, member), sizeof(std::remove_extent_t<decltype(FILEDATA::member)>), \
            elementCountOf<decltype(FILEDATA::member)>(), kind, pages                        \
    }

constexpr FileDataField kFields[] = {
    ZENTROVA_FIELD(cfg_ver, FieldKind::Unsigned, kNoPage),
    ZENTROVA_FIELD(checksum, FieldKind::Unsigned, kSetAtSave),
    ZENTROVA_FIELD(disp_segment_mode, FieldKind::Unsigned, kNoPage),
    ZENTROVA_FIELD(sd_mem_always_ratio, FieldKind::Unsigned, kPageSystem),
    ZENTROVA_FIELD(sd_mem_event_ratio, FieldKind::Unsigned, kPageSystem),
    ZENTROVA_FIELD(sd_mem_motion_ratio, FieldKind::Unsigned, kPageSystem),
    ZENTROVA_FIELD(sd_mem_always_reserved, FieldKind::Unsigned, kPageBasic),
    ZENTROVA_FIELD(sd_mem_event_reserved, FieldKind::Unsigned, kPageBasic),
    ZENTROVA_FIELD(sd_mem_motion_reserved, FieldKind::Unsigned, kPageBasic),
    ZENTROVA_FIELD(aud_enable, FieldKind::Unsigned, kNoPage),
    ZENTROVA_FIELD(aud_codec_type, FieldKind::Unsigned, kNoPage),
    ZENTROVA_FIELD(aud_sampling_freq, FieldKind::Unsigned, kNoPage),
    ZENTROVA_FIELD(aud_bitrate, FieldKind::Unsigned, kNoPage),
    ZENTROVA_FIELD(aud_input_vol, FieldKind::Unsigned, kPageAudio),
    ZENTROVA_FIELD(aud_output_vol, FieldKind::Unsigned, kPageAudio),
    ZENTROVA_FIELD(vid_enc_res, FieldKind::Unsigned, kNoPage),
    ZENTROVA_FIELD(vid_enc_bitrate, FieldKind::Unsigned, kPageVideo),
    ZENTROVA_FIELD(vid_framerate, FieldKind::Unsigned, kNoPage),
    ZENTROVA_FIELD(vid_brightness, FieldKind::Unsigned, kPageVideo),
    ZENTROVA_FIELD(vid_contrast, FieldKind::Unsigned, kNoPage),
    ZENTROVA_FIELD(vid_saturation, FieldKind::Unsigned, kNoPage),
    ZENTROVA_FIELD(vid_sharpness, FieldKind::Unsigned, kNoPage),
    ZENTROVA_FIELD(vid_hue, FieldKind::Unsigned, kNoPage),
    ZENTROVA_FIELD(gsen_x_threshold, FieldKind::Signed, kPageBasic),
    ZENTROVA_FIELD(gsen_y_threshold, FieldKind::Signed, kPageBasic),
    ZENTROVA_FIELD(gsen_z_threshold, FieldKind::Signed, kPageBasic),
    ZENTROVA_FIELD(always_mode_timeout, FieldKind::Unsigned, kPageBasic),
    ZENTROVA_FIELD(parkmode_x_threshold, FieldKind::Signed, kPageBasic),
    ZENTROVA_FIELD(parkmode_y_threshold, FieldKind::Signed, kPageBasic),
    ZENTROVA_FIELD(parkmode_z_threshold, FieldKind::Signed, kPageBasic),
    ZENTROVA_FIELD(motion1080pCValue, FieldKind::Unsigned, kPageMotion),
    ZENTROVA_FIELD(motion720pCValue, FieldKind::Unsigned, kPageMotion),
    ZENTROVA_FIELD(motionBlock, FieldKind::Unsigned, kPageMotion),
    ZENTROVA_FIELD(high_temp_threshold, FieldKind::Signed, kNoPage),
    ZENTROVA_FIELD(high_temp_duration, FieldKind::Unsigned, kNoPage),
    ZENTROVA_FIELD(safe_temp_threshold, FieldKind::Signed, kNoPage),
    ZENTROVA_FIELD(safe_temp_duration, FieldKind::Unsigned, kNoPage),
    ZENTROVA_FIELD(composite_mode, FieldKind::Unsigned, kNoPage),
    ZENTROVA_FIELD(osd_option, FieldKind::Unsigned, kNoPage),
    ZENTROVA_FIELD(osd_speed_flag, FieldKind::Signed, kPageGps),
    ZENTROVA_FIELD(osd_plate_flag, FieldKind::Signed, kSetAtSave),
    ZENTROVA_FIELD(plate_number, FieldKind::Unsigned, kNoPage),
    ZENTROVA_FIELD(speed_disp_unit, FieldKind::Unsigned, kPageGps),
    ZENTROVA_FIELD(time_gmt, FieldKind::Signed, kPageGps),
    ZENTROVA_FIELD(summer_time, FieldKind::Unsigned, kPageGps),
    ZENTROVA_FIELD(nodriving_day, FieldKind::Unsigned, kPageGps),
    ZENTROVA_FIELD(auto_drive_in_mode_on, FieldKind::Unsigned, kNoPage),
    ZENTROVA_FIELD(auto_park_in_mode_on, FieldKind::Unsigned, kNoPage),
    ZENTROVA_FIELD(motion_detect_mode_on, FieldKind::Unsigned, kNoPage),
    ZENTROVA_FIELD(event_only_mode_on, FieldKind::Unsigned, kNoPage),
    ZENTROVA_FIELD(g_sensor_enable, FieldKind::Unsigned, kPageBasic),
    ZENTROVA_FIELD(audio_mux_enable, FieldKind::Unsigned, kNoPage),
    ZENTROVA_FIELD(safe_temp_mode_on, FieldKind::Unsigned, kNoPage),
    ZENTROVA_FIELD(alarm_ontime_flag, FieldKind::Unsigned, kPageAudio),
    ZENTROVA_FIELD(voiceEnable, FieldKind::Unsigned, kNoPage),
    ZENTROVA_FIELD(drivingSecurity, FieldKind::Unsigned, kNoPage),
    ZENTROVA_FIELD(parkingSecurity, FieldKind::Unsigned, kNoPage),
    ZENTROVA_FIELD(SaveDuration, FieldKind::Unsigned, kPageGps),
    ZENTROVA_FIELD(MemConfig, FieldKind::Unsigned, kNoPage),
    ZENTROVA_FIELD(BrightnessFixed, FieldKind::Unsigned, kNoPage),
    ZENTROVA_FIELD(DayTime, FieldKind::Unsigned, kPageSystem),
    ZENTROVA_FIELD(NightTime, FieldKind::Unsigned, kPageGps),
    ZENTROVA_FIELD(Brightness1, FieldKind::Unsigned, kPageAudio),
    ZENTROVA_FIELD(ledoff, FieldKind::Unsigned, kPageBasic),
    ZENTROVA_FIELD(Gamma, FieldKind::Unsigned, kPageSystem),
    ZENTROVA_FIELD(szPlateNumber, FieldKind::Text, kPageBasic),
    ZENTROVA_FIELD(vid_enc_bitrate_R, FieldKind::Unsigned, kPageVideo),
    ZENTROVA_FIELD(vid_brightness_R, FieldKind::Unsigned, kPageVideo),
    ZENTROVA_FIELD(vid_sharpness_R, FieldKind::Unsigned, kNoPage),
    ZENTROVA_FIELD(lcd_autopoweroff, FieldKind::Unsigned, kPageSystem),
    ZENTROVA_FIELD(lcd_brightness, FieldKind::Unsigned, kPageSystem),
    ZENTROVA_FIELD(lcd_screensaver, FieldKind::Unsigned, kPageSystem),
    ZENTROVA_FIELD(parking_rear_off, FieldKind::Unsigned, kPageSystem),
    ZENTROVA_FIELD(sd2_mem_always_ratio, FieldKind::Unsigned, kNoPage),
    ZENTROVA_FIELD(sd2_mem_event_ratio, FieldKind::Unsigned, kNoPage),
    ZENTROVA_FIELD(sd2_mem_motion_ratio, FieldKind::Unsigned, kNoPage),
    ZENTROVA_FIELD(flip_video, FieldKind::Unsigned, kPageVideo),
    ZENTROVA_FIELD(parking_alarm, FieldKind::Unsigned, kPageSystem),
    ZENTROVA_FIELD(rear_fps, FieldKind::Unsigned, kPageVideo),
    ZENTROVA_FIELD(motion_zone, FieldKind::Unsigned, kNoPage),
    ZENTROVA_FIELD(motionBlock_Rear, FieldKind::Unsigned, kPageMotion),
    ZENTROVA_FIELD(ledoff_rear, FieldKind::Unsigned, kPageBasic),
    ZENTROVA_FIELD(always_mode_recording_time, FieldKind::Unsigned, kPageSystem),
    ZENTROVA_FIELD(pip_position, FieldKind::Unsigned, kPageSystem),
    ZENTROVA_FIELD(always_motion, FieldKind::Unsigned, kNoPage),
    ZENTROVA_FIELD(lcd_brightness_night, FieldKind::Unsigned, kPageSystem),
    ZENTROVA_FIELD(size_rear, FieldKind::Unsigned, kNoPage),
    ZENTROVA_FIELD(front_cpl_use, FieldKind::Unsigned, kPageVideo),
    ZENTROVA_FIELD(rear_cpl_use, FieldKind::Unsigned, kPageVideo),
    ZENTROVA_FIELD(wifi_ssid, FieldKind::Text, kPageSystem),
    ZENTROVA_FIELD(wifi_password, FieldKind::Text, kPageSystem),
    ZENTROVA_FIELD(CableVoltCorr, FieldKind::Unsigned, kPageBasic),
    ZENTROVA_FIELD(autoFormatAlarm, FieldKind::Unsigned, kPageSystem),
    ZENTROVA_FIELD(ADAS_Car, FieldKind::Unsigned, kPageAdas),
    ZENTROVA_FIELD(ADAS_Ldws_Speed, FieldKind::Unsigned, kPageAdas),
    ZENTROVA_FIELD(ADAS_FCWS_Speed, FieldKind::Unsigned, kPageAdas),
    ZENTROVA_FIELD(ADAS_FCMD_Enable, FieldKind::Unsigned, kPageAdas),
    ZENTROVA_FIELD(ADAS_LDWS_Sens, FieldKind::Unsigned, kPageAdas),
    ZENTROVA_FIELD(ADAS_FCWS_Sens, FieldKind::Unsigned, kPageAdas),
    ZENTROVA_FIELD(ADAS_FCMD_Sens, FieldKind::Unsigned, kPageAdas),
    ZENTROVA_FIELD(dummy1, FieldKind::Unsigned, kNoPage),
    ZENTROVA_FIELD(vide_wdr_enable, FieldKind::Unsigned, kNoPage),
    ZENTROVA_FIELD(ParkingMode, FieldKind::Unsigned, kPageMotion),
    ZENTROVA_FIELD(En_SuperNightVision, FieldKind::Unsigned, kPageVideo | kPageMotion),
    ZENTROVA_FIELD(wifi_channel, FieldKind::Unsigned, kPageSystem),
    ZENTROVA_FIELD(dummy00, FieldKind::Unsigned, kNoPage),
    ZENTROVA_FIELD(debug_mode, FieldKind::Unsigned, kNoPage),
};

#undef ZENTROVA_FIELD

static_assert(std::size(kFields) == 107);

constexpr bool fieldsCoverTheRecordWithoutGaps() {
    std::size_t next = 0;
    for (const FileDataField& field : kFields) {
        if (field.offset != next) return false;
        next += field.size();
    }
    return next == kFileDataSize;
}
static_assert(fieldsCoverTheRecordWithoutGaps());

const unsigned char* elementAddress(const FILEDATA& record, const FileDataField& field, std::size_t index) {
    return reinterpret_cast<const unsigned char*>(&record) + field.offset + index * field.elementSize;
}

unsigned char* elementAddress(FILEDATA& record, const FileDataField& field, std::size_t index) {
    return reinterpret_cast<unsigned char*>(&record) + field.offset + index * field.elementSize;
}

template <typename T>
T loadElement(const unsigned char* at) {
    T value;
    std::memcpy(&value, at, sizeof value);
    return value;
}

template <typename T>
void storeElement(unsigned char* at, std::int64_t value) {
    T narrowed = static_cast<T>(value);
    std::memcpy(at, &narrowed, sizeof narrowed);
}

}  // namespace

std::string settingsPagesName(SettingsPages pages) {
    static constexpr std::pair<SettingsPages, std::string_view> kNames[] = {
        {kPageBasic, "basic"}, {kPageVideo, "video"},   {kPageMotion, "motion"}, {kPageGps, "gps"},
        {kPageAdas, "adas"},   {kPageSystem, "system"}, {kPageAudio, "audio"},   {kSetAtSave, "save"},
    };
    std::string name;
    for (const auto& [page, word] : kNames) {
        if (!(pages & page)) continue;
        if (!name.empty()) name += '+';
        name += word;
    }
    return name.empty() ? "-" : name;
}

std::span<const FileDataField> fileDataFields() { return kFields; }

const FileDataField* findFileDataField(std::string_view name) {
    for (const FileDataField& field : kFields) {
        if (field.name == name) return &field;
    }
    return nullptr;
}

std::int64_t fieldElement(const FILEDATA& record, const FileDataField& field, std::size_t index) {
    const unsigned char* at = elementAddress(record, field, index);
    switch (field.elementSize) {
    case 1: return loadElement<std::uint8_t>(at);
    case 2: return loadElement<std::uint16_t>(at);
    default:
        return field.kind == FieldKind::Signed ? std::int64_t{loadElement<std::int32_t>(at)}
                                               : std::int64_t{loadElement<std::uint32_t>(at)};
    }
}

void setFieldElement(FILEDATA& record, const FileDataField& field, std::size_t index, std::int64_t value) {
    unsigned char* at = elementAddress(record, field, index);
    switch (field.elementSize) {
    case 1: storeElement<std::uint8_t>(at, value); break;
    case 2: storeElement<std::uint16_t>(at, value); break;
    default: storeElement<std::uint32_t>(at, value); break;
    }
}

}  // namespace zentrova
