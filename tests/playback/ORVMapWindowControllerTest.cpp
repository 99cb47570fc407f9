#include "playback/ORVMapWindowController.h"

#include "MapTestSupport.h"
#include "common/Log.h"
#include "playback/ORVMapView.h"

#include <gtest/gtest.h>

#include <QScreen>
#include <QSignalSpy>
#include <QWebEngineProfile>

#include <string>
#include <vector>

namespace zentrova {
namespace {
using test::evaluate;

TEST(ORVMapWindowControllerGeometryTest, OriginIsRightOfTheOpenerWithTopsLevel) {
    const struct {
        QRect opener;
        QPoint origin;
    } cases[] = {
        {QRect(100, 50, 800, 600), QPoint(900, 50)},
        {QRect(0, 0, 1, 1), QPoint(1, 0)},
        {QRect(-300, -20, 200, 100), QPoint(-100, -20)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.opener.x());
        EXPECT_EQ(ORVMapWindowController::originRightOf(c.opener), c.origin);
    }
}

TEST(ORVMapWindowControllerGeometryTest, TheWholeWindowStaysOnTheOpenersScreen) {
    const QRect screen(0, 0, 1600, 1000);
    const QSize size(640, 480);
    const struct {
        const char* name;
        QRect opener;
        QSize size;
        QRect area;
        QPoint origin;
    } cases[] = {
        {"room on the right: beside the opener", QRect(100, 50, 800, 600), size, screen, QPoint(900, 50)},
        {"no room on the right: back by the overflow only", QRect(350, 150, 900, 700), size, screen,
         QPoint(960, 150)},
        {"no room below: up by the overflow only", QRect(100, 700, 800, 200), size, screen, QPoint(900, 520)},
        {"a second screen right of the first", QRect(2200, 100, 800, 600), size, QRect(1600, 0, 1280, 1024),
         QPoint(2240, 100)},
        {"an opener partly above the screen", QRect(100, -40, 300, 300), size, screen, QPoint(400, 0)},
        {"a window wider than the screen: its left edge on it", QRect(100, 50, 800, 600), QSize(2000, 480), screen,
         QPoint(0, 50)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ORVMapWindowController::originRightOf(c.opener, c.size, c.area), c.origin);
    }
}

class ORVMapWindowControllerTest : public ::testing::Test {
protected:
    void SetUp() override { test::webApplication(); }
};

TEST_F(ORVMapWindowControllerTest, WindowLoadsTheMapPageAndLogsItsFrame) {
    std::vector<std::string> lines;
    setLogSink([&](std::string_view line) { lines.emplace_back(line); });
    test::OfflineInterceptor offline;
    ORVMapWindowController controller;
    setLogSink({});
    QSignalSpy ready(controller.mapWebView(), &ORVMapView::pageReady);
    ASSERT_TRUE(ready.wait(20000));
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NE(lines[0].find("frame="), std::string::npos) << lines[0];
    EXPECT_EQ(controller.windowTitle(), "Map");
    EXPECT_EQ(controller.findChild<ORVMapView*>("mapWebView"), controller.mapWebView());
    EXPECT_EQ(controller.mapWebView()->url().toString(), "qrc:/map/map2_eng.htm");
}

TEST_F(ORVMapWindowControllerTest, PositionGoesToTheMapLatitudeAndLongitudeInPlace) {
    test::OfflineInterceptor offline;
    ORVMapWindowController controller;
    QSignalSpy ready(controller.mapWebView(), &ORVMapView::pageReady);
    // Asked at once after opening, as the drive-log table does.
    controller.updateMapLat(37.51752, 127.047);
    ASSERT_TRUE(ready.wait(20000));
    EXPECT_EQ(evaluate(controller.mapWebView()->page(), "markerLatLng()").toString(), "37.517520,127.047000");
}

TEST_F(ORVMapWindowControllerTest, MovedWindowStandsRightOfTheOpenerKeepingItsSize) {
    test::OfflineInterceptor offline;
    ORVMapWindowController controller;
    controller.show();
    const QSize size = controller.frameGeometry().size();
    const QRect area = controller.screen()->availableGeometry();
    const QRect opener(area.x(), area.y() + 10, area.width() - size.width() - 30, 200);
    controller.moveWindowRightBy(opener);
    EXPECT_EQ(controller.frameGeometry().topLeft(), QPoint(opener.x() + opener.width(), opener.y()));
    controller.moveWindowRightBy(opener.adjusted(0, 0, 100, 0));
    EXPECT_EQ(controller.frameGeometry().right(), area.right()) << "back onto the screen";
    EXPECT_EQ(controller.frameGeometry().size(), size);
}

}  // namespace
}  // namespace zentrova
