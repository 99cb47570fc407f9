#include "controls/FilePanels.h"

#include <QFileDialog>

namespace zentrova {
namespace {

QString chosenFile(QFileDialog& dialog) {
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().first();
}

}  // namespace

QString chooseSaveFile(QWidget* parent, const QString& title, const QString& proposedName, const QString& suffix,
                       const QString& filter) {
    QFileDialog dialog(parent, title);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(filter);
    dialog.setDefaultSuffix(suffix);
    dialog.selectFile(proposedName);
    return chosenFile(dialog);
}

QString chooseOpenFile(QWidget* parent, const QString& title, const QString& filter) {
    QFileDialog dialog(parent, title);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilter(filter);
    return chosenFile(dialog);
}

}  // namespace zentrova
