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

template <typename Member>
constexpr FieldKind kindOf() {
    using Element = std::remove_extent_t<Member>;
    if constexpr (std::is_same_v<Element, char>) return FieldKind::Text;
    return std::is_signed_v<Element> ? FieldKind::Signed : FieldKind::Unsigned;
}

// Offset, width and kind come from the member itself, so the table cannot
// disagree with the record.
#define ZENTROVA_FIELD(member, pages)                                                                 \
    FileDataField {                                                                                   \
        #member, offsetof(FILEDATA, member), sizeof(std::remove_extent_t<decltype(FILEDATA::member)>), \
            elementCountOf<decltype(FILEDATA::member)>(), kindOf<decltype(FILEDATA::member)>(), pages  \
    }

constexpr FileDataField kFields[] = {
    ZENTROVA_FIELD(cfg_ver, kNoPage),
    ZENTROVA_FIELD(checksum, kSetAtSave),
    ZENTROVA_FIELD(disp_segment_mode, kNoPage),
    ZENTROVA_FIELD(sd_mem_always_ratio, kPageSystem),
    ZENTROVA_FIELD(sd_mem_event_ratio, kPageSystem),
    ZENTROVA_FIELD(sd_mem_motion_ratio, kPageSystem),
    ZENTROVA_FIELD(sd_mem_always_reserved, kPageBasic),
    ZENTROVA_FIELD(sd_mem_event_reserved, kPageBasic),
    ZENTROVA_FIELD(sd_mem_motion_reserved, kPageBasic),
    ZENTROVA_FIELD(aud_enable, kNoPage),
    ZENTROVA_FIELD(aud_codec_type, kNoPage),
    ZENTROVA_FIELD(aud_sampling_freq, kNoPage),
    ZENTROVA_FIELD(aud_bitrate, kNoPage),
    ZENTROVA_FIELD(aud_input_vol, kPageAudio),
    ZENTROVA_FIELD(aud_output_vol, kPageAudio),
    ZENTROVA_FIELD(vid_enc_res, kNoPage),
    ZENTROVA_FIELD(vid_enc_bitrate, kPageVideo),
    ZENTROVA_FIELD(vid_framerate, kNoPage),
    ZENTROVA_FIELD(vid_brightness, kPageVideo),
    ZENTROVA_FIELD(vid_contrast, kNoPage),
    ZENTROVA_FIELD(vid_saturation, kNoPage),
    ZENTROVA_FIELD(vid_sharpness, kNoPage),
    ZENTROVA_FIELD(vid_hue, kNoPage),
    ZENTROVA_FIELD(gsen_x_threshold, kPageBasic),
    ZENTROVA_FIELD(gsen_y_threshold, kPageBasic),
    ZENTROVA_FIELD(gsen_z_threshold, kPageBasic),
    ZENTROVA_FIELD(always_mode_timeout, kPageBasic),
    ZENTROVA_FIELD(parkmode_x_threshold, kPageBasic),
    ZENTROVA_FIELD(parkmode_y_threshold, kPageBasic),
    ZENTROVA_FIELD(parkmode_z_threshold, kPageBasic),
    ZENTROVA_FIELD(motion1080pCValue, kPageMotion),
    ZENTROVA_FIELD(motion720pCValue, kPageMotion),
    ZENTROVA_FIELD(motionBlock, kPageMotion),
    ZENTROVA_FIELD(high_temp_threshold, kNoPage),
    ZENTROVA_FIELD(high_temp_duration, kNoPage),
    ZENTROVA_FIELD(safe_temp_threshold, kNoPage),
    ZENTROVA_FIELD(safe_temp_duration, kNoPage),
    ZENTROVA_FIELD(composite_mode, kNoPage),
    ZENTROVA_FIELD(osd_option, kNoPage),
    ZENTROVA_FIELD(osd_speed_flag, kPageGps),
    ZENTROVA_FIELD(osd_plate_flag, kSetAtSave),
    ZENTROVA_FIELD(plate_number, kNoPage),
    ZENTROVA_FIELD(speed_disp_unit, kPageGps),
    ZENTROVA_FIELD(time_gmt, kPageGps),
    ZENTROVA_FIELD(summer_time, kPageGps),
    ZENTROVA_FIELD(nodriving_day, kPageGps),
    ZENTROVA_FIELD(auto_drive_in_mode_on, kNoPage),
    ZENTROVA_FIELD(auto_park_in_mode_on, kNoPage),
    ZENTROVA_FIELD(motion_detect_mode_on, kNoPage),
    ZENTROVA_FIELD(event_only_mode_on, kNoPage),
    ZENTROVA_FIELD(g_sensor_enable, kPageBasic),
    ZENTROVA_FIELD(audio_mux_enable, kNoPage),
    ZENTROVA_FIELD(safe_temp_mode_on, kNoPage),
    ZENTROVA_FIELD(alarm_ontime_flag, kPageAudio),
    ZENTROVA_FIELD(voiceEnable, kNoPage),
    ZENTROVA_FIELD(drivingSecurity, kNoPage),
    ZENTROVA_FIELD(parkingSecurity, kNoPage),
    ZENTROVA_FIELD(SaveDuration, kPageGps),
    ZENTROVA_FIELD(MemConfig, kNoPage),
    ZENTROVA_FIELD(BrightnessFixed, kNoPage),
    ZENTROVA_FIELD(DayTime, kPageSystem),
    ZENTROVA_FIELD(NightTime, kPageGps),
    ZENTROVA_FIELD(Brightness1, kPageAudio),
    ZENTROVA_FIELD(ledoff, kPageBasic),
    ZENTROVA_FIELD(Gamma, kPageSystem),
    ZENTROVA_FIELD(szPlateNumber, kPageBasic),
    ZENTROVA_FIELD(vid_enc_bitrate_R, kPageVideo),
    ZENTROVA_FIELD(vid_brightness_R, kPageVideo),
    ZENTROVA_FIELD(vid_sharpness_R, kNoPage),
    ZENTROVA_FIELD(lcd_autopoweroff, kPageSystem),
    ZENTROVA_FIELD(lcd_brightness, kPageSystem),
    ZENTROVA_FIELD(lcd_screensaver, kPageSystem),
    ZENTROVA_FIELD(parking_rear_off, kPageSystem),
    ZENTROVA_FIELD(sd2_mem_always_ratio, kNoPage),
    ZENTROVA_FIELD(sd2_mem_event_ratio, kNoPage),
    ZENTROVA_FIELD(sd2_mem_motion_ratio, kNoPage),
    ZENTROVA_FIELD(flip_video, kPageVideo),
    ZENTROVA_FIELD(parking_alarm, kPageSystem),
    ZENTROVA_FIELD(rear_fps, kPageVideo),
    ZENTROVA_FIELD(motion_zone, kNoPage),
    ZENTROVA_FIELD(motionBlock_Rear, kPageMotion),
    ZENTROVA_FIELD(ledoff_rear, kPageBasic),
    ZENTROVA_FIELD(always_mode_recording_time, kPageSystem),
    ZENTROVA_FIELD(pip_position, kPageSystem),
    ZENTROVA_FIELD(always_motion, kNoPage),
    ZENTROVA_FIELD(lcd_brightness_night, kPageSystem),
    ZENTROVA_FIELD(size_rear, kNoPage),
    ZENTROVA_FIELD(front_cpl_use, kPageVideo),
    ZENTROVA_FIELD(rear_cpl_use, kPageVideo),
    ZENTROVA_FIELD(wifi_ssid, kPageSystem),
    ZENTROVA_FIELD(wifi_password, kPageSystem),
    ZENTROVA_FIELD(CableVoltCorr, kPageBasic),
    ZENTROVA_FIELD(autoFormatAlarm, kPageSystem),
    ZENTROVA_FIELD(ADAS_Car, kPageAdas),
    ZENTROVA_FIELD(ADAS_Ldws_Speed, kPageAdas),
    ZENTROVA_FIELD(ADAS_FCWS_Speed, kPageAdas),
    ZENTROVA_FIELD(ADAS_FCMD_Enable, kPageAdas),
    ZENTROVA_FIELD(ADAS_LDWS_Sens, kPageAdas),
    ZENTROVA_FIELD(ADAS_FCWS_Sens, kPageAdas),
    ZENTROVA_FIELD(ADAS_FCMD_Sens, kPageAdas),
    ZENTROVA_FIELD(dummy1, kNoPage),
    ZENTROVA_FIELD(vide_wdr_enable, kNoPage),
    ZENTROVA_FIELD(ParkingMode, kPageMotion),
    ZENTROVA_FIELD(En_SuperNightVision, kPageVideo | kPageMotion),
    ZENTROVA_FIELD(wifi_channel, kPageSystem),
    ZENTROVA_FIELD(dummy00, kNoPage),
    ZENTROVA_FIELD(debug_mode, kNoPage),
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
