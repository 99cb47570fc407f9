#include "settings/TimeZoneList.h"

#include <array>

namespace zentrova {
namespace {

struct Zone {
    int minutes;
    std::string_view label;
};

constexpr std::array<Zone, TimeZoneList::kCount> kZones{{
    {-720, "-12:00"}, {-660, "-11:00"}, {-600, "-10:00"}, {-540, "-09:00"}, {-480, "-08:00"}, {-420, "-07:00"},
    {-360, "-06:00"}, {-300, "-05:00"}, {-270, "-04:30"}, {-240, "-04:00"}, {-210, "-03:30"}, {-180, "-03:00"},
    {-120, "-02:00"}, {-60, "-01:00"},  {0, "00:00"},     {60, "+01:00"},   {120, "+02:00"},  {180, "+03:00"},
    {210, "+03:30"},  {240, "+04:00"},  {270, "+04:30"},  {300, "+05:00"},  {330, "+05:30"},  {345, "+05:45"},
    {360, "+06:00"},  {390, "+06:30"},  {420, "+07:00"},  {480, "+08:00"},  {540, "+09:00"},  {570, "+09:30"},
    {600, "+10:00"},  {660, "+11:00"},  {720, "+12:00"},  {780, "+13:00"},
}};

bool inList(std::int32_t index) { return index >= 0 && index < TimeZoneList::kCount; }

}  // namespace

std::optional<int> TimeZoneList::offsetMinutes(std::int32_t index) {
    if (!inList(index)) return std::nullopt;
    return kZones[static_cast<std::size_t>(index)].minutes;
}

std::string_view TimeZoneList::label(std::int32_t index) {
    if (!inList(index)) return {};
    return kZones[static_cast<std::size_t>(index)].label;
}

std::optional<std::int32_t> TimeZoneList::indexOfOffset(int minutes) {
    for (std::size_t i = 0; i < kZones.size(); ++i) {
        if (kZones[i].minutes == minutes) return static_cast<std::int32_t>(i);
    }
    return std::nullopt;
}

}  // namespace zentrova
