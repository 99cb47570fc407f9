#pragma once

#include "common/Localization.h"

#include <QString>

#include <functional>

class QMessageBox;
class QWidget;

namespace zentrova {

// The titles the windows' alerts use.
inline constexpr TextKey kAlertTitleApplication = TextKey{"alert.title.application"};
inline constexpr TextKey kAlertTitleWarning = TextKey{"alert.title.warning"};
inline constexpr TextKey kAlertTitleWarn = TextKey{"alert.title.warn"};

// A warning with exactly one button, "OK": the title as its main text, the
// message under it. Shown as a sheet on the window (window-modal; the call
// returns at once); done, when given, runs once the user has dismissed it.
// The alert deletes itself when dismissed.
QMessageBox* showAlertSheet(QWidget* window, const QString& title, const QString& message,
                            std::function<void()> done = {});
// The same alert when nothing follows its dismissal.
QMessageBox* showAlert(QWidget* window, const QString& title, const QString& message);

// A question with two buttons, the one that goes ahead (acceptText) and
// "Cancel", which is the default and Escape: shown like the alert above;
// done runs with true only when the user chose to go ahead.
QMessageBox* showQuestionSheet(QWidget* window, const QString& title, const QString& message,
                               const QString& acceptText, std::function<void(bool accepted)> done);

// True when the text is absent (null) or has no characters.
bool isEmptyText(const QString& text);

// Called with every alert as soon as it is open, so that tests can read and
// answer it; none by default.
using AlertOpenedHook = std::function<void(QMessageBox& alert)>;
void setAlertOpenedHook(AlertOpenedHook hook);

}  // namespace zentrova
