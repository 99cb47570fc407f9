#include "app/MainWindow.h"

#include "app/AppTestApplication.h"
#include "app/HeadBar.h"
#include "app/SidePanel.h"
#include "playback/TelemetryPanel.h"
#include "support/GpsBlock.h"
#include "telemetry/ORVBlackBoxData.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

namespace zentrova {
namespace {

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::appTestApplication();
        window = std::make_unique<MainWindow>();
        window->placeAtMinimumSize();
        window->show();
    }
    QToolButton* button(const char* name) const { return window->findChild<QToolButton*>(name); }
    std::unique_ptr<MainWindow> window;
};

TEST_F(MainWindowTest, TheHeadBarsWindowButtonsMinimizeMaximizeAndRestore) {
    const QRect frame = window->geometry();
    button("maximizeWindowButton")->click();
    EXPECT_TRUE(window->isMaximized());
    const QRect usable = window->screen()->availableGeometry();
    // Never below the minimum size, which the small offscreen screen is.
    EXPECT_EQ(window->geometry(), QRect(usable.topLeft(), usable.size().expandedTo(MainWindow::kMinimumSize)));
    EXPECT_EQ(button("maximizeWindowButton")->toolTip(), "Restore");
    QTest::mouseDClick(window->headBar(), Qt::LeftButton, Qt::NoModifier, QPoint(500, 20));
    EXPECT_FALSE(window->isMaximized()) << "a double-click on the head bar restores";
    EXPECT_EQ(window->geometry(), frame);
    QTest::mouseDClick(window->headBar(), Qt::LeftButton, Qt::NoModifier, QPoint(500, 20));
    EXPECT_TRUE(window->isMaximized()) << "and maximizes";
    window->toggleMaximized();

    button("minimizeWindowButton")->click();
    EXPECT_TRUE(window->windowState() & Qt::WindowMinimized);
    window->showNormal();
}

TEST_F(MainWindowTest, ItReportsTheUsersRequestsAndActsOnNoneOfThem) {
    QSignalSpy open(window.get(), &MainWindow::openRequested);
    QSignalSpy close(window.get(), &MainWindow::closeRequested);
    QSignalSpy mode(window.get(), &MainWindow::sidePanelModeRequested);
    button("openDirectoryButton")->click();
    button("closeWindowButton")->click();
    button("informationButtonImageView")->click();
    EXPECT_EQ(open.count(), 1);
    EXPECT_EQ(close.count(), 1);
    ASSERT_EQ(mode.count(), 1);
    EXPECT_EQ(mode.first().at(0).toInt(), SidePanel::MapMode);
    EXPECT_TRUE(window->isVisible()) << "closing is the application's to do";
    EXPECT_EQ(window->sidePanelMode(), SidePanel::ListMode) << "the mode is the application's to change";
}

TEST_F(MainWindowTest, TheSidePanelFollowsItsModeExceptInFullScreen) {
    auto visible = [this](const char* name) { return window->findChild<QWidget*>(name)->isVisibleTo(window.get()); };
    window->showSidePanelMode(SidePanel::MapMode);
    EXPECT_TRUE(visible("mapContainerView"));
    EXPECT_FALSE(visible("mediaListScrollView"));
    window->enterFullscreen();
    window->showSidePanelMode(SidePanel::ListMode);
    window->leaveFullscreen();
    EXPECT_TRUE(visible("mediaListScrollView")) << "the mode asked in full screen shows on leaving it";
    EXPECT_FALSE(visible("mapContainerView"));
}

// Until a recording with a route plays, the map's whole panel says why it
// shows none; under the map, the place marked in words.
TEST_F(MainWindowTest, TheMapSaysWhyItShowsNoRouteAndNamesThePlaceMarked) {
    SidePanel* side = window->sidePanel();
    window->showSidePanelMode(SidePanel::MapMode);
    EXPECT_EQ(side->mapEmptyText(), "Play a recording to see on the map where it was made.");
    ORVGpsData fix;
    fix.gpsValid = 1;
    fix.Latitude = 3745.0;
    fix.NS = 'S';
    fix.Longitude = 12230.0;
    fix.EW = 'E';
    struct Case {
        const char* what;
        bool blocks;
        bool fixes;
        const char* expected;
    } cases[] = {
        {"no GPS data", false, false, "This recording has no GPS data: there is nothing to show on the map."},
        {"blocks without a fix", true, false,
         "The GPS had no fix while this recording was made: there is no route to show."},
        {"a route", true, true, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto telemetry = std::make_shared<ORVBlackBoxData>();
        if (c.blocks) telemetry->m_vGpsData = {test::gpsBlock('9')};
        if (c.fixes) telemetry->m_NMEAs = {fix};
        window->telemetryPanel()->showTelemetry(telemetry);
        EXPECT_EQ(side->mapEmptyText(), c.expected);
    }
    window->telemetryPanel()->showPlayPosition(0.5, 0.5);
    EXPECT_EQ(side->findChild<QLabel*>("mapPlaceLabel")->text(), QString::fromUtf8("37.75000\u00b0 S,  122.50000\u00b0 E"));
    auto* empty = side->findChild<QLabel*>("mapEmptyLabel");
    window->telemetryPanel()->showTelemetry(std::make_shared<ORVBlackBoxData>());
    ASSERT_TRUE(empty->isVisible());
    EXPECT_EQ(empty->geometry(), side->findChild<QWidget*>("mapContainerView")->rect()) << "the note fills the panel";
    EXPECT_EQ(side->findChild<QLabel*>("mapPlaceLabel")->text(), "");
}

}  // namespace
}  // namespace zentrova
