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
class QLineEdit;
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
// A titled box around one segmented control, which stays at the box's top.
QGroupBox* makeSegmentBox(const char* outlet, TextKey title, SegmentedControl*& control, const char* controlOutlet,
                          const QStringList& labels, QWidget* parent);
QComboBox* makeComboBox(const char* outlet, const QStringList& items, QWidget* parent);

// The five steps of a sensitivity: "1(%@)" with the least sensitive word,
// "2", "3", "4", "5(%@)" with the most sensitive one.
QStringList sensitivityStepLabels();
QString secondsLabel(int seconds);
QString minutesLabel(int minutes);
QString hoursLabel(int hours);

// Gives a refused field the focus, its text selected, once the alert that
// says why has opened (so that the field keeps it).
void focusRefusedField(QLineEdit& field);

void showChoice(SegmentedControl& control, const StoredChoices& choices, std::int64_t stored);
void showChoice(QComboBox& combo, const StoredChoices& choices, std::int64_t stored);

int chosenSegment(const SegmentedControl& control);
// Stores the chosen choice's value. With nothing chosen (the stored value is
// none of the choices and the user has not picked one) the field keeps its
// bytes, so that opening and saving a page changes nothing it does not know.
template <typename Field>
void storeChosen(const SegmentedControl& control, const StoredChoices& choices, Field& field) {
    const int choice = chosenSegment(control);
    if (choices.isChoice(choice)) field = choices.storedValue<Field>(choice);
}

}  // namespace zentrova
