#include "app/HeadBar.h"

#include "controls/TKImageButton.h"

#include "app/AppTestApplication.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QLayout>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

namespace zentrova {
namespace {

class HeadBarTest : public test::AppWidgetTest {
protected:
    QToolButton* button(const char* name) const { return bar.findChild<QToolButton*>(name); }
    HeadBar bar;
};

TEST_F(HeadBarTest, EachButtonReportsWhatTheUserAskedFor) {
    struct Case {
        const char* button;
        void (HeadBar::*signal)();
    } cases[] = {
        {"openDirectoryButton", &HeadBar::openClicked},
        {"settingsButton", &HeadBar::settingsClicked},
        {"cardCheckButton", &HeadBar::cardCheckClicked},
        {"timeSetupButton", &HeadBar::timeSetupClicked},
        {"minimizeWindowButton", &HeadBar::minimizeClicked},
        {"maximizeWindowButton", &HeadBar::maximizeClicked},
        {"closeWindowButton", &HeadBar::closeClicked},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.button);
        QToolButton* pressed = button(c.button);
        ASSERT_NE(pressed, nullptr);
        EXPECT_FALSE(pressed->toolTip().isEmpty());
        QSignalSpy reported(&bar, c.signal);
        pressed->click();
        EXPECT_EQ(reported.count(), 1);
    }
}

TEST_F(HeadBarTest, ADoubleClickOnTheBarAsksToMaximizeAndTheButtonOffersToRestore) {
    QSignalSpy maximize(&bar, &HeadBar::maximizeClicked);
    QTest::mouseDClick(&bar, Qt::LeftButton, Qt::NoModifier, QPoint(400, 25));
    EXPECT_EQ(maximize.count(), 1);
    QTest::mouseDClick(&bar, Qt::RightButton, Qt::NoModifier, QPoint(400, 25));
    EXPECT_EQ(maximize.count(), 1) << "only the left button";

    QToolButton* maximizeButton = button("maximizeWindowButton");
    const QString maximizeTip = maximizeButton->toolTip();
    bar.showMaximized(true);
    EXPECT_EQ(maximizeButton->toolTip(), "Restore");
    bar.showMaximized(false);
    EXPECT_EQ(maximizeButton->toolTip(), maximizeTip);
    EXPECT_EQ(maximizeTip, "Maximize");
}

TEST_F(HeadBarTest, CommandsJoinTheMenuInOrderWithTheirKeys) {
    QAction* first = bar.addMenuCommand("menu.open", QKeySequence(Qt::CTRL | Qt::Key_O));
    QAction* second = bar.addMenuCommand("menu.quit", QKeySequence(Qt::CTRL | Qt::Key_Q));
    ASSERT_EQ(bar.commandMenu()->actions(), (QList<QAction*>{first, second}));
    EXPECT_EQ(first->text(), "Open...");
    EXPECT_EQ(second->shortcut().toString(QKeySequence::PortableText), "Ctrl+Q");
    EXPECT_EQ(button("menuButton")->menu(), bar.commandMenu());
    EXPECT_EQ(button("menuButton")->popupMode(), QToolButton::InstantPopup);
}

TEST_F(HeadBarTest, ACommandsButtonStandsBeforeTheOpenButtonAndIsEnabledWithItsCommand) {
    QAction* capture = bar.addMenuCommand("capture.menu", QKeySequence(Qt::CTRL | Qt::Key_S));
    QAction* print = bar.addMenuCommand("capture.print_menu", QKeySequence(Qt::CTRL | Qt::Key_P));
    capture->setToolTip("Capture");
    QToolButton* captureButton = bar.addCommandButton("captureButton", "icon_capture_n", capture);
    QToolButton* printButton = bar.addCommandButton("printButton", "icon_print_n", print);
    QLayout* row = bar.layout();
    const int open = row->indexOf(button("openDirectoryButton"));
    EXPECT_EQ(row->indexOf(captureButton), open - 2);
    EXPECT_EQ(row->indexOf(printButton), open - 1);
    print->setEnabled(false);
    EXPECT_FALSE(printButton->isEnabled());
    EXPECT_TRUE(captureButton->isEnabled());
    EXPECT_EQ(captureButton->toolTip(), "Capture");
    capture->setToolTip("Capture the picture");
    EXPECT_EQ(captureButton->toolTip(), "Capture the picture");
    QSignalSpy triggered(capture, &QAction::triggered);
    captureButton->click();
    EXPECT_EQ(triggered.count(), 1);
}

}  // namespace
}  // namespace zentrova
