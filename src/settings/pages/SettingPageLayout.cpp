#include "settings/pages/SettingPageLayout.h"

#include "controls/SegmentedControl.h"
#include "controls/UiText.h"
#include "settings/SettingPageControls.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>
#include <QVBoxLayout>

namespace zentrova {

QGroupBox* makeGroupBox(const char* outlet, TextKey title, QWidget* parent) {
    auto* box = new QGroupBox(uiText(title.key), parent);
    box->setObjectName(QString::fromLatin1(outlet));
    return box;
}

QCheckBox* makeCheckBox(const char* outlet, TextKey title, QWidget* parent) {
    auto* check = new QCheckBox(uiText(title.key), parent);
    check->setObjectName(QString::fromLatin1(outlet));
    return check;
}

QLabel* makeLabel(const char* outlet, TextKey text, QWidget* parent) {
    auto* label = new QLabel(uiText(text.key), parent);
    label->setObjectName(QString::fromLatin1(outlet));
    return label;
}

QLabel* makeGuide(const char* outlet, TextKey text, QWidget* parent) {
    QLabel* guide = makeLabel(outlet, text, parent);
    guide->setWordWrap(true);
    guide->setProperty("caption", true);
    return guide;
}

SegmentedControl* makeSegmentedControl(const char* outlet, const QStringList& labels, QWidget* parent) {
    auto* control = new SegmentedControl(parent);
    control->setObjectName(QString::fromLatin1(outlet));
    setSegmentLabels(*control, labels);
    return control;
}

QGroupBox* makeSegmentBox(const char* outlet, TextKey title, SegmentedControl*& control, const char* controlOutlet,
                          const QStringList& labels, QWidget* parent) {
    QGroupBox* box = makeGroupBox(outlet, title, parent);
    control = makeSegmentedControl(controlOutlet, labels, box);
    auto* layout = new QVBoxLayout(box);
    layout->setSpacing(8);
    layout->addWidget(control);
    layout->addStretch(1);
    return box;
}

QComboBox* makeComboBox(const char* outlet, const QStringList& items, QWidget* parent) {
    auto* combo = new QComboBox(parent);
    combo->setObjectName(QString::fromLatin1(outlet));
    combo->setEditable(false);
    setComboItems(*combo, items);
    return combo;
}

QStringList sensitivityStepLabels() {
    return {fillText(QStringLiteral("1(%@)"), uiText("insensitive")), QStringLiteral("2"), QStringLiteral("3"),
            QStringLiteral("4"), fillText(QStringLiteral("5(%@)"), uiText("sensitive"))};
}

QString secondsLabel(int seconds) { return uiFormat("nSecond_fmt", QString::number(seconds)); }
QString minutesLabel(int minutes) { return uiFormat("nMinute_fmt", QString::number(minutes)); }
QString hoursLabel(int hours) { return uiFormat("nHour_fmt", QString::number(hours)); }

void focusRefusedField(QLineEdit& field) {
    QTimer::singleShot(0, &field, [&field] {
        field.setFocus(Qt::OtherFocusReason);
        field.selectAll();
    });
}

void showChoice(SegmentedControl& control, const StoredChoices& choices, std::int64_t stored) {
    control.setSelectedSegment(choices.choiceOf(stored));
}

int chosenSegment(const SegmentedControl& control) { return control.selectedSegment(); }

void showChoice(QComboBox& combo, const StoredChoices& choices, std::int64_t stored) {
    combo.setCurrentIndex(choices.choiceOf(stored));
}

}  // namespace zentrova
