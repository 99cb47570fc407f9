#pragma once

#include "CivilTime.h"

#include <cstdint>
#include <string>
#include <vector>

namespace zentrova::samplecard {

// What a GPS receiver knows at one moment.
struct GpsReading {
    CivilTime time;  // UTC
    bool valid = false;
    double latitude = 0;   // decimal degrees, signed
    double longitude = 0;  // decimal degrees, signed
    double speedKnots = 0;
    double course = 0;
    double altitude = 0;
    double hdop = 0;
    double pdop = 0;
    double vdop = 0;
    std::vector<int> gpsSatellites;      // numbers 1-32
    std::vector<int> glonassSatellites;  // numbers 65-96
    std::string talker = "GN";           // of the RMC and GGA sentences
};

// NMEA 0183 sentences as a receiver sends them, each with its checksum and
// ended by CR LF. Numbers are written with the receiver's usual precision.
class NmeaSentenceWriter {
public:
    static std::string rmc(const GpsReading& reading);
    static std::string gga(const GpsReading& reading);
    // One GSA sentence for one system's satellites (the GN talker).
    static std::string gsa(const GpsReading& reading, const std::vector<int>& satellites);
    static std::string gns(const GpsReading& reading);
    // Satellites in view, four to a message.
    static std::vector<std::string> gsv(const std::vector<int>& satellites);

    // "ddmm.mmmm" or "dddmm.mmmm" of the magnitude; empty without a fix.
    static std::string latitudeField(const GpsReading& reading);
    static std::string longitudeField(const GpsReading& reading);
    static std::string timeField(const CivilTime& time);

    // "$" + body + "*" + checksum + CR LF.
    static std::string finish(const std::string& body);

private:
    static std::string degreesAndMinutes(double degrees, int degreeDigits);
    static std::string number(const char* format, double value);
};

}  // namespace zentrova::samplecard
