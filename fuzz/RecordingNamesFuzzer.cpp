// Recording names: the path normalised and split, the name's mode, start
// time and side, the order of two records and the side a player's media item
// is given. The input is one path, or two separated by a NUL byte.
#include "recordings/MediaItemSide.h"
#include "recordings/ORVMedia.h"
#include "recordings/PathNames.h"

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {
using namespace zentrova;

void require(bool condition) {
    if (!condition) std::abort();
}

struct Prefix {
    std::string_view text;
    ORVMediaDivision division;
};
constexpr std::array<Prefix, 3> kPrefixes = {{
    {"alwa_", ORVMediaDivisionAlways},
    {"motion_", ORVMediaDivisionMotion},
    {"event_", ORVMediaDivisionEvent},
}};

bool isDigit(char c) { return c >= '0' && c <= '9'; }

int digitsAt(std::string_view name, std::size_t at, std::size_t count) {
    int value = 0;
    for (std::size_t i = 0; i < count; ++i) value = value * 10 + (name[at + i] - '0');
    return value;
}

ORVMediaDirection directionOfSuffix(std::string_view name) {
    if (name.ends_with("_F")) return ORVMediaDirectionFront;
    if (name.ends_with("_R")) return ORVMediaDirectionRear;
    return ORVMediaDirectionUnknown;
}

// The grammar read straight from its table, for names whose fourteen time
// characters are all digits (the parser also takes blanks and signs there).
void checkAgainstGrammar(const ORVMedia& media) {
    const std::string_view name = media.mediaName();
    if (name.size() != 22 && name.size() != 23 && name.size() != 24) {
        require(media.year() == 0 && media.month() == 0 && media.second() == 0);
        require(media.mediaDivision() == ORVMediaDivisionAlways && media.mediaDirection() == ORVMediaDirectionFront);
        return;
    }
    const Prefix* prefix = nullptr;
    for (const Prefix& candidate : kPrefixes) {
        if (name.starts_with(candidate.text)) {
            prefix = &candidate;
            break;
        }
    }
    if (!prefix) {
        require(media.year() == 0 && media.mediaDivision() == ORVMediaDivisionAlways);
        require(media.mediaDirection() == directionOfSuffix(name));
        return;
    }
    require(media.mediaDivision() == prefix->division);
    const std::size_t p = prefix->text.size();
    if (name.size() < p + 15) return;
    for (std::size_t i = 0; i < 15; ++i) {
        if (i != 8 && !isDigit(name[p + i])) return;
    }
    const int year = digitsAt(name, p, 4), month = digitsAt(name, p + 4, 2), day = digitsAt(name, p + 6, 2);
    const int hour = digitsAt(name, p + 9, 2), minute = digitsAt(name, p + 11, 2), second = digitsAt(name, p + 13, 2);
    const bool valid = year >= 1970 && year <= 2700 && month >= 1 && month <= 12 && day >= 1 && day <= 31 &&
                       hour <= 24 && minute <= 60 && second <= 60;
    if (!valid) {
        require(media.year() == 0 && media.mediaDirection() == ORVMediaDirectionUnknown);
        return;
    }
    require(media.year() == year && media.month() == month && media.day() == day);
    require(media.hour() == hour && media.minute() == minute && media.second() == second);
    require(media.mediaDirection() == directionOfSuffix(name));
}

void checkTime(const ORVMedia& media) {
    char key[64];
    std::snprintf(key, sizeof key, "%04d%02d%02d%02d%02d%02d", media.year(), media.month(), media.day(), media.hour(),
                  media.minute(), media.second());
    require(media.yyyymmddhhmiss() == key);
    if (media.year() == 0) {
        require(media.yyyymmddhhmiss() == "00000000000000" && media.dateText().empty() && media.timeText().empty());
        return;
    }
    require(media.year() >= 1970 && media.year() <= 2700 && media.month() >= 1 && media.month() <= 12);
    require(media.day() >= 1 && media.day() <= 31 && media.hour() >= 0 && media.hour() <= 24);
    require(media.minute() >= 0 && media.minute() <= 60 && media.second() >= 0 && media.second() <= 60);
    require(media.packedTime() == std::stoull(media.yyyymmddhhmiss()));
    char date[32];
    std::snprintf(date, sizeof date, "%04d-%02d-%02d", media.year(), media.month(), media.day());
    require(media.dateText() == date);
}

void checkNameParts(const ORVMedia& media) {
    require(PathNames::normalizedFilePath(media.path()) == media.path());
    const std::string_view component = PathNames::lastComponent(media.path());
    // The file's own name comes back, or a lone dot is added when it has no extension.
    require(media.fileName() == component || media.fileName() == std::string(component) + ".");
    require(media.modeIconName().empty() == (media.mediaDirection() == ORVMediaDirectionUnknown));

    // Parsing the stored path again gives the same record.
    const ORVMedia again(media.path());
    require(again.path() == media.path() && again.yyyymmddhhmiss() == media.yyyymmddhhmiss());
    require(again.mediaDivision() == media.mediaDivision() && again.mediaDirection() == media.mediaDirection());
}

bool isMp4(std::string_view extension) {
    return extension.size() == 3 && (extension[0] | 0x20) == 'm' && (extension[1] | 0x20) == 'p' && extension[2] == '4';
}

// A player's media item and the record of the same file agree on the side,
// except for a lower-case side letter, which only the player's test takes.
void checkPlayerSide(const ORVMedia& media) {
    const std::string_view name = media.mediaName();
    if (!isMp4(media.extension()) || media.year() == 0 || name.ends_with("_f") || name.ends_with("_r")) return;
    require(mediaItemDirection(media.path()) == media.mediaDirection());
}

void checkOrder(const ORVMedia& a, const ORVMedia& b) {
    require(a.compareDate(a) == 0);
    const int ab = a.compareDate(b);
    require(ab >= -1 && ab <= 1 && b.compareDate(a) == -ab);
    const int byKey = a.yyyymmddhhmiss().compare(b.yyyymmddhhmiss());
    if (byKey != 0) require(ab == (byKey < 0 ? -1 : 1));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::size_t nul = input.find('\0');
    const ORVMedia a(input.substr(0, nul));
    const ORVMedia b(nul == std::string_view::npos ? std::string_view() : input.substr(nul + 1));
    for (const ORVMedia* media : {&a, &b}) {
        checkAgainstGrammar(*media);
        checkTime(*media);
        checkNameParts(*media);
        checkPlayerSide(*media);
    }
    checkOrder(a, b);
    return 0;
}
