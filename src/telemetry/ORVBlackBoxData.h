#pragma once

#include "telemetry/ByteSource.h"
#include "telemetry/ORVAviGSensorData.h"
#include "telemetry/ORVAviGpsData.h"
#include "telemetry/ORVGSensor.h"
#include "telemetry/ORVGpsData.h"
#include "telemetry/ORVNMEASentenceParser.h"
#include "telemetry/ORVTimeEvent.h"
#include "telemetry/TelemetryBoxWalk.h"

#include <cstdint>
#include <string>
#include <vector>

namespace zentrova {

// Why the last extraction gave no telemetry.
enum class TelemetryFailure {
    None,
    CannotOpen,
    NotCameraLayout,  // a check or a read of the box walk failed
    // The chunk table lists more records than the file can hold (each needs
    // its whole chunk in the file) or than one extraction takes.
    TooManyRecords,
    TooManySentences,  // more NMEA sentences than one extraction takes
    OutOfMemory,
};

// The telemetry of one front recording: one record per chunk of the
// camera's telemetry track, turned into parallel lists.
class ORVBlackBoxData {
public:
    // Size of one chunk: two leading bytes, then the telemetry record.
    static constexpr std::size_t kChunkSize = 155;
    static constexpr std::size_t kRecordSize = 153;
    // What one extraction holds at most, which bounds its memory whatever the
    // file says: 7 hours of the camera's ten records a second, and two
    // sentences each (all that fit in a record's text). The lists then take
    // at most 2^18 x 161 bytes for the records and 2^19 x sizeof(ORVGpsData)
    // for the fixes, about 114 MB.
    static constexpr std::size_t kMostRecords = std::size_t{1} << 18;
    static constexpr std::size_t kMostSentences = std::size_t{1} << 19;

    // Replaces everything held with the telemetry of the file; false (and
    // empty lists) when the file cannot be opened, is not laid out as the
    // camera writes it, holds more than one extraction takes or memory runs
    // out; lastFailure() says which.
    bool ExtractStreamInformation(const std::string& path);
    // The same from any bytes (the file's own reader or a copy in memory).
    bool ExtractStreamInformation(ByteSource& source);
    TelemetryFailure lastFailure() const { return m_lastFailure; }

    void clear();
    // Samples minus one, never less than 1.
    std::uint32_t frameCount() const;

    // Splits the text at CR, LF and NUL (overwriting them with NUL) and
    // parses every "$G" sentence, appending a snapshot of the fix for each;
    // false when a snapshot was left out as m_NMEAs held kMostSentences.
    bool ParseNMEA(std::uint8_t* buffer, std::uint32_t bufferSize);
    // One 16-byte G-sensor block; refused when shorter.
    bool ParseGSensor(const std::uint8_t* buffer, std::uint32_t bufferSize);
    // One 8-byte frame block; refused when it is not exactly 8 bytes.
    bool ParseFrameData(const std::uint8_t* buffer, std::uint32_t bufferSize);
    // One 16-byte time record; refused when shorter.
    bool ParseTime(const std::uint8_t* buffer, std::uint32_t bufferSize);
    bool ParseTimeEvent(const std::uint8_t* buffer, std::uint32_t bufferSize);

    ORVNMEASentenceParser m_NMEAParser;
    std::vector<ORVGpsData> m_NMEAs;
    std::vector<ORVGSensor> m_GSensors;
    std::vector<std::uint32_t> m_Times;
    std::vector<ORVTimeEvent> m_TimeEvents;
    std::vector<ORVAviGSensorData> m_vGSensorData;
    std::vector<ORVAviGpsData> m_vGpsData;
    std::uint8_t m_udatSpeedDisplay = 0;
    std::uint8_t m_udatIncludeEvent = 0;
    std::uint8_t m_udatRecPark = 0;
    std::uint32_t m_LastTimeEventType = 0;

private:
    template <typename Extraction>
    bool extractGuarded(Extraction extraction);
    bool extractAfterStart(ByteSource& source);
    bool fail(TelemetryFailure failure);
    // False when the sentences ran over kMostSentences.
    bool readRecords(ByteSource& source, const ChunkOffsetTable& table, std::uint32_t entryCount);
    // Reads the chunk of each entry into chunks one after the other, leaving
    // out those not in the file whole; gives how many were read.
    static std::size_t readChunks(ByteSource& source, std::span<const std::uint8_t> entries, std::uint8_t* chunks);
    void reserveFor(std::uint32_t entries);
    // The record is changed: its text is split in place. False as ParseNMEA.
    bool handleRecord(std::uint8_t* record);
    // Ends the text that began at start at the line end or NUL at end and
    // parses it when it is a "$G" sentence; false when its snapshot was left out.
    bool endSentenceAt(std::uint8_t* buffer, std::uint32_t start, std::uint32_t end);
    void appendSnapshot();

    TelemetryFailure m_lastFailure = TelemetryFailure::None;
};

}  // namespace zentrova
