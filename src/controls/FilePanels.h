#pragma once

#include <QString>

class QWidget;

namespace zentrova {

// The file dialogs the windows share. Each answers the chosen path, or an
// empty text when the user cancelled.

// A save dialog proposing a name; the suffix is added to a name typed
// without it, and the filter ("CSV file (*.csv)") is the only one offered.
QString chooseSaveFile(QWidget* parent, const QString& title, const QString& proposedName, const QString& suffix,
                       const QString& filter);
// An open dialog for one existing file of the filter's type.
QString chooseOpenFile(QWidget* parent, const QString& title, const QString& filter);

}  // namespace zentrova
