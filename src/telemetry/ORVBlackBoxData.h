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

// The telemetry of one front recording: one record per chunk of the
// camera's telemetry track, turned into parallel lists.
class ORVBlackBoxData {
public:
    // Size of one chunk: two leading bytes, then the telemetry record.
    static constexpr std::size_t kChunkSize = 155;
    static constexpr std::size_t kRecordSize = 153;

    // Replaces everything held with the telemetry of the file; false when
    // the file cannot be opened or is not laid out as the camera writes it.
    bool ExtractStreamInformation(const std::string& path);
    // The same from any bytes (the file's own reader or a copy in memory).
    bool ExtractStreamInformation(ByteSource& source);

    void clear();
    // Samples minus one, never less than 1.
    std::uint32_t frameCount() const;

    // Splits the text at CR, LF and NUL (overwriting them with NUL) and
    // parses every "$G" sentence, appending a snapshot of the fix for each.
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
    bool extractAfterStart(ByteSource& source);
    void readRecords(ByteSource& source, const ChunkOffsetTable& table);
    // Reads the chunk of each entry into chunks one after the other, leaving
    // out those not in the file whole; gives how many were read.
    static std::size_t readChunks(ByteSource& source, std::span<const std::uint8_t> entries, std::uint8_t* chunks);
    void reserveFor(const ByteSource& source, const ChunkOffsetTable& table);
    // The record is changed: its text is split in place.
    void handleRecord(std::uint8_t* record);
    // Ends the text that began at start at the line end or NUL at end and
    // parses it when it is a "$G" sentence.
    void endSentenceAt(std::uint8_t* buffer, std::uint32_t start, std::uint32_t end);
};

}  // namespace zentrova
