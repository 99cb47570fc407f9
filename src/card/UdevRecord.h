#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace zentrova {

// The properties ("E:KEY=value" lines) of one device's record in the udev
// database.
class UdevRecord {
public:
    static UdevRecord parse(std::string_view text);

    std::optional<std::string> property(std::string_view key) const;
    // The property KEY_ENC decoded ("\x20" escapes) when present, else KEY.
    std::optional<std::string> encodedProperty(std::string_view key) const;

private:
    std::map<std::string, std::string, std::less<>> m_properties;
};

// Decodes udev's "\xNN" escapes.
std::string decodeHexEscapes(std::string_view text);

}  // namespace zentrova
