#pragma once

#include <QStringList>

#include <initializer_list>
#include <string_view>

class QComboBox;
class QWidget;

namespace zentrova {

class SegmentedControl;

// The fill functions every settings page shares.

// As many segments as texts, segment i showing text i.
void setSegmentLabels(SegmentedControl& control, const QStringList& labels);
// The items replaced by the texts, in order.
void setComboItems(QComboBox& combo, const QStringList& items);
// The display texts of string-table keys, in order.
QStringList uiTexts(std::initializer_list<std::string_view> keys);
// Moves a so that its horizontal centre is b's, keeping its vertical place;
// both are in the same parent's coordinates.
void centreHorizontally(QWidget& a, const QWidget& b);

}  // namespace zentrova
