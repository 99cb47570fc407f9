#include "controls/ScanningIndicator.h"

#include "controls/UiText.h"

#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

namespace zentrova {

ScanningIndicator::ScanningIndicator(QWidget* parent)
    : QWidget(parent), m_label(new QLabel(this)), m_bar(new QProgressBar(this)) {
    setObjectName("scanningIndicator");
    setAttribute(Qt::WA_StyledBackground, true);
    m_label->setText(uiText("filelist.scanning"));
    m_label->setAlignment(Qt::AlignCenter);
    // A range of 0..0 makes the bar run as a busy indicator.
    m_bar->setRange(0, 0);
    m_bar->setTextVisible(false);
    m_bar->setFixedWidth(180);
    m_bar->setFixedHeight(6);
    auto* layout = new QVBoxLayout(this);
    layout->addStretch(1);
    layout->addWidget(m_label, 0, Qt::AlignHCenter);
    layout->addWidget(m_bar, 0, Qt::AlignHCenter);
    layout->addStretch(1);
}

}  // namespace zentrova
