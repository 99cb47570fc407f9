#include "controls/TKClockTimePicker.h"

#include "controls/UiText.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <cmath>
#include <numbers>

namespace zentrova {
namespace {

constexpr int kSecondsPerDay = 24 * 3600;
constexpr double kHourHandLength = 0.52;
constexpr double kMinuteHandLength = 0.78;
constexpr double kSecondHandLength = 0.84;

double wrappedDegrees(double degrees) {
    const double wrapped = std::fmod(degrees, 360.0);
    return wrapped < 0 ? wrapped + 360.0 : wrapped;
}

double angularDistance(double a, double b) {
    const double d = std::fabs(wrappedDegrees(a) - wrappedDegrees(b));
    return d > 180.0 ? 360.0 - d : d;
}

QTime timeOfDay(int hour, int minute, int second) {
    return QTime(((hour % 24) + 24) % 24, minute, second);
}

// A point at an angle (clockwise from twelve) and a distance from the centre.
QPointF pointAt(const QPointF& centre, double degrees, double distance) {
    const double radians = degrees * std::numbers::pi / 180.0;
    return centre + QPointF(std::sin(radians) * distance, -std::cos(radians) * distance);
}

void drawHand(QPainter& painter, const QPointF& centre, double degrees, double length, double width,
              const QColor& colour) {
    painter.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(pointAt(centre, degrees + 180.0, length * 0.12), pointAt(centre, degrees, length));
}

}  // namespace

TKClockTimePicker::TKClockTimePicker(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::StrongFocus);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    setToolTip(uiText("clock.tooltip"));
    setAccessibleName(uiText("clock.accessible_name"));
}

void TKClockTimePicker::setTime(const QTime& time) {
    if (!time.isValid() || time == m_time) return;
    m_time = time;
    update();
    emit timeChanged(m_time);
}

void TKClockTimePicker::editTo(const QTime& time) {
    if (!time.isValid() || time == m_time) return;
    setTime(time);
    emit timeEdited(m_time);
}

double TKClockTimePicker::minuteAngle(const QTime& time) { return (time.minute() + time.second() / 60.0) * 6.0; }

double TKClockTimePicker::hourAngle(const QTime& time) { return ((time.hour() % 12) + time.minute() / 60.0) * 30.0; }

double TKClockTimePicker::angleOf(const QPointF& fromCentre) {
    return wrappedDegrees(std::atan2(fromCentre.x(), -fromCentre.y()) * 180.0 / std::numbers::pi);
}

QTime TKClockTimePicker::withMinuteHandAt(const QTime& time, double angle) {
    const int minute = static_cast<int>(std::lround(wrappedDegrees(angle) / 6.0)) % 60;
    const int step = minute - time.minute();
    int hour = time.hour();
    // A hand that jumped more than half the face went the short way round
    // through twelve.
    if (step < -30) ++hour;
    if (step > 30) --hour;
    return timeOfDay(hour, minute, time.second());
}

QTime TKClockTimePicker::withHourHandAt(const QTime& time, double angle) {
    const int hourOnFace = static_cast<int>(std::floor(wrappedDegrees(angle) / 30.0)) % 12;
    const int step = hourOnFace - time.hour() % 12;
    bool afternoon = time.hour() >= 12;
    if (step < -6 || step > 6) afternoon = !afternoon;
    return timeOfDay(hourOnFace + (afternoon ? 12 : 0), time.minute(), time.second());
}

QColor TKClockTimePicker::colourOr(const QColor& chosen, QPalette::ColorRole role) const {
    return chosen.isValid() ? chosen : palette().color(role);
}

QPointF TKClockTimePicker::centre() const { return QRectF(rect()).center(); }

double TKClockTimePicker::radius() const { return std::min(width(), height()) / 2.0 - 4.0; }

TKClockTimePicker::Hand TKClockTimePicker::handNearest(const QPointF& point) const {
    const QPointF offset = point - centre();
    const double distance = std::hypot(offset.x(), offset.y());
    if (distance > radius() * (kHourHandLength + 0.1)) return Hand::Minute;
    const double angle = angleOf(offset);
    return angularDistance(angle, hourAngle(m_time)) < angularDistance(angle, minuteAngle(m_time)) ? Hand::Hour
                                                                                                   : Hand::Minute;
}

void TKClockTimePicker::moveHand(Hand hand, const QPointF& point) {
    const QPointF offset = point - centre();
    // The centre itself has no direction.
    if (std::hypot(offset.x(), offset.y()) < 3.0) return;
    const double angle = angleOf(offset);
    editTo(hand == Hand::Hour ? withHourHandAt(m_time, angle) : withMinuteHandAt(m_time, angle));
}

void TKClockTimePicker::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
    setFocus(Qt::MouseFocusReason);
    m_dragged = handNearest(event->position());
    moveHand(m_dragged, event->position());
    update();
    event->accept();
}

void TKClockTimePicker::mouseMoveEvent(QMouseEvent* event) {
    if (m_dragged == Hand::None) return QWidget::mouseMoveEvent(event);
    moveHand(m_dragged, event->position());
    event->accept();
}

void TKClockTimePicker::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return QWidget::mouseReleaseEvent(event);
    m_dragged = Hand::None;
    update();
    event->accept();
}

void TKClockTimePicker::keyPressEvent(QKeyEvent* event) {
    const int seconds = m_time.msecsSinceStartOfDay() / 1000;
    auto shifted = [seconds](int by) { return QTime(0, 0).addSecs(((seconds + by) % kSecondsPerDay + kSecondsPerDay) % kSecondsPerDay); };
    switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Right: editTo(shifted(60)); break;
    case Qt::Key_Down:
    case Qt::Key_Left: editTo(shifted(-60)); break;
    case Qt::Key_PageUp: editTo(shifted(3600)); break;
    case Qt::Key_PageDown: editTo(shifted(-3600)); break;
    case Qt::Key_A:
        if (m_time.hour() >= 12) editTo(shifted(-12 * 3600));
        break;
    case Qt::Key_P:
        if (m_time.hour() < 12) editTo(shifted(12 * 3600));
        break;
    default: return QWidget::keyPressEvent(event);
    }
    event->accept();
}

void TKClockTimePicker::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPointF c = centre();
    const double r = radius();
    const QColor face = colourOr(m_faceColor, QPalette::Base);
    const QColor ink = colourOr(m_inkColor, QPalette::Text);
    const QColor accent = colourOr(m_accentColor, QPalette::Highlight);
    const QColor quiet = colourOr(m_quietColor, QPalette::PlaceholderText);

    painter.setPen(QPen(hasFocus() ? accent : quiet, hasFocus() ? 2.5 : 1.0));
    painter.setBrush(face);
    painter.drawEllipse(c, r, r);

    for (int mark = 0; mark < 60; ++mark) {
        const bool hourMark = mark % 5 == 0;
        painter.setPen(QPen(ink, hourMark ? 2.0 : 1.0));
        painter.drawLine(pointAt(c, mark * 6.0, r * (hourMark ? 0.86 : 0.91)), pointAt(c, mark * 6.0, r * 0.95));
    }
    QFont numbers = font();
    numbers.setPixelSize(std::max(9, static_cast<int>(r * 0.14)));
    painter.setFont(numbers);
    painter.setPen(ink);
    for (int hour = 1; hour <= 12; ++hour) {
        const QPointF at = pointAt(c, hour * 30.0, r * 0.70);
        painter.drawText(QRectF(at.x() - r * 0.15, at.y() - r * 0.1, r * 0.3, r * 0.2), Qt::AlignCenter,
                         QString::number(hour));
    }
    QFont half = numbers;
    half.setPixelSize(std::max(8, static_cast<int>(r * 0.12)));
    painter.setFont(half);
    painter.setPen(quiet);
    painter.drawText(QRectF(c.x() - r * 0.3, c.y() + r * 0.22, r * 0.6, r * 0.18), Qt::AlignCenter,
                     uiText(m_time.hour() < 12 ? "clock.am" : "clock.pm"));

    drawHand(painter, c, hourAngle(m_time), r * kHourHandLength, std::max(3.0, r * 0.06),
             m_dragged == Hand::Hour ? accent : ink);
    drawHand(painter, c, minuteAngle(m_time), r * kMinuteHandLength, std::max(2.0, r * 0.035),
             m_dragged == Hand::Minute ? accent : ink);
    drawHand(painter, c, m_time.second() * 6.0, r * kSecondHandLength, 1.0, accent);
    painter.setPen(Qt::NoPen);
    painter.setBrush(accent);
    painter.drawEllipse(c, std::max(3.0, r * 0.04), std::max(3.0, r * 0.04));
}

}  // namespace zentrova
