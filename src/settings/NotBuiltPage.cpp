#include "settings/NotBuiltPage.h"

#include "controls/UiText.h"

#include <QLabel>
#include <QVBoxLayout>

namespace zentrova {

NotBuiltPage::NotBuiltPage(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("notBuiltPage"));
    auto* layout = new QVBoxLayout(this);
    auto* notice = new QLabel(uiText("setting.not_built"), this);
    notice->setObjectName(QStringLiteral("notBuiltLabel"));
    notice->setAlignment(Qt::AlignCenter);
    notice->setWordWrap(true);
    layout->addStretch(1);
    layout->addWidget(notice);
    layout->addStretch(2);
}

}  // namespace zentrova
