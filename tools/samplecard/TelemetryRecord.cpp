#include "TelemetryRecord.h"

#include <algorithm>

namespace zentrova::samplecard {

Bytes TelemetryRecord::encodeChunk() const {
    Bytes out;
    out.reserve(kChunkSize);
    ByteAppender append(out);
    append.bigEndian16(lead);
    append.littleEndian32(time);
    append.littleEndian32(timeHigh);
    append.littleEndian32(static_cast<std::uint32_t>(x));
    append.littleEndian32(static_cast<std::uint32_t>(y));
    append.littleEndian32(static_cast<std::uint32_t>(z));
    append.littleEndian32(static_cast<std::uint32_t>(t));
    append.u8(unit);
    const std::size_t textLength = std::min(text.size(), kTextSize);
    out.insert(out.end(), text.begin(), text.begin() + static_cast<std::ptrdiff_t>(textLength));
    append.zeros(kTextSize - textLength);
    return out;
}

}  // namespace zentrova::samplecard
