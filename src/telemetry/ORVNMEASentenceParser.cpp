#include "telemetry/ORVNMEASentenceParser.h"

#include "telemetry/NmeaFields.h"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstring>
#include <optional>

namespace zentrova {
namespace {

// Shared by every parser of the process, as the receiver's channel
// numbering spans sentences. Atomic only so that two extractions at once
// are not undefined behaviour; the values may still interleave.
std::atomic<std::int32_t> g_gsvNextChannel{0};
std::atomic<std::int32_t> g_gsvLastMessage{0};

constexpr std::uint8_t kGsaEmptyReport = 255;
constexpr int kHighestGpsSatellite = 64;

bool isOneOf(std::string_view address, std::string_view a, std::string_view b) {
    return address == a || address == b;
}

std::uint8_t low8(std::int32_t value) {
    return static_cast<std::uint8_t>(static_cast<std::uint32_t>(value) & 0xFFu);
}

// The first two digits of a field, as "%02d" reads them; 0 when there are none.
int twoDigits(std::string_view field) {
    int value = 0;
    scanWidthInteger(field, 2, value);
    return value;
}

SYSTEMTIME rmcTime(std::string_view time, std::string_view date) {
    int hour = 0, minute = 0, second = 0, millisecond = 0;
    if (scanWidthInteger(time, 2, hour) && scanWidthInteger(time, 2, minute) && scanWidthInteger(time, 2, second) &&
        !time.empty() && time.front() == '.') {
        time.remove_prefix(1);
        scanWidthInteger(time, 3, millisecond);
    }
    int day = 0, month = 0, year = 0;
    if (scanWidthInteger(date, 2, day) && scanWidthInteger(date, 2, month)) scanWidthInteger(date, 2, year);
    SYSTEMTIME now;
    now.wYear = static_cast<std::uint16_t>(2000 + year);
    now.wMonth = static_cast<std::uint16_t>(month);
    now.wDayOfWeek = 0;
    now.wDay = static_cast<std::uint16_t>(day);
    now.wHour = static_cast<std::uint16_t>(hour);
    now.wMinute = static_cast<std::uint16_t>(minute);
    now.wSecond = static_cast<std::uint16_t>(second);
    now.wMilliseconds = static_cast<std::uint16_t>(millisecond);
    return now;
}

bool isDigits(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

int twoDigitsAt(std::string_view text, std::size_t at) {
    return (text[at] - '0') * 10 + (text[at + 1] - '0');
}

// The time as the camera writes it, "hhmmss.sss" and "ddmmyy" in digits,
// read straight; rmcTime() reads it the same, more slowly. None for any
// other text.
std::optional<SYSTEMTIME> plainRmcTime(std::string_view time, std::string_view date) {
    if (time.size() != 10 || date.size() != 6 || time[6] != '.' || !isDigits(time.substr(0, 6)) ||
        !isDigits(time.substr(7)) || !isDigits(date)) {
        return std::nullopt;
    }
    SYSTEMTIME now;
    now.wYear = static_cast<std::uint16_t>(2000 + twoDigitsAt(date, 4));
    now.wMonth = static_cast<std::uint16_t>(twoDigitsAt(date, 2));
    now.wDayOfWeek = 0;
    now.wDay = static_cast<std::uint16_t>(twoDigitsAt(date, 0));
    now.wHour = static_cast<std::uint16_t>(twoDigitsAt(time, 0));
    now.wMinute = static_cast<std::uint16_t>(twoDigitsAt(time, 2));
    now.wSecond = static_cast<std::uint16_t>(twoDigitsAt(time, 4));
    now.wMilliseconds = static_cast<std::uint16_t>(twoDigitsAt(time, 7) * 10 + (time[9] - '0'));
    return now;
}

}  // namespace

bool ORVNMEASentenceParser::parse(const char* sentence) {
    if (!sentence) return false;
    return parse(std::string_view(sentence, std::strlen(sentence)));
}

bool ORVNMEASentenceParser::parse(std::string_view sentence) {
    // Exactly one '*': the fields before it, the checksum (not checked) after.
    if (!splitNmeaSentence(sentence, m_fields)) return false;
    const std::span<const std::string_view> fields = m_fields.fields();
    const std::string_view address = fields[0];
    if (isOneOf(address, "$GPRMC", "$GNRMC")) return parseGPRMC(fields);
    if (isOneOf(address, "$GPGGA", "$GNGGA")) return parseGPGGA(fields);
    if (address == "$GNGSA") return parseGNGSA(fields);
    if (address == "$GNGNS") return parseGNGNS(fields);
    return false;
}

bool ORVNMEASentenceParser::parseGPRMC(std::span<const std::string_view> fields) {
    ORVGpsData& fix = m_Current;
    fix.SpeedOverGround = nmeaReal(nmeaField(fields, 7));
    fix.CourseOverGround = nmeaReal(nmeaField(fields, 8));
    fix.gpsValid = nmeaField(fields, 2) == "A" ? 1 : 0;
    const std::string_view time = nmeaField(fields, 1);
    const std::string_view date = nmeaField(fields, 9);
    if (const std::optional<SYSTEMTIME> plain = plainRmcTime(time, date)) {
        fix.Now = *plain;
    } else if (utf8Length(date) == 6 && utf8Length(time) == 10) {
        fix.Now = rmcTime(time, date);
    }
    fix.Cnt_GNGSA = 0;
    return true;
}

bool ORVNMEASentenceParser::parseGPGGA(std::span<const std::string_view> fields) {
    ORVGpsData& fix = m_Current;
    if (!nmeaField(fields, 2).empty()) fix.Latitude = nmeaReal(nmeaField(fields, 2));
    if (!nmeaField(fields, 3).empty()) fix.NS = nmeaField(fields, 3).front();
    if (!nmeaField(fields, 4).empty()) fix.Longitude = nmeaReal(nmeaField(fields, 4));
    if (!nmeaField(fields, 5).empty()) fix.EW = nmeaField(fields, 5).front();
    if (nmeaField(fields, 0) == "$GPGGA" && !fix.Enable_GNGNS && !fix.Enable_GNGSA) {
        fix.SatelliteUsedCount = static_cast<std::uint32_t>(nmeaInteger(nmeaField(fields, 7)));
    }
    if (!fix.Enable_GNGNS && !nmeaField(fields, 8).empty()) fix.HDOP = nmeaReal(nmeaField(fields, 8));
    fix.Cnt_GNGSA = 0;
    return true;
}

bool ORVNMEASentenceParser::parseGNGNS(std::span<const std::string_view> fields) {
    ORVGpsData& fix = m_Current;
    fix.Enable_GNGNS = 1;
    fix.SatelliteUsedCount = static_cast<std::uint32_t>(nmeaInteger(nmeaField(fields, 7)));
    if (!nmeaField(fields, 8).empty()) fix.HDOP = nmeaReal(nmeaField(fields, 8));
    return true;
}

bool ORVNMEASentenceParser::parseGNGSA(std::span<const std::string_view> fields) {
    ORVGpsData& fix = m_Current;
    fix.Enable_GNGSA = 1;
    if (fix.Enable_GNGNS) return true;

    std::uint32_t used = 0;
    for (std::size_t k = 0; k < ORVGpsData::kChannelCount; ++k) {
        const std::string_view field = nmeaField(fields, 3 + k);
        fix.SatelliteUsed[k] = field.empty() ? 0 : low8(nmeaInteger(field));
        if (fix.SatelliteUsed[k] != 0) ++used;
    }

    const std::uint8_t first = fix.SatelliteUsed[0];
    if (first == 0) {
        fix.Cnt_GNGSA = kGsaEmptyReport;
    } else {
        fix.Cnt_GNGSA = first <= kHighestGpsSatellite ? 0 : 1;
    }

    if (fix.Cnt_GNGSA == 0) {
        fix.SatelliteUsedCount_GPS = used;
        fix.Cnt_GNGSA = 1;
        fix.SatelliteUsedCount = fix.SatelliteUsedCount_GPS;
    } else if (fix.Cnt_GNGSA == 1) {
        fix.SatelliteUsedCount_GLONASS = used;
        fix.Cnt_GNGSA = 0;
        fix.SatelliteUsedCount = fix.SatelliteUsedCount_GPS + fix.SatelliteUsedCount_GLONASS;
    } else if (!fix.gpsValid) {
        fix.SatelliteUsedCount = 0;
    }
    return true;
}

bool ORVNMEASentenceParser::parseGPGSV(std::span<const std::string_view> fields) {
    ORVGpsData& fix = m_Current;
    fix.SatelliteCount = static_cast<std::uint32_t>(nmeaInteger(nmeaField(fields, 3)));
    if (fix.SatelliteCount == 0) return true;

    const std::int32_t message = nmeaInteger(nmeaField(fields, 2));
    if (message == 1) {
        g_gsvNextChannel = 0;
    } else if (std::int64_t{message} != std::int64_t{g_gsvLastMessage} + 1) {
        return false;
    }

    const std::size_t groups = fields.size() >= 8 ? (fields.size() - 4) / 4 : 0;
    for (std::size_t j = 0; j < groups && g_gsvNextChannel < ORVGpsData::kChannelCount; ++j) {
        const int satellite = twoDigits(fields[4 + 4 * j]);
        const int signal = twoDigits(fields[7 + 4 * j]);
        fix.setSVonChannelWithFirst(low8(satellite), low8(signal), g_gsvNextChannel);
        ++g_gsvNextChannel;
    }
    g_gsvLastMessage = message;
    return true;
}

void ORVNMEASentenceParser::resetGSVCounters() {
    g_gsvNextChannel = 0;
    g_gsvLastMessage = 0;
}

}  // namespace zentrova
