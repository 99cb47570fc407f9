#include "app/UiText.h"

#include "common/Localization.h"

#include <string>
#include <vector>

namespace zentrova {

QString uiText(std::string_view key) { return QString::fromStdString(localized(key)); }

QString uiFormat(std::string_view key, std::initializer_list<QString> args) {
    std::vector<std::string> converted;
    for (const QString& arg : args) converted.push_back(arg.toStdString());
    std::string format = localized(key);
    std::string filled;
    switch (converted.size()) {
    case 0: filled = fillFormat(format, {}); break;
    case 1: filled = fillFormat(format, {converted[0]}); break;
    case 2: filled = fillFormat(format, {converted[0], converted[1]}); break;
    default: filled = fillFormat(format, {converted[0], converted[1], converted[2]}); break;
    }
    return QString::fromStdString(filled);
}

}  // namespace zentrova
