#include "controls/StyledBox.h"

#include <QWidget>

namespace zentrova {

QWidget* makeStyledBox(const char* name, QWidget* parent) {
    auto* box = new QWidget(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setAttribute(Qt::WA_StyledBackground, true);
    return box;
}

}  // namespace zentrova
