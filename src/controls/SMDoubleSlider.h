#pragma once

#include "controls/SMDoubleSliderCell.h"

#include <QVariant>
#include <QWidget>

namespace zentrova {

// A slider with a low and a high knob over its minimum and maximum, the low
// never above the high. A press takes the nearer knob; Tab goes from the
// low knob to the high one and then on, Back-tab the other way; the arrow
// keys move the selected knob, which the focus ring marks.
class SMDoubleSlider : public QWidget {
    Q_OBJECT
    Q_PROPERTY(double doubleLoValue READ doubleLoValue WRITE setDoubleLoValue NOTIFY loValueChanged)
    Q_PROPERTY(double doubleHiValue READ doubleHiValue WRITE setDoubleHiValue NOTIFY hiValueChanged)
public:
    using Knob = SMDoubleSliderCell::Knob;

    explicit SMDoubleSlider(QWidget* parent = nullptr);
    explicit SMDoubleSlider(Qt::Orientation orientation, QWidget* parent = nullptr);

    double doubleLoValue() const { return m_cell.loValue(); }
    double doubleHiValue() const { return m_cell.hiValue(); }
    // Truncated toward zero.
    int integerLoValue() const;
    int integerHiValue() const;
    QVariant objectLoValue() const { return doubleLoValue(); }
    QVariant objectHiValue() const { return doubleHiValue(); }

    double minValue() const { return m_cell.minValue(); }
    double maxValue() const { return m_cell.maxValue(); }
    double altIncrementValue() const { return m_cell.altIncrementValue(); }
    bool lockedSliders() const { return m_cell.lockedSliders(); }
    bool trackingLoKnob() const { return m_cell.trackingLoKnob(); }
    Knob selectedKnob() const { return m_cell.selectedKnob(); }
    // Continuous sliders report the user's moves while the knob is dragged,
    // others once it is let go.
    bool isContinuous() const { return m_continuous; }
    void setContinuous(bool continuous) { m_continuous = continuous; }
    Qt::Orientation orientation() const { return m_orientation; }

    // Moves the selected knob as the user would (keys, assistive tools):
    // the move is reported.
    void moveSelectedKnobTo(double value);

    // Where a knob is drawn, in the widget's coordinates.
    QRectF knobRect(Knob knob) const;
    // How far a knob's centre stays from either end: the minimum and the
    // maximum lie this far inside the widget.
    static qreal trackEndMargin();

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

public slots:
    void setDoubleLoValue(double value);
    void setDoubleHiValue(double value);
    // Both at once: the pair arrives whole whenever lo <= hi.
    void setDoubleLoAndHiValues(double lo, double hi);
    void setIntegerLoValue(int value) { setDoubleLoValue(value); }
    void setIntegerHiValue(int value) { setDoubleHiValue(value); }
    // A number, or text that reads as one; anything else counts as 0.
    void setObjectLoValue(const QVariant& value);
    void setObjectHiValue(const QVariant& value);
    void setMinValue(double minimum);
    void setMaxValue(double maximum);
    void setAltIncrementValue(double increment);
    void setLockedSliders(bool locked);
    void setTrackingLoKnob(bool trackingLo);

signals:
    // Every change, by the program or the user.
    void loValueChanged(double value);
    void hiValueChanged(double value);
    // Moves made by the user only: what a binding writes back.
    void loValueMoved(double value);
    void hiValueMoved(double value);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    bool focusNextPrevChild(bool next) override;
    void changeEvent(QEvent* event) override;

private:
    enum class Origin { Program, UserStep, UserDragStep };

    // Runs one change of the cell and tells whoever listens what moved.
    template <typename Change>
    void change(Origin origin, Change&& apply);
    void reportMoved(double loBefore, double hiBefore);
    void selectKnob(Knob knob);

    qreal length() const;
    qreal crossCentre() const;
    qreal axisPosition(const QPointF& point) const;
    qreal positionOfValue(double value) const;
    double valueAtPosition(qreal position) const;
    QPointF knobCentre(Knob knob) const;
    void beginDragAt(const QPointF& point);

    SMDoubleSliderCell m_cell;
    Qt::Orientation m_orientation;
    bool m_continuous = true;
    // Where on the knob the press landed, so the knob does not jump to it.
    qreal m_grabOffset = 0.0;
    double m_loAtPress = 0.0;
    double m_hiAtPress = 0.0;
};

}  // namespace zentrova
