#include "settings/SettingPageControls.h"

#include "controls/SegmentedControl.h"
#include "controls/UiText.h"

#include <QComboBox>
#include <QWidget>

namespace zentrova {

void setSegmentLabels(SegmentedControl& control, const QStringList& labels) {
    control.setSegmentCount(static_cast<int>(labels.size()));
    for (int i = 0; i < labels.size(); ++i) control.setLabel(labels[i], i);
}

void setComboItems(QComboBox& combo, const QStringList& items) {
    combo.clear();
    combo.addItems(items);
}

QStringList uiTexts(std::initializer_list<std::string_view> keys) {
    QStringList texts;
    for (std::string_view key : keys) texts << uiText(key);
    return texts;
}

void centreHorizontally(QWidget& a, const QWidget& b) {
    const int x = b.x() + (b.width() - a.width()) / 2;
    a.move(x, a.y());
}

}  // namespace zentrova
