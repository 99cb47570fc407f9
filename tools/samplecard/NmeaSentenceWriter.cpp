#include "NmeaSentenceWriter.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace zentrova::samplecard {

std::string NmeaSentenceWriter::finish(const std::string& body) {
    std::uint8_t sum = 0;
    for (char c : body) sum ^= static_cast<std::uint8_t>(c);
    char tail[8];
    std::snprintf(tail, sizeof tail, "*%02X\r\n", sum);
    return "$" + body + tail;
}

std::string NmeaSentenceWriter::number(const char* format, double value) {
    char text[32];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

std::string NmeaSentenceWriter::degreesAndMinutes(double degrees, int degreeDigits) {
    // Whole ten-thousandths of a minute, so that rounding never gives 60 minutes.
    const auto units = static_cast<long long>(std::llround(std::abs(degrees) * 60.0 * 10000.0));
    const long long whole = units / (60 * 10000);
    const long long minutes = units % (60 * 10000);
    char text[24];
    std::snprintf(text, sizeof text, "%0*lld%02lld.%04lld", degreeDigits, whole, minutes / 10000, minutes % 10000);
    return text;
}

std::string NmeaSentenceWriter::latitudeField(const GpsReading& reading) {
    return reading.valid ? degreesAndMinutes(reading.latitude, 2) : "";
}

std::string NmeaSentenceWriter::longitudeField(const GpsReading& reading) {
    return reading.valid ? degreesAndMinutes(reading.longitude, 3) : "";
}

std::string NmeaSentenceWriter::timeField(const CivilTime& time) {
    char text[16];
    std::snprintf(text, sizeof text, "%02d%02d%02d.%03d", time.hour, time.minute, time.second, time.millisecond);
    return text;
}

namespace {

std::string hemisphere(const GpsReading& reading, double value, char positive, char negative) {
    if (!reading.valid) return "";
    return std::string(1, value < 0 ? negative : positive);
}

std::string twoDigits(int value) {
    char text[8];
    std::snprintf(text, sizeof text, "%02d", value);
    return text;
}

std::string satelliteFields(const std::vector<int>& satellites) {
    std::string fields;
    for (std::size_t slot = 0; slot < 12; ++slot) {
        fields += ",";
        if (slot < satellites.size()) fields += twoDigits(satellites[slot]);
    }
    return fields;
}

}  // namespace

std::string NmeaSentenceWriter::rmc(const GpsReading& reading) {
    char date[8];
    std::snprintf(date, sizeof date, "%02d%02d%02d", reading.time.day, reading.time.month, reading.time.year % 100);
    std::string body = reading.talker + "RMC," + timeField(reading.time) + "," + (reading.valid ? "A" : "V") + ",";
    body += latitudeField(reading) + "," + hemisphere(reading, reading.latitude, 'N', 'S') + ",";
    body += longitudeField(reading) + "," + hemisphere(reading, reading.longitude, 'E', 'W') + ",";
    body += reading.valid ? number("%.2f", reading.speedKnots) + "," + number("%.2f", reading.course) : ",";
    body += std::string(",") + date + ",,," + (reading.valid ? "A" : "N");
    return finish(body);
}

std::string NmeaSentenceWriter::gga(const GpsReading& reading) {
    const std::size_t used = reading.gpsSatellites.size() + reading.glonassSatellites.size();
    std::string body = reading.talker + "GGA," + timeField(reading.time) + ",";
    body += latitudeField(reading) + "," + hemisphere(reading, reading.latitude, 'N', 'S') + ",";
    body += longitudeField(reading) + "," + hemisphere(reading, reading.longitude, 'E', 'W') + ",";
    if (reading.valid) {
        body += "1," + twoDigits(static_cast<int>(used)) + "," + number("%.1f", reading.hdop) + "," +
                number("%.1f", reading.altitude) + ",M,47.3,M,,";
    } else {
        body += "0,00,99.9,,,,,,";
    }
    return finish(body);
}

std::string NmeaSentenceWriter::gsa(const GpsReading& reading, const std::vector<int>& satellites) {
    std::string body = "GNGSA,A,";
    body += reading.valid ? "3" : "1";
    body += satelliteFields(reading.valid ? satellites : std::vector<int>{});
    if (reading.valid) {
        body += "," + number("%.1f", reading.pdop) + "," + number("%.1f", reading.hdop) + "," +
                number("%.1f", reading.vdop);
    } else {
        body += ",99.9,99.9,99.9";
    }
    return finish(body);
}

std::string NmeaSentenceWriter::gns(const GpsReading& reading) {
    const std::size_t used = reading.gpsSatellites.size() + reading.glonassSatellites.size();
    std::string body = "GNGNS," + timeField(reading.time) + ",";
    body += latitudeField(reading) + "," + hemisphere(reading, reading.latitude, 'N', 'S') + ",";
    body += longitudeField(reading) + "," + hemisphere(reading, reading.longitude, 'E', 'W') + ",";
    if (reading.valid) {
        body += "AA," + twoDigits(static_cast<int>(used)) + "," + number("%.1f", reading.hdop) + "," +
                number("%.1f", reading.altitude) + ",47.3,,";
    } else {
        body += "NN,00,99.9,,,,";
    }
    return finish(body);
}

std::vector<std::string> NmeaSentenceWriter::gsv(const std::vector<int>& satellites) {
    const std::size_t messages = std::max<std::size_t>(1, (satellites.size() + 3) / 4);
    std::vector<std::string> sentences;
    for (std::size_t message = 0; message < messages; ++message) {
        std::string body = "GPGSV," + std::to_string(messages) + "," + std::to_string(message + 1) + "," +
                           twoDigits(static_cast<int>(satellites.size()));
        for (std::size_t i = message * 4; i < std::min(satellites.size(), message * 4 + 4); ++i) {
            const int number = satellites[i];
            // Elevation, azimuth and signal strength follow from the number: steady from second to second.
            body += "," + twoDigits(number) + "," + twoDigits(10 + (number * 37) % 75) + "," +
                    std::to_string((number * 97) % 360) + "," + twoDigits(28 + (number * 13) % 20);
        }
        sentences.push_back(finish(body));
    }
    return sentences;
}

}  // namespace zentrova::samplecard
