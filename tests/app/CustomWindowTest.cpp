#include "app/CustomWindow.h"

#include "app/AppTestApplication.h"

#include <gtest/gtest.h>

#include <QScreen>
#include <QSignalSpy>

namespace zentrova {
namespace {

TEST(CustomWindowTest, DragNeverLiftsTheTopAboveTheAvailableArea) {
    const QRect area(0, 28, 1600, 972);
    EXPECT_EQ(CustomWindow::clampedOrigin(QPoint(40, 10), area), QPoint(40, 28));
    EXPECT_EQ(CustomWindow::clampedOrigin(QPoint(40, 300), area), QPoint(40, 300));
}

class CustomWindowStateTest : public test::AppWidgetTest {
protected:
    void SetUp() override {
        window.setInitialFrame(kFrame);
        window.setGeometry(kFrame);
        window.show();
    }
    QRect usableArea() const { return window.screen()->availableGeometry(); }

    static constexpr QRect kFrame{QPoint(30, 40), QSize(300, 200)};
    CustomWindow window;
};

TEST_F(CustomWindowStateTest, MaximizingFillsTheUsableAreaAndRestoringGoesBackToTheFrame) {
    QSignalSpy changes(&window, &CustomWindow::isMaximizedChanged);
    window.toggleMaximized();
    EXPECT_TRUE(window.isMaximized());
    EXPECT_EQ(window.geometry(), usableArea()) << "even where no window manager maximizes it";
    window.toggleMaximized();
    EXPECT_FALSE(window.isMaximized());
    EXPECT_EQ(window.geometry(), kFrame);
    ASSERT_GE(changes.count(), 2);
    EXPECT_TRUE(changes.first().at(0).toBool());
    EXPECT_FALSE(changes.last().at(0).toBool());
}

TEST_F(CustomWindowStateTest, FullScreenComesBackToTheStateItWasEnteredFrom) {
    struct Case {
        const char* name;
        bool maximized;
    } cases[] = {{"from the normal frame", false}, {"from maximized", true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.maximized) window.toggleMaximized();
        window.enterFullscreen();
        EXPECT_TRUE(window.isFullScreen());
        window.toggleMaximized();
        EXPECT_TRUE(window.isFullScreen()) << "maximizing waits until full screen is left";
        window.leaveFullscreen();
        EXPECT_EQ(window.isMaximized(), c.maximized);
        EXPECT_EQ(window.geometry(), c.maximized ? usableArea() : kFrame);
        if (window.isMaximized()) window.toggleMaximized();
        EXPECT_EQ(window.geometry(), kFrame);
    }
}

}  // namespace
}  // namespace zentrova
