#pragma once

#include <QString>

#include <initializer_list>
#include <string_view>

namespace zentrova {

// The display text of a string-table key, for widgets.
QString uiText(std::string_view key);
// A format key filled with its arguments ("[Ver %@]").
QString uiFormat(std::string_view key, std::initializer_list<QString> args);

}  // namespace zentrova
