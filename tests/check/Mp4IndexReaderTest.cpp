#include "check/Mp4IndexReader.h"
#include "telemetry/MemoryByteSource.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace zentrova {
namespace {

using Bytes = std::vector<std::uint8_t>;

void put32(Bytes& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<std::uint8_t>(value >> shift));
}

void put64(Bytes& out, std::uint64_t value) {
    put32(out, static_cast<std::uint32_t>(value >> 32));
    put32(out, static_cast<std::uint32_t>(value));
}

Bytes box(const std::string& type, const Bytes& payload) {
    Bytes out;
    put32(out, static_cast<std::uint32_t>(8 + payload.size()));
    out.insert(out.end(), type.begin(), type.end());
    out.insert(out.end(), payload.begin(), payload.end());
    return out;
}

Bytes join(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& part : parts) out.insert(out.end(), part.begin(), part.end());
    return out;
}

// "mvhd" or "mdhd" of version 0 or 1 with a time scale and a duration.
Bytes timeHeader(const std::string& type, int version, std::uint32_t timescale, std::uint64_t duration) {
    Bytes payload;
    put32(payload, static_cast<std::uint32_t>(version) << 24);
    if (version == 1) {
        put64(payload, 0);
        put64(payload, 0);
        put32(payload, timescale);
        put64(payload, duration);
    } else {
        put32(payload, 0);
        put32(payload, 0);
        put32(payload, timescale);
        put32(payload, static_cast<std::uint32_t>(duration));
    }
    payload.resize(payload.size() + 80, 0);  // the rest of a movie header
    return box(type, payload);
}

Bytes track(const std::string& handler, std::uint32_t timescale, std::uint64_t duration, int version = 0) {
    Bytes hdlr;
    put32(hdlr, 0);
    put32(hdlr, 0);
    hdlr.insert(hdlr.end(), handler.begin(), handler.end());
    hdlr.resize(hdlr.size() + 13, 0);
    const Bytes mdia = box("mdia", join({timeHeader("mdhd", version, timescale, duration), box("hdlr", hdlr),
                                         box("minf", Bytes(40, 0))}));
    return box("trak", join({box("tkhd", Bytes(84, 0)), box("edts", Bytes(20, 0)), mdia}));
}

Bytes ftyp() {
    Bytes payload{'a', 'v', 'c', '1', 0, 0, 2, 0};
    for (char c : std::string("isomavc1")) payload.push_back(static_cast<std::uint8_t>(c));
    return box("ftyp", payload);
}

Bytes media(std::size_t size = 4000) { return box("mdat", Bytes(size, 0x5A)); }

Bytes movie(std::initializer_list<Bytes> children) { return box("moov", join(children)); }

// The camera's layout: the media first, its index after it.
Bytes cameraFile() {
    return join({ftyp(), media(), movie({timeHeader("mvhd", 0, 1000, 60040), track("vide", 90000, 5400000),
                                          track("soun", 48000, 2881920)})});
}

Bytes cutAt(Bytes bytes, std::size_t size) {
    bytes.resize(size);
    return bytes;
}

Mp4Index indexOf(const Bytes& bytes) {
    MemoryByteSource source(bytes);
    return Mp4IndexReader::read(source);
}

// Counts every read and every byte, to prove the media is never read. The
// bytes must outlive it.
class CountingSource : public ByteSource {
public:
    explicit CountingSource(const Bytes& bytes) : m_bytes(bytes) {}
    CountingSource(Bytes&&) = delete;
    std::size_t readAt(std::uint64_t offset, std::span<std::uint8_t> out) override {
        ++reads;
        bytesRead += out.size();
        return m_bytes.readAt(offset, out);
    }
    std::uint64_t size() const override { return m_bytes.size(); }
    std::size_t reads = 0;
    std::size_t bytesRead = 0;

private:
    MemoryByteSource m_bytes;
};

TEST(Mp4IndexReaderTest, FaultOfEachKindOfFile) {
    const Bytes whole = cameraFile();
    Bytes largeMedia;
    put32(largeMedia, 1);
    for (char c : std::string("mdat")) largeMedia.push_back(static_cast<std::uint8_t>(c));
    put64(largeMedia, 16 + 100);
    largeMedia.resize(16 + 100, 0);
    Bytes unboundedMedia;  // size 0: to the end of the file, as while it is written
    put32(unboundedMedia, 0);
    for (char c : std::string("mdat")) unboundedMedia.push_back(static_cast<std::uint8_t>(c));
    unboundedMedia.resize(500, 0);
    Bytes tinyBox;
    put32(tinyBox, 4);
    for (char c : std::string("junk")) tinyBox.push_back(static_cast<std::uint8_t>(c));
    Bytes hugeChild;  // a child claiming more than its "moov"
    put32(hugeChild, 0xFFFFFFF0u);
    for (char c : std::string("trak")) hugeChild.push_back(static_cast<std::uint8_t>(c));

    struct Case {
        const char* what;
        Bytes bytes;
        Mp4Fault fault;
        bool plays;
    } cases[] = {
        {"a whole camera file", whole, Mp4Fault::None, true},
        {"no bytes at all", {}, Mp4Fault::Empty, false},
        {"zeros where the first box should be", Bytes(4096, 0), Mp4Fault::NotMp4, false},
        {"another box first", join({media(), movie({timeHeader("mvhd", 0, 1000, 1000)})}), Mp4Fault::NotMp4, false},
        {"cut in the middle of the media", cutAt(whole, 2000), Mp4Fault::CutOff, false},
        {"cut in the middle of the index", cutAt(whole, whole.size() - 100), Mp4Fault::CutOff, false},
        {"cut inside the header of a box", cutAt(join({ftyp(), media()}), ftyp().size() + 4), Mp4Fault::CutOff, false},
        {"media but no index", join({ftyp(), media()}), Mp4Fault::NoIndex, false},
        {"media running to the end, no index", join({ftyp(), unboundedMedia}), Mp4Fault::NoIndex, false},
        {"index without a movie header", join({ftyp(), media(), movie({track("vide", 600, 600)})}),
         Mp4Fault::DamagedIndex, false},
        {"index with a child too large for it", join({ftyp(), media(), movie({timeHeader("mvhd", 0, 1000, 1), hugeChild})}),
         Mp4Fault::DamagedIndex, false},
        {"index with sound only", join({ftyp(), media(), movie({timeHeader("mvhd", 0, 1000, 1), track("soun", 48000, 1)})}),
         Mp4Fault::NoVideoTrack, false},
        {"a box smaller than its header", join({ftyp(), tinyBox, media()}), Mp4Fault::Damaged, false},
        {"index first, media cut off after it",
         cutAt(join({ftyp(), movie({timeHeader("mvhd", 0, 1000, 1000), track("vide", 600, 600)}), media()}),
               whole.size() - 1000),
         Mp4Fault::CutOff, true},
        {"64-bit media size", join({ftyp(), largeMedia, movie({timeHeader("mvhd", 1, 600, 1200), track("vide", 600, 1200, 1)})}),
         Mp4Fault::None, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Mp4Index index = indexOf(c.bytes);
        EXPECT_EQ(index.fault, c.fault);
        EXPECT_EQ(index.plays(), c.plays);
        EXPECT_EQ(index.fileSize, c.bytes.size());
    }
}

TEST(Mp4IndexReaderTest, LengthsFromTheMovieAndTheVideoTrack) {
    const Mp4Index camera = indexOf(cameraFile());
    ASSERT_TRUE(camera.movieSeconds && camera.videoSeconds);
    EXPECT_DOUBLE_EQ(*camera.movieSeconds, 60.04);
    EXPECT_DOUBLE_EQ(*camera.videoSeconds, 60.0);
    EXPECT_DOUBLE_EQ(camera.lengthSeconds().value(), 60.0) << "the video's length wins over the movie's";
    EXPECT_EQ(camera.tracks, 2);
    EXPECT_EQ(camera.videoTracks, 1);
    EXPECT_EQ(camera.audioTracks, 1);

    const Mp4Index wide = indexOf(join({ftyp(), movie({timeHeader("mvhd", 1, 600, 0x1'0000'0000ull * 600),
                                                        track("vide", 0, 5)}), media()}));
    EXPECT_DOUBLE_EQ(wide.movieSeconds.value(), 4294967296.0) << "64-bit durations of version 1";
    EXPECT_FALSE(wide.videoSeconds) << "a time scale of 0 gives no length";
    EXPECT_DOUBLE_EQ(wide.lengthSeconds().value(), 4294967296.0);

    const Mp4Index unknown = indexOf(join({ftyp(), movie({timeHeader("mvhd", 0, 1000, 0xFFFFFFFFu), track("vide", 1, 1)})}));
    EXPECT_EQ(unknown.fault, Mp4Fault::DamagedIndex) << "an unknown movie length";
}

TEST(Mp4IndexReaderTest, CutOffTellsHowLargeTheFileShouldBe) {
    const Bytes whole = cameraFile();
    const Mp4Index index = indexOf(cutAt(whole, 1500));
    EXPECT_EQ(index.fault, Mp4Fault::CutOff);
    EXPECT_EQ(index.announcedSize, ftyp().size() + media().size());
    EXPECT_FALSE(indexOf(cutAt(whole, ftyp().size() + 4)).announcedSize) << "no size where no header is whole";
}

TEST(Mp4IndexReaderTest, ReadsOnlyHeadersAndSmallBoxesWhateverTheMediaSize) {
    for (std::size_t mediaSize : {std::size_t{1000}, std::size_t{4'000'000}}) {
        SCOPED_TRACE(mediaSize);
        const Bytes bytes = join({ftyp(), media(mediaSize), movie({timeHeader("mvhd", 0, 1000, 5000),
                                                                   track("vide", 600, 3000), track("soun", 8000, 1)})});
        CountingSource source(bytes);
        EXPECT_EQ(Mp4IndexReader::read(source).fault, Mp4Fault::None);
        EXPECT_LE(source.reads, 30u);
        EXPECT_LE(source.bytesRead, 400u);
    }
}

TEST(Mp4IndexReaderTest, EndlessRunsOfBoxesAreCutShort) {
    Bytes many = ftyp();
    for (std::size_t i = 0; i < Mp4IndexReader::kMostBoxesPerContainer + 10; ++i) {
        const Bytes free = box("free", {});
        many.insert(many.end(), free.begin(), free.end());
    }
    CountingSource source(many);
    const Mp4Index index = Mp4IndexReader::read(source);
    EXPECT_EQ(index.fault, Mp4Fault::Damaged);
    EXPECT_LE(source.reads, Mp4IndexReader::kMostBoxesPerContainer + 1);
}

TEST(Mp4IndexReaderTest, AnIndexOfEndlessTracksCostsABoundedNumberOfReads) {
    Bytes children;
    for (int i = 0; i < 1000; ++i) {
        const Bytes free = box("free", {});
        children.insert(children.end(), free.begin(), free.end());
    }
    const Bytes track = box("trak", children);
    Bytes tracks = timeHeader("mvhd", 0, 1000, 1000);
    for (int i = 0; i < 100; ++i) tracks.insert(tracks.end(), track.begin(), track.end());
    const Bytes file = join({ftyp(), box("moov", tracks)});
    CountingSource source(file);
    const Mp4Index index = Mp4IndexReader::read(source);
    EXPECT_EQ(index.fault, Mp4Fault::DamagedIndex);
    EXPECT_LE(source.reads, Mp4IndexReader::kMostBoxesPerFile + 10);
}

}  // namespace
}  // namespace zentrova
