#include "playback/ORVMapWindowController.h"

#include "MapTestSupport.h"
#include "common/Log.h"
#include "playback/ORVMapView.h"

#include <gtest/gtest.h>

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
    controller.moveWindowRightBy(QRect(100, 50, 800, 600));
    EXPECT_EQ(controller.frameGeometry().topLeft(), QPoint(900, 50));
    EXPECT_EQ(controller.frameGeometry().size(), size);
}

}  // namespace
}  // namespace zentrova
