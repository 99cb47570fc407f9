#pragma once

#include <QColor>
#include <QWidget>

namespace zentrova {

// The tick scale under a range slider: 22 evenly spaced ticks from left to
// right, the 1st, 11th and 22nd long. Laid out under the slider at its
// width; the inset keeps the first and last tick under the knobs' centres
// at the slider's ends.
class EcoSliderAxisView : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QColor backgroundColor READ backgroundColor WRITE setBackgroundColor)
public:
    static constexpr int kTickCount = 22;

    explicit EcoSliderAxisView(QWidget* parent = nullptr);

    QColor backgroundColor() const { return m_backgroundColor; }
    // A transparent colour (the default) lets the parent show through.
    void setBackgroundColor(const QColor& colour);
    void setTickInset(qreal inset);

    static bool isLongTick(int tick) { return tick == 0 || tick == 10 || tick == kTickCount - 1; }
    // Where tick i is drawn, from the widget's left edge.
    qreal tickPosition(int tick) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor m_backgroundColor = Qt::transparent;
    qreal m_inset = 0.0;
};

}  // namespace zentrova
