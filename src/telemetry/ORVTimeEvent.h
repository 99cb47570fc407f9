#pragma once

#include "telemetry/SYSTEMTIME.h"

#include <cstdint>

namespace zentrova {

// The start of a run of time records with the same event type.
class ORVTimeEvent {
public:
    void updateFromObject(const ORVTimeEvent& other) { *this = other; }

    std::uint32_t e() const { return m_e; }
    std::uint32_t f() const { return m_f; }
    const SYSTEMTIME& t() const { return m_t; }
    void setE(std::uint32_t kind) { m_e = kind; }
    void setF(std::uint32_t index) { m_f = index; }
    void setT(const SYSTEMTIME& time) { m_t = time; }

    bool operator==(const ORVTimeEvent&) const = default;

private:
    std::uint32_t m_e = 0;  // 0 for event type 1, 1 for any other
    std::uint32_t m_f = 0;  // index in the time list where the run starts
    SYSTEMTIME m_t{};
};

}  // namespace zentrova
