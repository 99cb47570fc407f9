#pragma once

#include "common/Localization.h"
#include "settings/StoredChoices.h"

#include <QString>
#include <QStringList>

#include <cstdint>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QWidget;

namespace zentrova {

class SegmentedControl;

// Builders of the settings pages' controls: each control is named by its
// outlet and shows its text by key.
QGroupBox* makeGroupBox(const char* outlet, TextKey title, QWidget* parent);
QCheckBox* makeCheckBox(const char* outlet, TextKey title, QWidget* parent);
QLabel* makeLabel(const char* outlet, TextKey text, QWidget* parent);
// An explanation under the controls, wrapped to the page's width.
QLabel* makeGuide(const char* outlet, TextKey text, QWidget* parent);
SegmentedControl* makeSegmentedControl(const char* outlet, const QStringList& labels, QWidget* parent);
QComboBox* makeComboBox(const char* outlet, const QStringList& items, QWidget* parent);

// The five steps of a sensitivity: "1(%@)" with the least sensitive word,
// "2", "3", "4", "5(%@)" with the most sensitive one.
QStringList sensitivityStepLabels();
QString secondsLabel(int seconds);
QString minutesLabel(int minutes);
QString hoursLabel(int hours);

void showChoice(SegmentedControl& control, const StoredChoices& choices, std::int64_t stored);
void showChoice(QComboBox& combo, const StoredChoices& choices, std::int64_t stored);

}  // namespace zentrova
