#include "recordings/ORVMedia.h"

#include "recordings/PathNames.h"

#include <cstdio>

namespace zentrova {
namespace {

constexpr size_t kAlwaysNameLength = 22;  // alwa_yyyymmdd_hhmiss_F
constexpr size_t kMotionNameLength = 24;  // motion_yyyymmdd_hhmiss_F
constexpr size_t kEventNameLength = 23;   // event_yyyymmdd_hhmiss_F
constexpr size_t kTimeLength = 15;        // yyyymmdd_hhmiss

bool hasTemplateLength(size_t length) {
    return length == kAlwaysNameLength || length == kMotionNameLength || length == kEventNameLength;
}

// A string's integer value: leading blanks, an optional sign, digits up to
// the first non-digit; no digits give 0.
int integerValue(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '\n' || text[i] == '\r' ||
                               text[i] == '\f' || text[i] == '\v')) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) value = value * 10 + (text[i] - '0');
    return static_cast<int>(negative ? -value : value);
}

bool inRange(int value, int low, int high) { return value >= low && value <= high; }

int sign(int value) { return (value > 0) - (value < 0); }

// Appends value as printf's "%0<width>d" would, without printf's cost for
// the common case of a small non-negative number.
void appendZeroPadded(std::string& out, int value, int width) {
    if (value < 0 || (width == 2 && value > 99) || (width == 4 && value > 9999)) {
        char buffer[32];
        std::snprintf(buffer, sizeof buffer, "%0*d", width, value);
        out += buffer;
        return;
    }
    char digits[4];
    for (int i = width - 1; i >= 0; --i) {
        digits[i] = static_cast<char>('0' + value % 10);
        value /= 10;
    }
    out.append(digits, static_cast<size_t>(width));
}

// "%0<w>d<sep>%02d<sep>%02d".
std::string threeFields(int first, int firstWidth, int second, int third, char separator) {
    std::string text;
    appendZeroPadded(text, first, firstWidth);
    text.push_back(separator);
    appendZeroPadded(text, second, 2);
    text.push_back(separator);
    appendZeroPadded(text, third, 2);
    return text;
}

}  // namespace

std::string_view mediaDivisionWord(ORVMediaDivision division) {
    switch (division) {
    case ORVMediaDivisionAlways: return "alwa";
    case ORVMediaDivisionMotion: return "motion";
    case ORVMediaDivisionEvent: return "event";
    }
    return {};
}

std::string_view mediaDirectionWord(ORVMediaDirection direction) {
    switch (direction) {
    case ORVMediaDirectionFront: return "front";
    case ORVMediaDirectionRear: return "rear";
    case ORVMediaDirectionUnknown: break;
    }
    return {};
}

TextKey mediaDivisionLabelKey(ORVMediaDivision division) {
    switch (division) {
    case ORVMediaDivisionAlways: return TextKey{"media.always"};
    case ORVMediaDivisionMotion: return TextKey{"media.motion"};
    case ORVMediaDivisionEvent: return TextKey{"media.event"};
    }
    return TextKey{"media.unknown"};
}

ORVMedia::ORVMedia() : m_timeKey("00000000000000") {}

ORVMedia::ORVMedia(std::string_view path) : ORVMedia() { parsePath(path); }

std::shared_ptr<ORVMedia> ORVMedia::mediaWithPath(std::string_view path) {
    return std::make_shared<ORVMedia>(path);
}

void ORVMedia::parsePath(std::string_view path) {
    m_path = PathNames::normalizedFilePath(path);
    rememberNameParts();

    if (!hasTemplateLength(m_nameLength)) {
        updateToUnknown();
        return;
    }
    m_mediaDirection = ORVMediaDirectionUnknown;

    std::string_view name = mediaName();
    struct Prefix {
        std::string_view text;
        ORVMediaDivision division;
    };
    static constexpr Prefix kPrefixes[] = {
        {"alwa_", ORVMediaDivisionAlways},
        {"motion_", ORVMediaDivisionMotion},
        {"event_", ORVMediaDivisionEvent},
    };
    for (const Prefix& prefix : kPrefixes) {
        if (!name.starts_with(prefix.text)) continue;
        m_mediaDivision = prefix.division;
        if (!parseTimeByName(name, prefix.text.size())) {
            updateToUnknown();
            return;
        }
        break;
    }

    if (name.ends_with("_F")) {
        m_mediaDirection = ORVMediaDirectionFront;
    } else if (name.ends_with("_R")) {
        m_mediaDirection = ORVMediaDirectionRear;
    }
}

bool ORVMedia::parseTimeByName(std::string_view name, size_t p) {
    if (name.size() < p + kTimeLength) return false;
    // The separator at p + 8 is deliberately not examined.
    m_year = integerValue(name.substr(p, 4));
    m_month = integerValue(name.substr(p + 4, 2));
    m_day = integerValue(name.substr(p + 6, 2));
    m_hour = integerValue(name.substr(p + 9, 2));
    m_minute = integerValue(name.substr(p + 11, 2));
    m_second = integerValue(name.substr(p + 13, 2));
    updateTimeKey();
    return inRange(m_year, 1970, 2700) && inRange(m_month, 1, 12) && inRange(m_day, 1, 31) &&
           inRange(m_hour, 0, 24) && inRange(m_minute, 0, 60) && inRange(m_second, 0, 60);
}

void ORVMedia::updateToUnknown() {
    m_year = m_month = m_day = m_hour = m_minute = m_second = 0;
    updateTimeKey();
}

void ORVMedia::updateTimeKey() {
    const int parts[] = {m_month, m_day, m_hour, m_minute, m_second};
    bool small = m_year >= 0 && m_year <= 9999;
    for (int part : parts) small = small && part >= 0 && part <= 99;
    if (!small) {
        m_timeKey.clear();
        appendZeroPadded(m_timeKey, m_year, 4);
        for (int part : parts) appendZeroPadded(m_timeKey, part, 2);
        return;
    }
    char key[14];
    int year = m_year;
    for (int i = 3; i >= 0; --i, year /= 10) key[i] = static_cast<char>('0' + year % 10);
    for (int i = 0; i < 5; ++i) {
        key[4 + 2 * i] = static_cast<char>('0' + parts[i] / 10);
        key[5 + 2 * i] = static_cast<char>('0' + parts[i] % 10);
    }
    m_timeKey.assign(key, sizeof key);
}

void ORVMedia::setYear(int value) { m_year = value; updateTimeKey(); }
void ORVMedia::setMonth(int value) { m_month = value; updateTimeKey(); }
void ORVMedia::setDay(int value) { m_day = value; updateTimeKey(); }
void ORVMedia::setHour(int value) { m_hour = value; updateTimeKey(); }
void ORVMedia::setMinute(int value) { m_minute = value; updateTimeKey(); }
void ORVMedia::setSecond(int value) { m_second = value; updateTimeKey(); }

void ORVMedia::rememberNameParts() {
    const std::string_view path = m_path;
    const std::string_view component = PathNames::lastComponent(path);
    const std::string_view name = PathNames::withoutExtension(component);
    const std::string_view extension = PathNames::extension(component);
    m_nameStart = static_cast<std::uint32_t>(name.data() - path.data());
    m_nameLength = static_cast<std::uint32_t>(name.size());
    m_extensionStart = static_cast<std::uint32_t>(extension.empty() ? path.size() : extension.data() - path.data());
}

std::string_view ORVMedia::dir() const {
    const std::string_view path = m_path;
    const size_t slash = path.rfind('/');
    if (slash == std::string_view::npos) return std::string_view();
    return path.substr(0, slash == 0 ? 1 : slash);
}

std::string ORVMedia::fileName() const {
    std::string name(mediaName());
    name.push_back('.');
    name.append(extension());
    return name;
}

std::string ORVMedia::mediaGroupName() const {
    const std::string_view name = mediaName();
    if (name.size() < 2) return std::string();
    return std::string(name.substr(0, name.size() - 2));
}

std::optional<std::uint64_t> ORVMedia::packedTime() const {
    if (m_timeKey.size() != 14) return std::nullopt;
    std::uint64_t value = 0;
    for (char c : m_timeKey) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + static_cast<std::uint64_t>(c - '0');
    }
    return value;
}

int ORVMedia::compareDate(const ORVMedia& other) const {
    int byTime = m_timeKey.compare(other.m_timeKey);
    if (byTime != 0) return sign(byTime);
    if (m_mediaDivision != other.m_mediaDivision) return sign(other.m_mediaDivision - m_mediaDivision);
    return sign(m_mediaDirection - other.m_mediaDirection);
}

std::string ORVMedia::dateText() const {
    if (m_year < 1) return std::string();
    return threeFields(m_year, 4, m_month, m_day, '-');
}

std::string ORVMedia::timeText() const {
    if (m_year < 1) return std::string();
    return threeFields(m_hour, 2, m_minute, m_second, ':');
}

std::string ORVMedia::modeText() const { return localized(mediaDivisionLabelKey(m_mediaDivision)); }

std::string ORVMedia::modeIconName() const {
    std::string_view side = mediaDirectionWord(m_mediaDirection);
    std::string_view mode = mediaDivisionWord(m_mediaDivision);
    if (side.empty() || mode.empty()) return std::string();
    return "car_" + std::string(side) + "_" + std::string(mode);
}

}  // namespace zentrova
