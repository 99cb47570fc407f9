#pragma once

#include "common/Localization.h"

#include <QString>

#include <concepts>
#include <initializer_list>
#include <string>
#include <string_view>

namespace zentrova {

// The display text of a string-table key, for widgets.
QString uiText(std::string_view key);

// A format text ("%@\n%@", "1(%@)") filled with its arguments in order.
QString fillUiText(const QString& format, std::initializer_list<std::string> args);
template <typename... Args>
    requires(std::convertible_to<const Args&, QString> && ...)
QString fillText(const QString& format, const Args&... args) {
    return fillUiText(format, {QString(args).toStdString()...});
}

// A format key filled with as many arguments as it has conversions ("[Ver %@]").
template <typename... Args>
    requires(std::convertible_to<const Args&, QString> && ...)
QString uiFormat(std::string_view key, const Args&... args) {
    return fillText(uiText(key), args...);
}

}  // namespace zentrova
