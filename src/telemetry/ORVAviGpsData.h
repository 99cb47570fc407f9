#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace zentrova {

// The raw GPS block of one telemetry record: unit byte, then 128 bytes of text.
class ORVAviGpsData {
public:
    static constexpr std::size_t kSize = 129;
    static constexpr std::size_t kTextSize = 128;
    // The unit byte that means kilometres per hour; anything else is miles per hour.
    static constexpr std::uint8_t kKilometresPerHour = '9';

    using Record = std::array<std::uint8_t, kSize>;

    ORVAviGpsData() = default;
    explicit ORVAviGpsData(const std::uint8_t* block);
    static ORVAviGpsData aviGpsDataWithData(const std::uint8_t* block) { return ORVAviGpsData(block); }

    const Record& data() const { return m_data; }
    void setData(const Record& data) { m_data = data; }

    std::uint8_t unit() const { return m_data[0]; }
    // All 128 text bytes, NULs included.
    std::string_view gpsString() const;

private:

    Record m_data{};
};

}  // namespace zentrova
