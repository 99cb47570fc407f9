#include "controls/UiText.h"

namespace zentrova {

QString uiText(std::string_view key) { return QString::fromStdString(localized(key)); }

QString fillUiText(const QString& format, std::initializer_list<std::string> args) {
    return QString::fromStdString(fillFormat(format.toStdString(), args));
}

}  // namespace zentrova
