#pragma once

#include "telemetry/ORVBlackBoxData.h"
#include "telemetry/ORVGSensor.h"

#include <QPixmap>
#include <QPointF>
#include <QPolygonF>
#include <QSizeF>
#include <QWidget>

#include <cstddef>
#include <memory>
#include <vector>

class QPainter;

namespace zentrova {

// The G-sensor trace of a whole recording on a -2..+2 grid, with a marker at
// the play position. Geometry is in points with the origin at the bottom
// left and y growing upwards; painting flips it onto the widget.
class GraphView : public QWidget {
    Q_OBJECT
public:
    explicit GraphView(QWidget* parent = nullptr);

    // The samples drawn, held by reference: the caller keeps the list alive
    // and unchanged while it is set, and sets nullptr (or another list)
    // before it changes or goes away. nullptr draws no trace.
    void setGraphData(const std::vector<ORVGSensor>* values);
    // The same, keeping the telemetry alive as long as it is shown.
    void setGraphData(std::shared_ptr<const ORVBlackBoxData> data);
    void setGraphData(std::nullptr_t) { setGraphData(static_cast<const std::vector<ORVGSensor>*>(nullptr)); }
    const std::vector<ORVGSensor>& values() const;

    // Held to 0..1 (NaN counts as 0).
    void updateTimePosition(double position);
    double timePosition() const { return m_timePosition; }

    QPointF graphAreaLeftBottom() const;
    QSizeF graphAreaSize() const;
    QPointF graphAreaZeroValuePoint() const;
    // The polyline of one axis (0 x, 1 y, 2 z) in the view's own y-up points.
    QPolygonF tracePoints(int axis) const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // The grid, labels and traces change only with the data or the size,
    // while the marker moves with every play position: they are drawn once
    // into a picture that each paint copies, drawn again for a new size.
    const QPixmap& plotPicture();
    void drawPlot(QPainter& painter);
    void drawBackgroundRect(QPainter& painter);
    void drawGraphData(QPainter& painter);
    void drawTimePositionVerticalBar(QPainter& painter);
    // One axis label whose right edge is 2 points left of point and whose
    // middle is 2 points above it.
    void drawString(QPainter& painter, const QString& text, QPointF point);
    // Whole-pixel rectangles keep the 1-point lines crisp.
    void fillSnappedRect(QPainter& painter, const QRectF& rect, const QColor& colour);

    const std::vector<ORVGSensor>* m_values = nullptr;
    std::shared_ptr<const ORVBlackBoxData> m_heldData;
    double m_timePosition = 0.0;
    QPixmap m_plot;
};

}  // namespace zentrova
