#include "playback/GraphView.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPen>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>

namespace zentrova {
namespace {

constexpr double kLeftMargin = 20.0;
constexpr double kBottomMargin = 8.0;
// One unit of acceleration is a quarter of the plot height: -2 to +2.
constexpr double kUnitsPerPlot = 4.0;
// Horizontal resolution of a trace: ten points per point of plot width.
constexpr double kStepsPerPoint = 10.0;
constexpr double kTraceStart = 21.0;
constexpr double kMarkerWidth = 2.0;
constexpr int kLabelPixelSize = 12;

const std::array<const char*, 5> kAxisLabels = {"-2", "-1", "0", "+1", "+2"};
const std::vector<ORVGSensor> kNoValues;

QColor backgroundGrey() { return QColor::fromRgbF(0.8f, 0.8f, 0.8f); }

float axisValue(const ORVGSensor& sample, int axis) {
    switch (axis) {
    case 0: return sample.x();
    case 1: return sample.y();
    default: return sample.z();
    }
}

QFont labelFont() {
    QFont font(QStringLiteral("Helvetica"));
    font.setStyleHint(QFont::SansSerif);
    // Sizes are in points of the view's own coordinates, one per pixel at
    // scale 1, not in typographic points of the screen's resolution.
    font.setPixelSize(kLabelPixelSize);
    return font;
}

}  // namespace

GraphView::GraphView(QWidget* parent) : QWidget(parent) { setObjectName(QStringLiteral("graphView")); }

void GraphView::setGraphData(const std::vector<ORVGSensor>* values) {
    m_heldData.reset();
    m_values = values;
    m_plot = QPixmap();
    update();
}

void GraphView::setGraphData(std::shared_ptr<const ORVBlackBoxData> data) {
    m_values = data ? &data->m_GSensors : nullptr;
    m_heldData = std::move(data);
    m_plot = QPixmap();
    update();
}

const std::vector<ORVGSensor>& GraphView::values() const { return m_values ? *m_values : kNoValues; }

void GraphView::updateTimePosition(double position) {
    // A marker outside the plot would be drawn over the labels or not at all.
    m_timePosition = position > 0.0 ? std::min(position, 1.0) : 0.0;
    update();
}

QPointF GraphView::graphAreaLeftBottom() const { return {kLeftMargin, kBottomMargin}; }

QSizeF GraphView::graphAreaSize() const { return {width() - 2 * kLeftMargin, height() - 2 * kBottomMargin}; }

QPointF GraphView::graphAreaZeroValuePoint() const {
    return {kLeftMargin, kBottomMargin + graphAreaSize().height() / 2};
}

QPolygonF GraphView::tracePoints(int axis) const {
    const std::vector<ORVGSensor>& samples = values();
    QPolygonF points;
    if (samples.empty()) return points;
    const double unit = graphAreaSize().height() / kUnitsPerPlot;
    const double zeroY = graphAreaZeroValuePoint().y();
    const auto steps = static_cast<std::int64_t>(std::floor(graphAreaSize().width() * kStepsPerPoint)) + 1;
    const auto count = static_cast<std::int64_t>(samples.size());
    points.reserve(static_cast<qsizetype>(std::max<std::int64_t>(steps, 1)));
    points.append({kTraceStart, axisValue(samples.front(), axis) * unit + zeroY});
    for (std::int64_t i = 1; i < steps; ++i) {
        const std::int64_t k = count * i / steps;
        if (k >= count) break;
        points.append({kTraceStart + static_cast<double>(i) / kStepsPerPoint,
                       axisValue(samples[static_cast<std::size_t>(k)], axis) * unit + zeroY});
    }
    return points;
}

QSize GraphView::sizeHint() const { return {300, 116}; }

void GraphView::paintEvent(QPaintEvent*) {
    const QPixmap& plot = plotPicture();
    QPainter painter(this);
    painter.drawPixmap(0, 0, plot);
    if (values().empty()) return;
    // The drawing is laid out with y growing upwards from the bottom edge.
    painter.translate(0, height());
    painter.scale(1, -1);
    drawTimePositionVerticalBar(painter);
}

const QPixmap& GraphView::plotPicture() {
    const qreal ratio = devicePixelRatioF();
    const QSize pixels(static_cast<int>(std::lround(width() * ratio)), static_cast<int>(std::lround(height() * ratio)));
    if (!m_plot.isNull() && m_plot.size() == pixels && m_plot.devicePixelRatio() == ratio) return m_plot;
    m_plot = QPixmap(pixels);
    m_plot.setDevicePixelRatio(ratio);
    QPainter painter(&m_plot);
    drawPlot(painter);
    return m_plot;
}

void GraphView::drawPlot(QPainter& painter) {
    painter.translate(0, height());
    painter.scale(1, -1);
    drawBackgroundRect(painter);
    if (values().empty()) return;
    drawGraphData(painter);
}

void GraphView::drawBackgroundRect(QPainter& painter) {
    painter.fillRect(QRectF(0, 0, width(), height()), backgroundGrey());
    const QPointF origin = graphAreaLeftBottom();
    const QSizeF size = graphAreaSize();
    for (int i = 0; i < static_cast<int>(kAxisLabels.size()); ++i) {
        const double y = origin.y() + i * size.height() / kUnitsPerPlot;
        fillSnappedRect(painter, QRectF(origin.x(), y, size.width(), 1), Qt::white);
    }
    fillSnappedRect(painter, QRectF(origin.x(), origin.y(), 1, size.height()), Qt::white);
    for (int i = 0; i < static_cast<int>(kAxisLabels.size()); ++i) {
        const double y = origin.y() + i * size.height() / kUnitsPerPlot;
        drawString(painter, QString::fromLatin1(kAxisLabels[static_cast<std::size_t>(i)]), QPointF(origin.x(), y));
    }
}

void GraphView::drawGraphData(QPainter& painter) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    const std::array<QColor, 3> colours = {QColor(Qt::red), QColor(Qt::green), QColor(Qt::blue)};
    for (int axis = 0; axis < 3; ++axis) {
        QPen pen(colours[static_cast<std::size_t>(axis)], 1.0);
        pen.setJoinStyle(Qt::RoundJoin);
        pen.setCapStyle(Qt::FlatCap);
        painter.setPen(pen);
        painter.drawPolyline(tracePoints(axis));
    }
    painter.restore();
}

void GraphView::drawTimePositionVerticalBar(QPainter& painter) {
    const QPointF origin = graphAreaLeftBottom();
    const QSizeF size = graphAreaSize();
    const double x = origin.x() + size.width() * m_timePosition;
    fillSnappedRect(painter, QRectF(x, origin.y(), kMarkerWidth, size.height()), Qt::white);
}

void GraphView::drawString(QPainter& painter, const QString& text, QPointF point) {
    const QFont font = labelFont();
    const QFontMetricsF metrics(font);
    const double textWidth = metrics.horizontalAdvance(text);
    const double textHeight = metrics.height();
    const QPointF origin(point.x() - (textWidth + 2), point.y() - (textHeight / 2 - 2));
    // Text is drawn in the widget's own y-down coordinates so it stays upright.
    const QRectF box(origin.x(), height() - (origin.y() + textHeight), textWidth, textHeight);
    painter.save();
    painter.resetTransform();
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(box, Qt::AlignLeft | Qt::AlignTop, text);
    painter.restore();
}

void GraphView::fillSnappedRect(QPainter& painter, const QRectF& rect, const QColor& colour) {
    const QRectF snapped(std::round(rect.x()), std::round(rect.y()), std::round(rect.width()),
                         std::round(rect.height()));
    painter.fillRect(snapped, colour);
}

}  // namespace zentrova
