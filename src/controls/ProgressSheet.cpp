#include "controls/ProgressSheet.h"

#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace zentrova {

ProgressSheet::ProgressSheet(QWidget* window)
    : QDialog(window), m_message(new QLabel(this)), m_bar(new QProgressBar(this)) {
    setObjectName(QStringLiteral("progressSheet"));
    setWindowModality(window ? Qt::WindowModal : Qt::ApplicationModal);
    m_message->setObjectName(QStringLiteral("progressSheetMessage"));
    m_message->setAlignment(Qt::AlignCenter);
    m_message->setWordWrap(true);
    m_bar->setObjectName(QStringLiteral("progressSheetBar"));
    m_bar->setTextVisible(false);
    m_bar->setFixedHeight(6);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 20, 24, 20);
    layout->setSpacing(12);
    layout->addWidget(m_message);
    layout->addWidget(m_bar);
    setMinimumWidth(320);
    setBusy();
}

void ProgressSheet::setMessage(const QString& message) { m_message->setText(message); }

QString ProgressSheet::message() const { return m_message->text(); }

// A range of 0..0 makes the bar run as a busy indicator.
void ProgressSheet::setBusy() { m_bar->setRange(0, 0); }

bool ProgressSheet::isBusy() const { return m_bar->maximum() == 0; }

void ProgressSheet::setFraction(double fraction) {
    // NaN counts as no progress.
    const double held = std::isnan(fraction) ? 0.0 : std::clamp(fraction, 0.0, 1.0);
    m_bar->setRange(0, kSteps);
    m_bar->setValue(static_cast<int>(std::lround(held * kSteps)));
}

double ProgressSheet::fraction() const {
    if (isBusy()) return 0.0;
    return static_cast<double>(m_bar->value()) / kSteps;
}

void ProgressSheet::showSheet() { open(); }

void ProgressSheet::closeSheet() { done(QDialog::Accepted); }

// The work decides when the sheet goes, not the Escape key.
void ProgressSheet::reject() {}

}  // namespace zentrova
