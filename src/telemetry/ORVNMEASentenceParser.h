#pragma once

#include "telemetry/NmeaFieldList.h"
#include "telemetry/ORVGpsData.h"

#include <span>
#include <string_view>
#include <vector>

namespace zentrova {

// Updates one GPS fix from NMEA sentences, one sentence at a time; each
// sentence changes only the fields it carries.
class ORVNMEASentenceParser {
public:
    void clear() { m_Current.clear(); }

    // One sentence without its line end; true when it was recognised and handled.
    bool parse(std::string_view sentence);
    // A zero-terminated sentence.
    bool parse(const char* sentence);

    // Each takes the comma-separated fields of one sentence, field 0 being
    // the address field. Missing trailing fields read as empty.
    bool parseGPRMC(std::span<const std::string_view> fields);
    bool parseGPGGA(std::span<const std::string_view> fields);
    bool parseGNGSA(std::span<const std::string_view> fields);
    bool parseGNGNS(std::span<const std::string_view> fields);
    // Keeps its channel and message counters across calls and parsers.
    bool parseGPGSV(std::span<const std::string_view> fields);

    // Puts the shared satellites-in-view counters back to their start.
    static void resetGSVCounters();

    ORVGpsData m_Current;

private:
    // The fields of the sentence being parsed; kept so that its memory is
    // reused from sentence to sentence. Views into the caller's text, valid
    // only during parse().
    NmeaFieldList m_fields;
};

}  // namespace zentrova
