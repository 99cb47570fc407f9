#include "TelemetryTrackBuilder.h"

#include "TelemetryRecord.h"

namespace zentrova::samplecard {
namespace {

constexpr std::uint32_t kFixedOne = 0x00010000;

void appendUnityMatrix(ByteAppender& append) {
    const std::uint32_t matrix[9] = {kFixedOne, 0, 0, 0, kFixedOne, 0, 0, 0, 0x40000000};
    for (std::uint32_t value : matrix) append.bigEndian32(value);
}

Mp4Box fullBox(const std::string& type, const Bytes& body) {
    Bytes payload;
    ByteAppender(payload).bigEndian32(0);  // version 0, no flags
    payload.insert(payload.end(), body.begin(), body.end());
    return Mp4Box::leaf(type, payload);
}

}  // namespace

Mp4Box TelemetryTrackBuilder::build() const {
    Mp4Box minf = Mp4Box::parent("minf", {fullBox("nmhd", {}), dataInformation(), sampleTable()});
    Mp4Box mdia = Mp4Box::parent("mdia", {mediaHeader(), handler(), minf});
    return Mp4Box::parent("trak", {trackHeader(), editList(), mdia});
}

std::uint32_t TelemetryTrackBuilder::mediaDuration() const {
    return static_cast<std::uint32_t>(chunkOffsets.size() * (kMediaTimescale / recordsPerSecond));
}

std::uint32_t TelemetryTrackBuilder::movieDuration() const {
    return static_cast<std::uint32_t>(std::uint64_t{mediaDuration()} * movieTimescale / kMediaTimescale);
}

Mp4Box TelemetryTrackBuilder::trackHeader() const {
    Bytes body;
    ByteAppender append(body);
    append.bigEndian32(0);  // creation time
    append.bigEndian32(0);  // modification time
    append.bigEndian32(trackId);
    append.bigEndian32(0);
    append.bigEndian32(movieDuration());
    append.zeros(8);
    append.bigEndian16(0);  // layer
    append.bigEndian16(0);  // alternate group
    append.bigEndian16(0);  // volume: not an audio track
    append.bigEndian16(0);
    appendUnityMatrix(append);
    append.bigEndian32(0);  // width
    append.bigEndian32(0);  // height
    Mp4Box box = fullBox("tkhd", body);
    box.payload[3] = 0x01;  // enabled, but neither in the movie nor in the preview
    return box;
}

Mp4Box TelemetryTrackBuilder::editList() const {
    Bytes body;
    ByteAppender append(body);
    append.bigEndian32(1);
    append.bigEndian32(movieDuration());
    append.bigEndian32(0);  // media time
    append.bigEndian32(kFixedOne);
    return Mp4Box::parent("edts", {fullBox("elst", body)});
}

Mp4Box TelemetryTrackBuilder::mediaHeader() const {
    Bytes body;
    ByteAppender append(body);
    append.bigEndian32(0);
    append.bigEndian32(0);
    append.bigEndian32(kMediaTimescale);
    append.bigEndian32(mediaDuration());
    append.bigEndian16(0x55C4);  // language "und"
    append.bigEndian16(0);
    return fullBox("mdhd", body);
}

Mp4Box TelemetryTrackBuilder::handler() {
    Bytes body;
    ByteAppender append(body);
    append.bigEndian32(0);
    append.text("meta");
    append.zeros(12);
    append.text("TelemetryHandler");
    append.u8(0);
    return fullBox("hdlr", body);
}

Mp4Box TelemetryTrackBuilder::dataInformation() {
    Bytes reference;
    ByteAppender append(reference);
    append.bigEndian32(1);   // one entry
    append.bigEndian32(12);  // "url " box with the self-contained flag
    append.text("url ");
    append.bigEndian32(1);
    return Mp4Box::parent("dinf", {fullBox("dref", reference)});
}

Mp4Box TelemetryTrackBuilder::sampleTable() const {
    const auto count = static_cast<std::uint32_t>(chunkOffsets.size());

    Bytes description;
    ByteAppender describe(description);
    describe.bigEndian32(1);
    describe.bigEndian32(16);
    describe.text("gpsd");
    describe.zeros(6);
    describe.bigEndian16(1);  // data reference index

    Bytes times;
    ByteAppender time(times);
    time.bigEndian32(count ? 1 : 0);
    if (count) {
        time.bigEndian32(count);
        time.bigEndian32(kMediaTimescale / recordsPerSecond);
    }

    Bytes chunking;
    ByteAppender chunk(chunking);
    chunk.bigEndian32(count ? 1 : 0);
    if (count) {
        chunk.bigEndian32(1);  // from the first chunk on
        chunk.bigEndian32(1);  // one sample per chunk
        chunk.bigEndian32(1);
    }

    Bytes sizes;
    ByteAppender size(sizes);
    size.bigEndian32(TelemetryRecord::kChunkSize);
    size.bigEndian32(count);

    Bytes offsets;
    ByteAppender offset(offsets);
    offset.bigEndian32(count);
    for (std::uint32_t value : chunkOffsets) offset.bigEndian32(value);

    return Mp4Box::parent("stbl", {fullBox("stsd", description), fullBox("stts", times), fullBox("stsc", chunking),
                                   fullBox("stsz", sizes), fullBox("stco", offsets)});
}

}  // namespace zentrova::samplecard
