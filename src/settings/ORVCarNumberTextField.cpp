#include "settings/ORVCarNumberTextField.h"

#include "settings/CarNumberFilter.h"

namespace zentrova {

ORVCarNumberTextField::ORVCarNumberTextField(QWidget* parent) : QLineEdit(parent) {
    // Connected first, so that every later receiver of the end of editing
    // sees the filtered text.
    connect(this, &QLineEdit::editingFinished, this, &ORVCarNumberTextField::filterText);
}

void ORVCarNumberTextField::filterText() {
    const QString filtered = QString::fromStdString(filteredCarNumber(text().toStdString()));
    if (filtered != text()) setText(filtered);
}

}  // namespace zentrova
