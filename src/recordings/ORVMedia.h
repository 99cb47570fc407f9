#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "common/Localization.h"

namespace zentrova {

enum ORVMediaDivision : std::int32_t {
    ORVMediaDivisionAlways = 0,
    ORVMediaDivisionMotion = 1,
    ORVMediaDivisionEvent = 2,
};

enum ORVMediaDirection : std::int32_t {
    ORVMediaDirectionFront = 0,
    ORVMediaDirectionRear = 1,
    ORVMediaDirectionUnknown = 2,
};

// Mode word ("alwa", "motion", "event") or empty for another code.
std::string_view mediaDivisionWord(ORVMediaDivision division);
// Side word ("front", "rear") or empty for unknown.
std::string_view mediaDirectionWord(ORVMediaDirection direction);
// String-table key of the mode label; "media.unknown" for another code.
TextKey mediaDivisionLabelKey(ORVMediaDivision division);

// One recording file on the card; the name is parsed once, on creation.
class ORVMedia {
public:
    ORVMedia();
    explicit ORVMedia(std::string_view path);
    static std::shared_ptr<ORVMedia> mediaWithPath(std::string_view path);

    void parsePath(std::string_view path);

    const std::string& path() const { return m_path; }
    // Views into path(): valid while this record lives and its path is unchanged.
    std::string_view mediaName() const { return std::string_view(m_path).substr(m_nameStart, m_nameLength); }
    std::string_view extension() const { return std::string_view(m_path).substr(m_extensionStart); }
    std::string_view dir() const;
    int year() const { return m_year; }
    int month() const { return m_month; }
    int day() const { return m_day; }
    int hour() const { return m_hour; }
    int minute() const { return m_minute; }
    int second() const { return m_second; }
    ORVMediaDivision mediaDivision() const { return m_mediaDivision; }
    ORVMediaDirection mediaDirection() const { return m_mediaDirection; }

    void setYear(int value);
    void setMonth(int value);
    void setDay(int value);
    void setHour(int value);
    void setMinute(int value);
    void setSecond(int value);
    void setMediaDivision(ORVMediaDivision division) { m_mediaDivision = division; }
    void setMediaDirection(ORVMediaDirection direction) { m_mediaDirection = direction; }

    bool isFrontMedia() const { return m_mediaDirection == ORVMediaDirectionFront; }
    bool isRearMedia() const { return m_mediaDirection == ORVMediaDirectionRear; }
    bool isAlwaysMedia() const { return m_mediaDivision == ORVMediaDivisionAlways; }
    bool isMotionMedia() const { return m_mediaDivision == ORVMediaDivisionMotion; }
    bool isEventMedia() const { return m_mediaDivision == ORVMediaDivisionEvent; }

    std::string fileName() const;
    std::string mediaGroupName() const;
    const std::string& yyyymmddhhmiss() const { return m_timeKey; }

    // The start time as the number yyyymmddhhmiss, which orders exactly as
    // the text does; none when a field does not fit its width.
    std::optional<std::uint64_t> packedTime() const;

    // -1 when this record sorts before other, 0 when equal, +1 after.
    int compareDate(const ORVMedia& other) const;

    // Display forms of the recordings table.
    std::string dateText() const;
    std::string timeText() const;
    std::string modeText() const;
    // "car_<side>_<mode>", or empty when the side or the mode has no word.
    std::string modeIconName() const;

private:
    void rememberNameParts();
    void updateToUnknown();
    bool parseTimeByName(std::string_view name, size_t startPos);
    void updateTimeKey();

    // A card holds thousands of records: the name, extension and folder are
    // kept as positions in the one path string rather than as copies.
    std::string m_path;
    std::uint32_t m_nameStart = 0;
    std::uint32_t m_nameLength = 0;
    std::uint32_t m_extensionStart = 0;
    int m_year = 0;
    int m_month = 0;
    int m_day = 0;
    int m_hour = 0;
    int m_minute = 0;
    int m_second = 0;
    ORVMediaDivision m_mediaDivision = ORVMediaDivisionAlways;
    ORVMediaDirection m_mediaDirection = ORVMediaDirectionFront;
    std::string m_timeKey;
};

}  // namespace zentrova
