#pragma once

#include <QColor>
#include <QPalette>
#include <QTime>
#include <QWidget>

namespace zentrova {

// A time of day on an analogue clock face. The user drags the hour or the
// minute hand (a click moves the nearer hand there); the minute hand
// carries the hour on past twelve, the hour hand the half of the day. Keys:
// Up/Down a minute, Page Up/Page Down an hour, A/P the morning or the
// afternoon. The seconds are shown and kept as they are.
class TKClockTimePicker : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QTime time READ time WRITE setTime NOTIFY timeChanged)
    // Colours a style sheet may set ("qproperty-faceColor"); the palette's
    // base, text, highlight and placeholder colours otherwise.
    Q_PROPERTY(QColor faceColor MEMBER m_faceColor)
    Q_PROPERTY(QColor inkColor MEMBER m_inkColor)
    Q_PROPERTY(QColor accentColor MEMBER m_accentColor)
    Q_PROPERTY(QColor quietColor MEMBER m_quietColor)
public:
    enum class Hand { None, Hour, Minute };

    explicit TKClockTimePicker(QWidget* parent = nullptr);

    QTime time() const { return m_time; }
    // An invalid time is ignored.
    void setTime(const QTime& time);

    QSize sizeHint() const override { return QSize(180, 180); }
    QSize minimumSizeHint() const override { return QSize(120, 120); }
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override { return width; }

    // Where the hands point, in degrees clockwise from twelve.
    static double minuteAngle(const QTime& time);
    static double hourAngle(const QTime& time);
    // The angle of a point seen from the centre, clockwise from twelve.
    static double angleOf(const QPointF& fromCentre);
    // The time after the minute hand was moved to an angle, the hour going
    // on or back when the hand passes twelve.
    static QTime withMinuteHandAt(const QTime& time, double angle);
    // The time after the hour hand was moved to an angle, the half of the
    // day changing when the hand passes twelve.
    static QTime withHourHandAt(const QTime& time, double angle);

    Hand draggedHand() const { return m_dragged; }

signals:
    // Any change, by the program or the user.
    void timeChanged(const QTime& time);
    // The user changed the time (the control's action).
    void timeEdited(const QTime& time);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QPointF centre() const;
    double radius() const;
    Hand handNearest(const QPointF& point) const;
    void moveHand(Hand hand, const QPointF& point);
    void editTo(const QTime& time);

    QColor colourOr(const QColor& chosen, QPalette::ColorRole role) const;

    QTime m_time{0, 0, 0};
    QColor m_faceColor;
    QColor m_inkColor;
    QColor m_accentColor;
    QColor m_quietColor;
    Hand m_dragged = Hand::None;
};

}  // namespace zentrova
