#include "telemetry/ORVBlackBoxData.h"

#include "common/Log.h"
#include "telemetry/ByteOrder.h"
#include "telemetry/ByteRuns.h"
#include "telemetry/FileByteSource.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cstring>
#include <new>

namespace zentrova {
namespace {

constexpr std::string_view kStartLine = "#############################   START";
constexpr std::string_view kFinishLine = "#############################  FINISH";

constexpr std::size_t kTimeOffset = 0;
constexpr std::size_t kGSensorOffset = 8;
constexpr std::size_t kGpsOffset = 24;
constexpr std::uint32_t kTimeRecordSize = 16;
constexpr std::uint32_t kFrameDataSize = 8;
constexpr std::uint32_t kEntrySize = ChunkOffsetTable::kEntrySize;
// Table entries are read in blocks of this many, which keeps the memory
// for the table small whatever count its header claims.
constexpr std::uint32_t kEntriesPerBlock = 1024;
// Chunks read before they are parsed: few enough to stay in the fastest cache.
constexpr std::size_t kChunksPerBatch = 64;

// The bytes of a run that start or end a sentence.
std::uint64_t sentenceMarks(std::uint64_t run) {
    return bytesEqual(run, '$') | bytesEqual(run, 0) | bytesEqual(run, '\n') | bytesEqual(run, '\r');
}

// The marks of the run at base, only those inside the buffer: a short last
// run is filled with NUL, which would read as sentence ends.
std::uint64_t sentenceMarksAt(const std::uint8_t* buffer, std::uint32_t base, std::uint32_t size) {
    const std::uint32_t left = size - base;
    const bool whole = left >= kRunSize;
    const std::uint64_t marks = sentenceMarks(whole ? loadRun(buffer + base) : loadShortRun(buffer + base, left));
    return whole ? marks : marks & ((std::uint64_t{1} << (8 * left)) - 1);
}

// Entries of the table that lie both in its box and in the file.
std::uint32_t entriesToRead(const ByteSource& source, const ChunkOffsetTable& table) {
    const std::uint32_t inBox = table.entriesInBox();
    // From 4 GiB on, every 32-bit position, wrapped or not, lies in the file.
    if (source.size() >= (std::uint64_t{1} << 32)) return inBox;
    const std::uint64_t inFile = source.size() > table.firstEntry ? (source.size() - table.firstEntry) / kEntrySize : 0;
    return static_cast<std::uint32_t>(std::min<std::uint64_t>(inBox, inFile));
}

// Every record needs its own whole chunk in the file.
std::uint64_t mostRecordsIn(const ByteSource& source) {
    return std::min<std::uint64_t>(ORVBlackBoxData::kMostRecords, source.size() / ORVBlackBoxData::kChunkSize);
}

std::string_view failureLine(TelemetryFailure failure) {
    switch (failure) {
    case TelemetryFailure::TooManyRecords: return "telemetry: the chunk table lists more records than can be read";
    case TelemetryFailure::TooManySentences: return "telemetry: more NMEA sentences than can be read";
    case TelemetryFailure::OutOfMemory: return "telemetry: out of memory";
    default: return {};
    }
}

template <typename T>
void release(std::vector<T>& list) {
    std::vector<T>().swap(list);
}

SYSTEMTIME calendarTime(std::uint32_t secondsSince1970) {
    using namespace std::chrono;
    const sys_seconds instant{seconds{secondsSince1970}};
    const sys_days day = floor<days>(instant);
    const year_month_day date{day};
    const hh_mm_ss<seconds> clock{instant - day};
    SYSTEMTIME time;
    time.wYear = static_cast<std::uint16_t>(static_cast<int>(date.year()));
    time.wMonth = static_cast<std::uint16_t>(static_cast<unsigned>(date.month()));
    time.wDayOfWeek = 0;
    time.wDay = static_cast<std::uint16_t>(static_cast<unsigned>(date.day()));
    time.wHour = static_cast<std::uint16_t>(clock.hours().count());
    time.wMinute = static_cast<std::uint16_t>(clock.minutes().count());
    time.wSecond = static_cast<std::uint16_t>(clock.seconds().count());
    time.wMilliseconds = 0;
    return time;
}

}  // namespace

bool ORVBlackBoxData::ExtractStreamInformation(const std::string& path) {
    logLine(kStartLine);
    clear();
    return extractGuarded([&] {
        FileByteSource file;
        if (!file.open(path)) return fail(TelemetryFailure::CannotOpen);
        return extractAfterStart(file);
    });
}

bool ORVBlackBoxData::ExtractStreamInformation(ByteSource& source) {
    logLine(kStartLine);
    clear();
    return extractGuarded([&] { return extractAfterStart(source); });
}

template <typename Extraction>
bool ORVBlackBoxData::extractGuarded(Extraction extraction) {
    // The lists are bounded, but a process near its memory limit may still
    // not get them: that is a failed extraction, not the end of the program.
    try {
        return extraction();
    } catch (const std::bad_alloc&) {
        return fail(TelemetryFailure::OutOfMemory);
    }
}

bool ORVBlackBoxData::extractAfterStart(ByteSource& source) {
    const auto table = TelemetryBoxWalk::locate(source);
    if (!table) return fail(TelemetryFailure::NotCameraLayout);
    const std::uint32_t entries = entriesToRead(source, *table);
    if (entries > mostRecordsIn(source)) return fail(TelemetryFailure::TooManyRecords);
    if (!readRecords(source, *table, entries)) return fail(TelemetryFailure::TooManySentences);
    logLine(kFinishLine);
    return true;
}

bool ORVBlackBoxData::fail(TelemetryFailure failure) {
    // The memory goes back at once: the object waits for the next recording.
    release(m_NMEAs);
    release(m_GSensors);
    release(m_Times);
    release(m_TimeEvents);
    release(m_vGSensorData);
    release(m_vGpsData);
    clear();
    m_lastFailure = failure;
    if (const std::string_view line = failureLine(failure); !line.empty()) logLine(line);
    return false;
}

void ORVBlackBoxData::reserveFor(std::uint32_t entries) {
    m_Times.reserve(entries);
    m_vGSensorData.reserve(entries);
    m_GSensors.reserve(entries);
    m_vGpsData.reserve(entries);
    // The camera writes two sentences a record.
    m_NMEAs.reserve(std::min(2 * std::size_t{entries}, kMostSentences));
}

bool ORVBlackBoxData::readRecords(ByteSource& source, const ChunkOffsetTable& table, std::uint32_t entryCount) {
    reserveFor(entryCount);
    std::vector<std::uint8_t> entries(std::size_t{kEntriesPerBlock} * kEntrySize);
    // A batch of chunks is read before any of them is parsed:
    // the same reads in the same order, but the parsing then runs with what
    // it needs still in the caches, which every read of the file disturbs.
    std::vector<std::uint8_t> chunks(kChunksPerBatch * kChunkSize);
    std::uint32_t position = table.firstEntry;
    std::uint64_t remaining = entryCount;
    while (remaining > 0) {
        // Entry positions wrap at 2^32 like every position of the file, so a
        // block never holds entries on both sides of the wrap.
        const std::uint64_t beforeWrap = ((std::uint64_t{1} << 32) - position + kEntrySize - 1) / kEntrySize;
        const auto count = static_cast<std::uint32_t>(std::min({remaining, std::uint64_t{kEntriesPerBlock}, beforeWrap}));
        const std::size_t got = source.readAt(position, std::span(entries.data(), std::size_t{count} * kEntrySize));
        const std::size_t whole = got / kEntrySize;
        for (std::size_t first = 0; first < whole; first += kChunksPerBatch) {
            const std::size_t batch = std::min(kChunksPerBatch, whole - first);
            const std::span<const std::uint8_t> batchEntries(entries.data() + first * kEntrySize, batch * kEntrySize);
            const std::size_t read = readChunks(source, batchEntries, chunks.data());
            for (std::size_t k = 0; k < read; ++k) {
                if (!handleRecord(chunks.data() + k * kChunkSize + 2)) return false;
            }
        }
        // A file that ends before the table (one that shrank while read):
        // no later entry can be read either.
        if (whole < count) return true;
        remaining -= count;
        position += count * kEntrySize;
    }
    return true;
}

std::size_t ORVBlackBoxData::readChunks(ByteSource& source, std::span<const std::uint8_t> entries,
                                        std::uint8_t* chunks) {
    std::size_t read = 0;
    for (std::size_t at = 0; at + kEntrySize <= entries.size(); at += kEntrySize) {
        const std::uint32_t chunkOffset = readBigEndian32(entries.data() + at);
        // A chunk that is not in the file whole contributes nothing.
        if (source.readAt(chunkOffset, std::span(chunks + read * kChunkSize, kChunkSize)) == kChunkSize) ++read;
    }
    return read;
}

bool ORVBlackBoxData::handleRecord(std::uint8_t* record) {
    m_Times.push_back(readLittleEndian32(record + kTimeOffset));

    const std::uint8_t* gsensor = record + kGSensorOffset;
    m_vGSensorData.emplace_back(gsensor);
    ParseGSensor(gsensor, static_cast<std::uint32_t>(ORVAviGSensorData::kSize));

    // The text is split in place, in the chunk read for this record only.
    std::uint8_t* gps = record + kGpsOffset;
    const bool allKept = ParseNMEA(gps + 1, static_cast<std::uint32_t>(ORVAviGpsData::kTextSize));
    m_vGpsData.emplace_back(gps);
    return allKept;
}

void ORVBlackBoxData::clear() {
    m_NMEAParser.clear();
    m_NMEAs.clear();
    m_GSensors.clear();
    m_Times.clear();
    m_TimeEvents.clear();
    m_vGSensorData.clear();
    m_vGpsData.clear();
    m_udatSpeedDisplay = 0;
    m_udatIncludeEvent = 0;
    m_udatRecPark = 0;
    m_LastTimeEventType = 0;
    m_lastFailure = TelemetryFailure::None;
}

std::uint32_t ORVBlackBoxData::frameCount() const {
    const std::size_t samples = m_GSensors.size();
    return samples <= 2 ? 1 : static_cast<std::uint32_t>(samples - 1);
}

bool ORVBlackBoxData::ParseNMEA(std::uint8_t* buffer, std::uint32_t bufferSize) {
    if (!buffer || bufferSize == 0) return false;
    bool allKept = true;
    std::uint32_t start = 0;
    // The last step stops at the end, so base cannot wrap past 2^32.
    for (std::uint32_t base = 0; base < bufferSize; base += std::min<std::uint32_t>(kRunSize, bufferSize - base)) {
        // Marks of a run are found before any is handled; handling one only
        // turns an end already found into NUL.
        for (std::uint64_t marks = sentenceMarksAt(buffer, base, bufferSize); marks != 0; marks &= marks - 1) {
            const std::uint32_t i = base + static_cast<std::uint32_t>(firstByteOf(marks));
            if (buffer[i] == '$') {
                start = i;
                continue;
            }
            allKept = endSentenceAt(buffer, start, i) && allKept;
            start = i + 1;
        }
    }
    return allKept;
}

bool ORVBlackBoxData::endSentenceAt(std::uint8_t* buffer, std::uint32_t start, std::uint32_t end) {
    buffer[end] = 0;
    // start < end here, so both bytes lie inside the buffer.
    if (start < end && buffer[start] == '$' && buffer[start + 1] == 'G') {
        if (m_NMEAs.size() >= kMostSentences) return false;
        m_NMEAParser.parse(std::string_view(reinterpret_cast<const char*>(buffer + start), end - start));
        appendSnapshot();
    }
    return true;
}

void ORVBlackBoxData::appendSnapshot() {
    // Grown by hand, so that its capacity too stays within kMostSentences.
    if (m_NMEAs.size() == m_NMEAs.capacity()) {
        m_NMEAs.reserve(std::min(kMostSentences, std::max<std::size_t>(16, 2 * m_NMEAs.size())));
    }
    m_NMEAs.push_back(m_NMEAParser.m_Current);
}

bool ORVBlackBoxData::ParseGSensor(const std::uint8_t* buffer, std::uint32_t bufferSize) {
    if (!buffer || bufferSize < ORVAviGSensorData::kSize) return false;
    m_GSensors.push_back(ORVGSensor::fromRaw(readLittleEndianSigned32(buffer), readLittleEndianSigned32(buffer + 4),
                                             readLittleEndianSigned32(buffer + 8)));
    return true;
}

bool ORVBlackBoxData::ParseFrameData(const std::uint8_t* buffer, std::uint32_t bufferSize) {
    if (!buffer || bufferSize != kFrameDataSize) return false;
    m_udatSpeedDisplay = buffer[4];
    m_udatRecPark = buffer[6];
    m_udatIncludeEvent = buffer[7];
    return true;
}

bool ORVBlackBoxData::ParseTime(const std::uint8_t* buffer, std::uint32_t bufferSize) {
    if (!buffer || bufferSize < kTimeRecordSize) return false;
    const std::uint32_t timeValue = readLittleEndian32(buffer);
    const std::uint32_t eventType = readBigEndian32(buffer + 12);
    if (eventType != 0 && eventType != m_LastTimeEventType) {
        ORVTimeEvent event;
        event.setE(eventType == 1 ? 0 : 1);
        event.setT(calendarTime(timeValue));
        event.setF(static_cast<std::uint32_t>(m_Times.size()));
        m_TimeEvents.push_back(event);
    }
    m_LastTimeEventType = eventType;
    m_Times.push_back(timeValue);
    return true;
}

bool ORVBlackBoxData::ParseTimeEvent(const std::uint8_t*, std::uint32_t) {
    return true;
}

}  // namespace zentrova
