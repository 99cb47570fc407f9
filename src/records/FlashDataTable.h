#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "records/FLASH_SAVE_VALUE_STRUCT.h"

namespace zentrova {

// Where a record lies, in decimal degrees; the log has no hemisphere, so
// both are positive.
struct FlashDataPosition {
    double latitude = 0;
    double longitude = 0;

    // A record without a fix has zeros; the map is not moved for it.
    bool isOnMap() const { return latitude != 0 && longitude != 0; }
};

// The records of a drive-log file as the 15 columns of its table: titles,
// widths, the text of every cell and the map position of a row.
class FlashDataTable {
public:
    static constexpr int kColumnCount = 15;

    // The title of a column: localized, except "X", "Y" and "Z" as written.
    static std::string columnTitle(int column);
    static std::vector<std::string> columnNames();
    // Width in points; 0 for a column outside the table.
    static int columnWidth(int column);

    // Replaces the records, and with them their count, in one step.
    void setRecords(std::vector<FLASH_SAVE_VALUE_STRUCT> records) { m_records = std::move(records); }
    const std::vector<FLASH_SAVE_VALUE_STRUCT>& records() const { return m_records; }
    std::int64_t flashDataNum() const { return static_cast<std::int64_t>(m_records.size()); }

    // The cell text; empty outside the table.
    std::string stringForColumnIndex(int column, std::int64_t row) const;
    // The cell text of a record shown in the given row (counted from 0).
    static std::string cellText(int column, std::int64_t row, const FLASH_SAVE_VALUE_STRUCT& record);

    // None for a row outside the table.
    std::optional<FlashDataPosition> positionForRow(std::int64_t row) const;
    // The latitude and longitude texts of the table read back as numbers and
    // converted from degrees and minutes to degrees.
    static FlashDataPosition positionOf(const FLASH_SAVE_VALUE_STRUCT& record);

private:
    std::vector<FLASH_SAVE_VALUE_STRUCT> m_records;
};

}  // namespace zentrova
