#include "controls/EcoSliderAxisView.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace zentrova {
namespace {

constexpr int kLongTick = 8;
constexpr int kShortTick = 4;
const QColor kTickColour(0x8a, 0x93, 0x9f);

}  // namespace

EcoSliderAxisView::EcoSliderAxisView(QWidget* parent) : QWidget(parent) {
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void EcoSliderAxisView::setBackgroundColor(const QColor& colour) {
    m_backgroundColor = colour;
    update();
}

void EcoSliderAxisView::setTickInset(qreal inset) {
    m_inset = std::max<qreal>(inset, 0.0);
    update();
}

qreal EcoSliderAxisView::tickPosition(int tick) const {
    const qreal span = std::max<qreal>(width() - 2 * m_inset, 0.0);
    return m_inset + span * tick / (kTickCount - 1);
}

QSize EcoSliderAxisView::sizeHint() const { return QSize(200, kLongTick + 2); }

QSize EcoSliderAxisView::minimumSizeHint() const {
    return QSize(static_cast<int>(2 * m_inset) + kTickCount, kLongTick + 2);
}

void EcoSliderAxisView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (m_backgroundColor.alpha() > 0) painter.fillRect(rect(), m_backgroundColor);
    painter.setPen(QPen(kTickColour, 1.0));
    for (int tick = 0; tick < kTickCount; ++tick) {
        // On whole pixels, so that each tick is one sharp line.
        const qreal x = std::min(std::floor(tickPosition(tick)), qreal(width() - 1)) + 0.5;
        painter.drawLine(QPointF(x, 1), QPointF(x, 1 + (isLongTick(tick) ? kLongTick : kShortTick)));
    }
}

}  // namespace zentrova
