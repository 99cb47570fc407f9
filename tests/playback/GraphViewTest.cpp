#include "playback/GraphView.h"

#include "support/WidgetTestApplication.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>

#include <cmath>
#include <string>

namespace zentrova {
namespace {

// A view whose plot is 100 by 100 points: W = Wb - 40, H = Hb - 16.
constexpr int kWidth = 140;
constexpr int kHeight = 116;
const QRgb kGrey = qRgb(204, 204, 204);
const QRgb kWhite = qRgb(255, 255, 255);

QApplication& application() { return test::widgetTestApplication(); }

// The widget row of a 1-point line whose bottom edge is at y points above
// the bottom of the view.
int rowOfLineAt(int y) { return kHeight - 1 - y; }

class GraphViewTest : public ::testing::Test {
protected:
    void SetUp() override { view.resize(kWidth, kHeight); }

    QImage rendered() {
        QImage image(kWidth, kHeight, QImage::Format_RGB32);
        image.fill(Qt::black);
        view.render(&image);
        return image;
    }

    QApplication& app = application();
    GraphView view;
};

TEST_F(GraphViewTest, EmptyGraphDrawsGridOnGreyWithoutMarker) {
    const QImage image = rendered();
    for (int i = 0; i <= 4; ++i) {
        const int row = rowOfLineAt(8 + i * 25);
        for (int x : {25, 60, 119}) {
            SCOPED_TRACE("grid line " + std::to_string(i) + " at x " + std::to_string(x));
            EXPECT_EQ(image.pixel(x, row), kWhite);
            EXPECT_EQ(image.pixel(x, row - 1), kGrey);
            EXPECT_EQ(image.pixel(x, row + 1), kGrey);
        }
    }
    EXPECT_EQ(image.pixel(60, rowOfLineAt(58)), kWhite) << "zero line";
    for (int row : {10, 50, 100}) {
        SCOPED_TRACE("vertical line row " + std::to_string(row));
        EXPECT_EQ(image.pixel(20, row), kWhite);
        EXPECT_EQ(image.pixel(19, row), kGrey);
        EXPECT_EQ(image.pixel(21, row), kGrey);
    }
    EXPECT_EQ(image.pixel(70, 20), kGrey) << "no marker without samples";
    EXPECT_EQ(image.pixel(130, 95), kGrey);
    EXPECT_EQ(image.pixel(121, 50), kGrey) << "the grid stops at the plot's right edge";
}

TEST_F(GraphViewTest, LabelsStandLeftOfTheGridAtTheirLines) {
    const QImage image = rendered();
    auto whiteInRows = [&](int top, int bottom) {
        int count = 0;
        for (int y = top; y <= bottom; ++y) {
            for (int x = 0; x < 19; ++x) count += qGray(image.pixel(x, y)) > 240 ? 1 : 0;
        }
        return count;
    };
    for (int i = 0; i <= 4; ++i) {
        // The label's middle is 2 points above its line.
        const int middle = kHeight - (8 + i * 25 + 2);
        SCOPED_TRACE("label " + std::to_string(i));
        EXPECT_GT(whiteInRows(std::max(0, middle - 4), std::min(kHeight - 1, middle + 4)), 3);
    }
    EXPECT_EQ(whiteInRows(kHeight - 1 - 45, kHeight - 1 - 41), 0) << "nothing between two labels";
    for (int y = 0; y < kHeight; ++y) EXPECT_EQ(image.pixel(18, y), kGrey) << "right edge 2 points left, row " << y;
}

TEST_F(GraphViewTest, MarkerIsTwoPointsWideAtItsFractionOfThePlot) {
    const std::vector<ORVGSensor> samples(5);
    view.setGraphData(&samples);
    struct Case {
        double position;
        int column;
    } cases[] = {{0.5, 70}, {0.0, 20}, {1.0, 120}, {0.25, 45}, {-1.0, 20}, {std::nan(""), 20}, {3.0, 120}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.position);
        view.updateTimePosition(c.position);
        const QImage image = rendered();
        for (int row : {rowOfLineAt(10), 95, 20, rowOfLineAt(107)}) {
            EXPECT_EQ(image.pixel(c.column, row), kWhite);
            EXPECT_EQ(image.pixel(c.column + 1, row), kWhite);
            EXPECT_NE(image.pixel(c.column + 2, row), kWhite);
        }
        EXPECT_EQ(image.pixel(c.column, rowOfLineAt(7)), kGrey) << "the marker starts at the plot's bottom";
        if (c.column > 21) {
            EXPECT_EQ(image.pixel(c.column - 1, 95), kGrey);
        }
    }
}

// How strongly a pixel shows one of red (0), green (1) or blue (2).
int dominance(QRgb pixel, int channel) {
    const int values[] = {qRed(pixel), qGreen(pixel), qBlue(pixel)};
    return values[channel] - std::max(values[(channel + 1) % 3], values[(channel + 2) % 3]);
}

TEST_F(GraphViewTest, FiveSamplesOnAHundredPointPlotAreFlatRunsOfTwentyPoints) {
    const double xs[] = {0.6, -0.6, 1.2, -1.4, 0.2};
    std::vector<ORVGSensor> samples;
    for (double x : xs) samples.emplace_back(float(x), float(-x), float(x / 2));
    view.setGraphData(&samples);

    const QPolygonF points = view.tracePoints(0);
    ASSERT_EQ(points.size(), 1001);
    EXPECT_DOUBLE_EQ(points.front().x(), 21.0);
    EXPECT_NEAR(points.back().x(), 121.0, 1e-9);
    for (int k = 0; k < 5; ++k) {
        const double y = float(xs[k]) * 25.0 + 58.0;
        double first = 1e9;
        double last = -1e9;
        for (const QPointF& p : points) {
            if (std::abs(p.y() - y) > 1e-6) continue;
            first = std::min(first, p.x());
            last = std::max(last, p.x());
        }
        SCOPED_TRACE("sample " + std::to_string(k));
        EXPECT_NEAR(last - first, 20.0, 0.15);
        EXPECT_NEAR(first, 21.0 + 20.0 * k, 0.25);
    }

    const QImage image = rendered();
    for (int channel = 0; channel < 3; ++channel) {
        for (int k = 0; k < 5; ++k) {
            const double value = channel == 0 ? xs[k] : channel == 1 ? -xs[k] : xs[k] / 2;
            const double lineCentre = kHeight - (float(value) * 25.0 + 58.0);
            for (int offset : {3, 10, 17}) {
                const int column = 21 + 20 * k + offset;
                int bestRow = 0;
                for (int row = 0; row < kHeight; ++row) {
                    if (dominance(image.pixel(column, row), channel) > dominance(image.pixel(column, bestRow), channel)) {
                        bestRow = row;
                    }
                }
                SCOPED_TRACE("axis " + std::to_string(channel) + " sample " + std::to_string(k) + " column " +
                             std::to_string(column));
                EXPECT_GT(dominance(image.pixel(column, bestRow), channel), 100);
                EXPECT_LE(std::abs(bestRow + 0.5 - lineCentre), 1.0);
            }
        }
    }
}

// The grid and traces are drawn once and kept: what is kept must follow
// new data and a new size, and the marker must not stay behind in it.
TEST_F(GraphViewTest, KeptDrawingFollowsDataSizeAndMarker) {
    auto strongestRedRow = [](const QImage& image, int column) {
        int best = 0;
        for (int row = 0; row < image.height(); ++row) {
            if (dominance(image.pixel(column, row), 0) > dominance(image.pixel(column, best), 0)) best = row;
        }
        return best;
    };
    const std::vector<ORVGSensor> up(4, ORVGSensor(1.0f, 0.0f, 0.0f));
    const std::vector<ORVGSensor> down(4, ORVGSensor(-1.0f, 0.0f, 0.0f));
    view.setGraphData(&up);
    EXPECT_NEAR(strongestRedRow(rendered(), 60), rowOfLineAt(83), 1);
    view.setGraphData(&down);
    EXPECT_NEAR(strongestRedRow(rendered(), 60), rowOfLineAt(33), 1);

    const int markerRow = rowOfLineAt(20);
    view.updateTimePosition(0.2);
    EXPECT_EQ(rendered().pixel(40, markerRow), kWhite);
    view.updateTimePosition(0.8);
    const QImage moved = rendered();
    EXPECT_EQ(moved.pixel(40, markerRow), kGrey) << "the old marker stays";
    EXPECT_EQ(moved.pixel(100, markerRow), kWhite);

    view.resize(kWidth + 100, kHeight);
    QImage wider(kWidth + 100, kHeight, QImage::Format_RGB32);
    wider.fill(Qt::black);
    view.render(&wider);
    EXPECT_EQ(wider.pixel(200, rowOfLineAt(8)), kWhite) << "the grid reaches the new width";
    EXPECT_EQ(wider.pixel(180, markerRow), kWhite) << "the marker at 0.8 of the new width";
}

TEST_F(GraphViewTest, SharedTelemetryStaysAliveWhileShown) {
    auto data = std::make_shared<ORVBlackBoxData>();
    data->m_GSensors = {ORVGSensor(1.0f, 0.0f, 0.0f)};
    view.setGraphData(std::shared_ptr<const ORVBlackBoxData>(data));
    data.reset();
    ASSERT_EQ(view.values().size(), 1u);
    EXPECT_EQ(view.tracePoints(0).front(), QPointF(21.0, 83.0));
    view.setGraphData(nullptr);
    EXPECT_TRUE(view.values().empty());
    EXPECT_TRUE(view.tracePoints(0).isEmpty());
}

}  // namespace
}  // namespace zentrova
