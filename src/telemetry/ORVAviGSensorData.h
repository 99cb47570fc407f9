#pragma once

#include <array>
#include <cstdint>

namespace zentrova {

// The raw G-sensor block of one telemetry record as stored in the file:
// X, Y, Z and T, each a little-endian signed 32-bit value.
class ORVAviGSensorData {
public:
    static constexpr std::size_t kSize = 16;
    using Record = std::array<std::uint8_t, kSize>;

    ORVAviGSensorData() = default;
    explicit ORVAviGSensorData(const std::uint8_t* block);
    static ORVAviGSensorData aviGSensorDataWithData(const std::uint8_t* block) { return ORVAviGSensorData(block); }

    Record data() const { return m_data; }
    void setData(const Record& data) { m_data = data; }

    std::int32_t X() const;
    std::int32_t Y() const;
    std::int32_t Z() const;
    std::int32_t T() const;

private:

    Record m_data{};
};

}  // namespace zentrova
