#include "telemetry/ORVGpsData.h"

namespace zentrova {
namespace {

bool isChannel(std::int32_t index) {
    return index >= 0 && index < ORVGpsData::kChannelCount;
}

}  // namespace

ORVGpsData ORVGpsData::duplicate() const {
    ORVGpsData copy;
    copy.updateFromObject(*this);
    return copy;
}

PAIR ORVGpsData::SVonChannelAtIndex(std::int32_t index) const {
    return isChannel(index) ? SVonChannel[static_cast<std::size_t>(index)] : PAIR{};
}

void ORVGpsData::setSVonChannel(PAIR pair, std::int32_t index) {
    if (isChannel(index)) SVonChannel[static_cast<std::size_t>(index)] = pair;
}

void ORVGpsData::setSVonChannelWithFirst(std::uint8_t first, std::uint8_t second, std::int32_t index) {
    setSVonChannel(PAIR{first, second}, index);
}

void ORVGpsData::setSVonChannelWithFirst(std::uint8_t first, std::int32_t index) {
    if (isChannel(index)) SVonChannel[static_cast<std::size_t>(index)].first = first;
}

void ORVGpsData::setSVonChannelWithSecond(std::uint8_t second, std::int32_t index) {
    if (isChannel(index)) SVonChannel[static_cast<std::size_t>(index)].second = second;
}

std::uint8_t ORVGpsData::SatelliteUsedAtIndex(std::int32_t index) const {
    return isChannel(index) ? SatelliteUsed[static_cast<std::size_t>(index)] : 0;
}

void ORVGpsData::setSatelliteUsed(std::uint8_t number, std::int32_t index) {
    if (isChannel(index)) SatelliteUsed[static_cast<std::size_t>(index)] = number;
}

}  // namespace zentrova
