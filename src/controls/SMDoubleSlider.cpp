#include "controls/SMDoubleSlider.h"

#include "controls/SMDoubleSliderAccessible.h"

#include <QAccessible>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <climits>
#include <cmath>

namespace zentrova {
namespace {

constexpr qreal kKnobDiameter = 16.0;
constexpr qreal kGrooveThickness = 4.0;
constexpr qreal kRingGap = 2.0;
constexpr qreal kRingWidth = 2.0;
// The knob's centre never comes closer to an end than this, so the knob
// and its focus ring are drawn whole.
constexpr qreal kEndMargin = kKnobDiameter / 2 + kRingGap + kRingWidth;
constexpr int kThickness = static_cast<int>(kKnobDiameter + 2 * (kRingGap + kRingWidth));

const QColor kGrooveColour(0x3a, 0x40, 0x49);
const QColor kRangeColour(0x19, 0xb5, 0xc8);
const QColor kKnobColour(0xe8, 0xec, 0xf1);
const QColor kKnobEdgeColour(0x0d, 0x10, 0x13, 140);
const QColor kDisabledGrooveColour(0x2e, 0x33, 0x3b);
const QColor kDisabledRangeColour(0x4a, 0x50, 0x59);
const QColor kDisabledKnobColour(0x6b, 0x73, 0x7d);

int truncated(double value) {
    return static_cast<int>(std::clamp(std::trunc(value), double(INT_MIN), double(INT_MAX)));
}

double numberOrZero(const QVariant& value) {
    bool isNumber = false;
    const double number = value.toDouble(&isNumber);
    return isNumber ? number : 0.0;
}

}  // namespace

SMDoubleSlider::SMDoubleSlider(QWidget* parent) : SMDoubleSlider(Qt::Horizontal, parent) {}

SMDoubleSlider::SMDoubleSlider(Qt::Orientation orientation, QWidget* parent)
    : QWidget(parent), m_orientation(orientation) {
    SMDoubleSliderAccessible::installFactory();
    setFocusPolicy(Qt::StrongFocus);
    if (orientation == Qt::Horizontal) {
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    } else {
        setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
    }
}

int SMDoubleSlider::integerLoValue() const { return truncated(doubleLoValue()); }

int SMDoubleSlider::integerHiValue() const { return truncated(doubleHiValue()); }

template <typename Change>
void SMDoubleSlider::change(Origin origin, Change&& apply) {
    const double loBefore = m_cell.loValue();
    const double hiBefore = m_cell.hiValue();
    apply();
    update();
    const bool loChanged = m_cell.loValue() != loBefore;
    const bool hiChanged = m_cell.hiValue() != hiBefore;
    if (!loChanged && !hiChanged) return;
    if (loChanged) emit loValueChanged(m_cell.loValue());
    if (hiChanged) emit hiValueChanged(m_cell.hiValue());
    if (origin == Origin::UserStep || (origin == Origin::UserDragStep && m_continuous)) {
        reportMoved(loBefore, hiBefore);
    }
    if (QAccessible::isActive()) {
        QAccessibleValueChangeEvent notice(this, m_cell.value(m_cell.selectedKnob()));
        QAccessible::updateAccessibility(&notice);
    }
}

void SMDoubleSlider::reportMoved(double loBefore, double hiBefore) {
    if (m_cell.loValue() != loBefore) emit loValueMoved(m_cell.loValue());
    if (m_cell.hiValue() != hiBefore) emit hiValueMoved(m_cell.hiValue());
}

void SMDoubleSlider::setDoubleLoValue(double value) {
    change(Origin::Program, [&] { m_cell.setLoValue(value); });
}

void SMDoubleSlider::setDoubleHiValue(double value) {
    change(Origin::Program, [&] { m_cell.setHiValue(value); });
}

void SMDoubleSlider::setDoubleLoAndHiValues(double lo, double hi) {
    change(Origin::Program, [&] { m_cell.setLoAndHiValues(lo, hi); });
}

void SMDoubleSlider::setObjectLoValue(const QVariant& value) { setDoubleLoValue(numberOrZero(value)); }

void SMDoubleSlider::setObjectHiValue(const QVariant& value) { setDoubleHiValue(numberOrZero(value)); }

void SMDoubleSlider::setMinValue(double minimum) {
    change(Origin::Program, [&] { m_cell.setMinValue(minimum); });
}

void SMDoubleSlider::setMaxValue(double maximum) {
    change(Origin::Program, [&] { m_cell.setMaxValue(maximum); });
}

void SMDoubleSlider::setAltIncrementValue(double increment) { m_cell.setAltIncrementValue(increment); }

void SMDoubleSlider::setLockedSliders(bool locked) {
    change(Origin::Program, [&] { m_cell.setLockedSliders(locked); });
}

void SMDoubleSlider::setTrackingLoKnob(bool trackingLo) {
    m_cell.setTrackingLoKnob(trackingLo);
    update();
}

void SMDoubleSlider::selectKnob(Knob knob) { setTrackingLoKnob(knob == Knob::Low); }

void SMDoubleSlider::moveSelectedKnobTo(double value) {
    change(Origin::UserStep, [&] { m_cell.moveSelectedKnobTo(value); });
}

qreal SMDoubleSlider::length() const { return m_orientation == Qt::Horizontal ? width() : height(); }

qreal SMDoubleSlider::crossCentre() const {
    return (m_orientation == Qt::Horizontal ? height() : width()) / 2.0;
}

qreal SMDoubleSlider::axisPosition(const QPointF& point) const {
    return m_orientation == Qt::Horizontal ? point.x() : point.y();
}

// Vertical sliders have their minimum at the bottom.
qreal SMDoubleSlider::positionOfValue(double value) const {
    const double range = maxValue() - minValue();
    const double fraction = range > 0.0 ? (value - minValue()) / range : 0.0;
    const qreal span = std::max<qreal>(length() - 2 * kEndMargin, 0.0);
    const qreal offset = fraction * span;
    return m_orientation == Qt::Horizontal ? kEndMargin + offset : length() - kEndMargin - offset;
}

double SMDoubleSlider::valueAtPosition(qreal position) const {
    const qreal span = length() - 2 * kEndMargin;
    if (span <= 0.0) return minValue();
    const qreal offset = m_orientation == Qt::Horizontal ? position - kEndMargin : length() - kEndMargin - position;
    const double fraction = std::clamp(offset / span, 0.0, 1.0);
    return minValue() + fraction * (maxValue() - minValue());
}

QPointF SMDoubleSlider::knobCentre(Knob knob) const {
    const qreal along = positionOfValue(m_cell.value(knob));
    return m_orientation == Qt::Horizontal ? QPointF(along, crossCentre()) : QPointF(crossCentre(), along);
}

QRectF SMDoubleSlider::knobRect(Knob knob) const {
    const QPointF centre = knobCentre(knob);
    const qreal radius = kKnobDiameter / 2;
    return QRectF(centre.x() - radius, centre.y() - radius, kKnobDiameter, kKnobDiameter);
}

qreal SMDoubleSlider::trackEndMargin() { return kEndMargin; }

QSize SMDoubleSlider::sizeHint() const {
    return m_orientation == Qt::Horizontal ? QSize(200, kThickness) : QSize(kThickness, 200);
}

QSize SMDoubleSlider::minimumSizeHint() const {
    const int shortest = static_cast<int>(2 * kEndMargin + kKnobDiameter);
    return m_orientation == Qt::Horizontal ? QSize(shortest, kThickness) : QSize(kThickness, shortest);
}

void SMDoubleSlider::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    const bool enabled = isEnabled();
    const bool horizontal = m_orientation == Qt::Horizontal;
    const qreal halfGroove = kGrooveThickness / 2;
    auto bar = [&](qreal from, qreal to) {
        const qreal start = std::min(from, to);
        const qreal extent = std::abs(to - from);
        return horizontal ? QRectF(start, crossCentre() - halfGroove, extent, kGrooveThickness)
                          : QRectF(crossCentre() - halfGroove, start, kGrooveThickness, extent);
    };

    painter.setBrush(enabled ? kGrooveColour : kDisabledGrooveColour);
    painter.drawRoundedRect(bar(kEndMargin - halfGroove, length() - kEndMargin + halfGroove), halfGroove, halfGroove);
    painter.setBrush(enabled ? kRangeColour : kDisabledRangeColour);
    painter.drawRoundedRect(bar(positionOfValue(doubleLoValue()), positionOfValue(doubleHiValue())), halfGroove,
                            halfGroove);

    // The selected knob last: on top when the two lie on each other.
    const Knob selected = selectedKnob();
    const Knob other = selected == Knob::Low ? Knob::High : Knob::Low;
    for (Knob knob : {other, selected}) {
        painter.setPen(QPen(kKnobEdgeColour, 1.0));
        painter.setBrush(enabled ? kKnobColour : kDisabledKnobColour);
        painter.drawEllipse(knobRect(knob).adjusted(0.5, 0.5, -0.5, -0.5));
    }
    if (hasFocus()) {
        const qreal grow = kRingGap + kRingWidth / 2;
        painter.setPen(QPen(kRangeColour, kRingWidth));
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(knobRect(selected).adjusted(-grow, -grow, grow, grow));
    }
}

void SMDoubleSlider::beginDragAt(const QPointF& point) {
    const qreal at = axisPosition(point);
    const qreal loAt = positionOfValue(doubleLoValue());
    const qreal hiAt = positionOfValue(doubleHiValue());
    const bool onKnobs = knobRect(Knob::Low).contains(point) || knobRect(Knob::High).contains(point);
    m_grabOffset = 0.0;
    if (std::abs(loAt - hiAt) < 1.0) {
        if (onKnobs) {
            m_cell.beginDragOfKnobsTogether();
            m_grabOffset = at - loAt;
            update();
            return;
        }
        // Beside the pair: the knob on that side.
        m_cell.beginDrag(valueAtPosition(at) < doubleLoValue() ? Knob::Low : Knob::High);
    } else {
        const Knob nearer = std::abs(at - loAt) <= std::abs(at - hiAt) ? Knob::Low : Knob::High;
        m_cell.beginDrag(nearer);
        if (knobRect(nearer).contains(point)) {
            m_grabOffset = at - positionOfValue(m_cell.value(nearer));
            update();
            return;
        }
    }
    // A press on the bar brings the knob there.
    change(Origin::UserDragStep, [&] { m_cell.dragTo(valueAtPosition(at)); });
}

void SMDoubleSlider::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || m_cell.isDragging()) return QWidget::mousePressEvent(event);
    event->accept();
    m_loAtPress = doubleLoValue();
    m_hiAtPress = doubleHiValue();
    beginDragAt(event->position());
}

void SMDoubleSlider::mouseMoveEvent(QMouseEvent* event) {
    if (!m_cell.isDragging()) return QWidget::mouseMoveEvent(event);
    event->accept();
    const qreal at = axisPosition(event->position()) - m_grabOffset;
    change(Origin::UserDragStep, [&] { m_cell.dragTo(valueAtPosition(at)); });
}

void SMDoubleSlider::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !m_cell.isDragging()) return QWidget::mouseReleaseEvent(event);
    event->accept();
    m_cell.endDrag();
    if (!m_continuous) reportMoved(m_loAtPress, m_hiAtPress);
    update();
}

void SMDoubleSlider::keyPressEvent(QKeyEvent* event) {
    int steps = 0;
    switch (event->key()) {
        case Qt::Key_Left:
        case Qt::Key_Down:
            steps = -1;
            break;
        case Qt::Key_Right:
        case Qt::Key_Up:
            steps = 1;
            break;
        case Qt::Key_PageDown:
            steps = -10;
            break;
        case Qt::Key_PageUp:
            steps = 10;
            break;
        case Qt::Key_Home:
            return moveSelectedKnobTo(minValue());
        case Qt::Key_End:
            return moveSelectedKnobTo(maxValue());
        default:
            return QWidget::keyPressEvent(event);
    }
    if (m_cell.isDragging()) return;
    change(Origin::UserStep, [&] { m_cell.stepSelectedKnob(steps); });
}

void SMDoubleSlider::focusInEvent(QFocusEvent* event) {
    if (event->reason() == Qt::TabFocusReason) selectKnob(Knob::Low);
    if (event->reason() == Qt::BacktabFocusReason) selectKnob(Knob::High);
    QWidget::focusInEvent(event);
    update();
}

void SMDoubleSlider::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    update();
}

// Tab walks low knob, high knob, next control; Back-tab the other way.
bool SMDoubleSlider::focusNextPrevChild(bool next) {
    if (next && selectedKnob() == Knob::Low) {
        selectKnob(Knob::High);
        return true;
    }
    if (!next && selectedKnob() == Knob::High) {
        selectKnob(Knob::Low);
        return true;
    }
    return QWidget::focusNextPrevChild(next);
}

void SMDoubleSlider::changeEvent(QEvent* event) {
    if (event->type() == QEvent::EnabledChange) {
        if (!isEnabled() && m_cell.isDragging()) m_cell.endDrag();
        update();
    }
    QWidget::changeEvent(event);
}

}  // namespace zentrova
