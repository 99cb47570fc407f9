#pragma once

#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace zentrova {

// A key of the string table written where it is not passed straight to
// localized(), so the key check finds it in the source.
struct TextKey {
    std::string_view key;
};

// The display text of a key of the string table "InfoPlist"; a key without a
// text gives the empty text.
std::string localized(std::string_view key);
inline std::string localized(TextKey key) { return localized(key.key); }

// Whether the table has a non-empty text for the key.
bool hasLocalizedText(std::string_view key);

// Every key of the table, in file order.
std::vector<std::string> localizedKeys();

// Replaces each printf-style conversion of a format ("%@", "%d", "%.2f"...)
// with the next argument, already formatted by the caller; "%%" gives "%".
// Missing arguments give the empty text.
std::string fillFormat(std::string_view format, std::initializer_list<std::string> args);
std::string fillFormat(std::string_view format, std::span<const std::string> args);

// fillFormat for numeric arguments: each conversion formats its number as
// printf would in the C locale (width, "-", "+", "0" and precision; "%@"
// gives the shortest text that reads back to the number, "%d" its integer
// part), whatever locale the process runs in.
std::string fillNumberFormat(std::string_view format, std::initializer_list<double> args);

}  // namespace zentrova
