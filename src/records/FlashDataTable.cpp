#include "records/FlashDataTable.h"

#include "common/Localization.h"
#include "telemetry/NMEAToDegrees.h"

#include <array>
#include <charconv>

namespace zentrova {
namespace {

struct ColumnSpec {
    // A key of the string table, or the title itself when there is no key.
    TextKey titleKey;
    std::string_view plainTitle;
    int width;
};

constexpr std::array<ColumnSpec, FlashDataTable::kColumnCount> kColumns = {{
    {TextKey{"setting.flashdata.index"}, {}, 38},
    {TextKey{"setting.flashdata.seq"}, {}, 38},
    {TextKey{"setting.flashdata.date"}, {}, 86},
    {TextKey{"setting.flashdata.time"}, {}, 72},
    {TextKey{"setting.flashdata.yoil"}, {}, 70},
    {TextKey{"setting.flashdata.lat"}, {}, 64},
    {TextKey{"setting.flashdata.lon"}, {}, 72},
    {TextKey{"setting.flashdata.driving_distance"}, {}, 60},
    {TextKey{"setting.flashdata.cur_speed"}, {}, 60},
    {TextKey{"setting.flashdata.max_speed"}, {}, 60},
    {TextKey{"setting.flashdata.value"}, {}, 48},
    {TextKey{}, "X", 48},
    {TextKey{}, "Y", 48},
    {TextKey{}, "Z", 48},
    {TextKey{"setting.flashdata.battery"}, {}, 60},
}};

constexpr std::array<std::string_view, 7> kWeekdays = {"SUN", "MON", "TUE", "WED", "THU", "FRI", "SAT"};

bool isColumn(int column) { return column >= 0 && column < FlashDataTable::kColumnCount; }

// The printf formats of the table, filled in the C locale whatever locale
// the process runs in, so a decimal point never becomes a comma.
std::string printed(std::string_view format, std::initializer_list<double> args) {
    return fillNumberFormat(format, args);
}

std::string weekdayText(std::uint8_t yoil) { return yoil < kWeekdays.size() ? std::string(kWeekdays[yoil]) : "-"; }

std::string statusText(std::uint8_t value) {
    if (value == 1) return "A";
    if (value == 2) return "F";
    return "V";
}

// Whole volts and the tenth; C++ division truncates toward zero, as the
// camera's format has it.
std::string batteryText(std::int16_t tenths) {
    const int whole = tenths / 10;
    return printed("%2d.%1d", {double(whole), double(tenths - 10 * whole)});
}

std::string latitudeText(const FLASH_SAVE_VALUE_STRUCT& r) {
    return printed("%04d.%04d", {double(r.lat_ddmm), double(r.lat_mmmm)});
}

std::string longitudeText(const FLASH_SAVE_VALUE_STRUCT& r) {
    return printed("%05d.%04d", {double(r.lon_dddmm), double(r.lon_mmmm)});
}

double numberOf(const std::string& text) {
    double value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

}  // namespace

std::string FlashDataTable::columnTitle(int column) {
    if (!isColumn(column)) return {};
    const ColumnSpec& entry = kColumns[static_cast<std::size_t>(column)];
    return entry.titleKey.key.empty() ? std::string(entry.plainTitle) : localized(entry.titleKey);
}

std::vector<std::string> FlashDataTable::columnNames() {
    std::vector<std::string> names;
    for (int column = 0; column < kColumnCount; ++column) names.push_back(columnTitle(column));
    return names;
}

int FlashDataTable::columnWidth(int column) {
    return isColumn(column) ? kColumns[static_cast<std::size_t>(column)].width : 0;
}

std::string FlashDataTable::stringForColumnIndex(int column, std::int64_t row) const {
    if (row < 0 || row >= flashDataNum()) return {};
    return cellText(column, row, m_records[static_cast<std::size_t>(row)]);
}

std::string FlashDataTable::cellText(int column, std::int64_t row, const FLASH_SAVE_VALUE_STRUCT& r) {
    switch (column) {
    case 0: return printed("%ld", {double(row + 1)});
    case 1: return printed("%d", {double(r.seq)});
    case 2: return printed("%4d/%02d/%02d", {double(r.year + 1900), double(r.month), double(r.day)});
    case 3: return printed("%02d:%02d:%02d", {double(r.hour), double(r.minute), double(r.second)});
    case 4: return weekdayText(r.yoil);
    case 5: return latitudeText(r);
    case 6: return longitudeText(r);
    case 7: return printed("%.1f", {r.driving_distance / 10.0});
    case 8: return printed("%d", {double(r.cur_speed)});
    case 9: return printed("%d", {double(r.max_speed)});
    case 10: return statusText(r.value);
    case 11: return printed("%+.2f", {r.x / 256.0});
    case 12: return printed("%+.2f", {r.y / 256.0});
    case 13: return printed("%+.2f", {r.z / 256.0});
    case 14: return batteryText(r.battery);
    default: return {};
    }
}

std::optional<FlashDataPosition> FlashDataTable::positionForRow(std::int64_t row) const {
    if (row < 0 || row >= flashDataNum()) return std::nullopt;
    return positionOf(m_records[static_cast<std::size_t>(row)]);
}

FlashDataPosition FlashDataTable::positionOf(const FLASH_SAVE_VALUE_STRUCT& record) {
    FlashDataPosition position;
    NMEAToDegrees(numberOf(latitudeText(record)), numberOf(longitudeText(record)), &position.latitude,
                  &position.longitude);
    return position;
}

}  // namespace zentrova
