#pragma once

// What every extraction must leave, whatever the bytes: parallel lists, no
// more records than the file has room for, and lists within the bounds that
// keep one extraction's memory fixed.
#include "QuietLog.h"
#include "telemetry/ORVBlackBoxData.h"

#include <cstdint>
#include <cstdlib>

namespace zentrova::fuzz {

inline void checkExtraction(bool ok, const ORVBlackBoxData& telemetry, std::uint64_t fileSize) {
    const std::size_t records = telemetry.m_Times.size();
    const bool aligned = telemetry.m_vGSensorData.size() == records && telemetry.m_GSensors.size() == records &&
                         telemetry.m_vGpsData.size() == records;
    // Each record needs its 155-byte chunk in the file, and holds at most one
    // sentence per three of its 128 text bytes.
    const bool fits = records <= fileSize / ORVBlackBoxData::kChunkSize && telemetry.m_NMEAs.size() <= records * 42;
    const bool bounded = telemetry.m_Times.capacity() <= ORVBlackBoxData::kMostRecords &&
                         telemetry.m_vGSensorData.capacity() <= ORVBlackBoxData::kMostRecords &&
                         telemetry.m_GSensors.capacity() <= ORVBlackBoxData::kMostRecords &&
                         telemetry.m_vGpsData.capacity() <= ORVBlackBoxData::kMostRecords &&
                         telemetry.m_NMEAs.capacity() <= ORVBlackBoxData::kMostSentences;
    const bool failureTold = ok == (telemetry.lastFailure() == TelemetryFailure::None);
    const bool emptyOnFailure = ok || (records == 0 && telemetry.m_NMEAs.empty());
    if (!aligned || !fits || !bounded || !failureTold || !emptyOnFailure) std::abort();
}

}  // namespace zentrova::fuzz
