#include "playback/ORVMediaControlView.h"

#include "controls/TKImageButton.h"

#include "support/WidgetTestApplication.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLayout>
#include <QSignalSpy>
#include <QSlider>
#include <QTest>
#include <QToolButton>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

namespace zentrova {
namespace {

class ORVMediaControlViewTest : public test::WidgetTest {};

TEST_F(ORVMediaControlViewTest, ThePlayButtonStaysWhereItIsWhenTheSoundChoiceComesAndGoes) {
    for (ORVMediaControlView::Mode mode : {ORVMediaControlView::Mode::Normal, ORVMediaControlView::Mode::FullScreen}) {
        SCOPED_TRACE(mode == ORVMediaControlView::Mode::Normal ? "normal" : "full screen");
        ORVMediaControlView view(mode);
        view.resize(800, mode == ORVMediaControlView::Mode::Normal ? 72 : 36);
        view.show();
        auto* play = view.findChild<QToolButton*>("playButton");
        auto* slider = view.findChild<QSlider*>("videoPositionSlider");
        ASSERT_NE(play, nullptr);
        view.setAudioChoice(false, false);
        view.layout()->activate();
        const QRect withoutChoice = play->geometry();
        const QRect sliderWithout = slider->geometry();
        view.setAudioChoice(true, true);
        view.layout()->activate();
        EXPECT_TRUE(view.findChild<QToolButton*>("audioToggleButton")->isVisible());
        EXPECT_EQ(play->geometry(), withoutChoice);
        EXPECT_EQ(slider->geometry(), sliderWithout);
    }
}

TEST_F(ORVMediaControlViewTest, TheMuteButtonShowsWhetherTheSoundIsOff) {
    const struct {
        int volume;
        bool muted;
        const char* image;
    } cases[] = {
        {50, false, "icon_volume_n"}, {50, true, "icon_mute_n"}, {0, false, "icon_mute_n"}, {100, false, "icon_volume_n"},
    };
    for (ORVMediaControlView::Mode mode : {ORVMediaControlView::Mode::Normal, ORVMediaControlView::Mode::FullScreen}) {
        ORVMediaControlView view(mode);
        auto* mute = view.findChild<TKImageButton*>("muteButton");
        ASSERT_NE(mute, nullptr);
        for (const auto& c : cases) {
            SCOPED_TRACE(std::to_string(c.volume) + (c.muted ? " muted" : ""));
            view.setVolume(c.volume, c.muted);
            EXPECT_EQ(mute->imageName(), c.image);
        }
    }
}

TEST_F(ORVMediaControlViewTest, TheTimesStandAtTheTwoEndsOfTheSlider) {
    for (ORVMediaControlView::Mode mode : {ORVMediaControlView::Mode::Normal, ORVMediaControlView::Mode::FullScreen}) {
        ORVMediaControlView view(mode);
        view.resize(800, mode == ORVMediaControlView::Mode::Normal ? 72 : 36);
        view.show();
        view.layout()->activate();
        view.setPlayTime(0.5, 8000);
        auto* elapsed = view.findChild<QLabel*>("elapsedTimeLabel");
        auto* total = view.findChild<QLabel*>("totalTimeLabel");
        auto* slider = view.findChild<QSlider*>("videoPositionSlider");
        ASSERT_TRUE(elapsed && total && slider);
        EXPECT_EQ(elapsed->text(), "0:04");
        EXPECT_EQ(total->text(), "0:08");
        const QRect bar = slider->geometry();
        EXPECT_LE(elapsed->geometry().right(), bar.left());
        EXPECT_GE(total->geometry().left(), bar.right());
        EXPECT_LE(std::abs(elapsed->geometry().center().y() - bar.center().y()), 4) << "on the slider line";
    }
}

// Left to right as the user sees them, the slider row of the normal bar
// before its button row; the scale only shows a value.
std::vector<QWidget*> controlsAsShown(const ORVMediaControlView& view) {
    std::vector<QWidget*> shown;
    for (QWidget* child : view.findChildren<QWidget*>()) {
        if (child->objectName() == "sizeTextButton") continue;
        if (child->isVisible() && (qobject_cast<QToolButton*>(child) || qobject_cast<QSlider*>(child))) {
            shown.push_back(child);
        }
    }
    std::sort(shown.begin(), shown.end(), [&view](QWidget* a, QWidget* b) {
        const QPoint pa = a->mapTo(&view, a->rect().center());
        const QPoint pb = b->mapTo(&view, b->rect().center());
        const int rowA = pa.y() / 24, rowB = pb.y() / 24;
        return rowA != rowB ? rowA < rowB : pa.x() < pb.x();
    });
    return shown;
}

TEST_F(ORVMediaControlViewTest, TabVisitsEveryControlOnceInTheOrderShown) {
    for (ORVMediaControlView::Mode mode : {ORVMediaControlView::Mode::Normal, ORVMediaControlView::Mode::FullScreen}) {
        SCOPED_TRACE(mode == ORVMediaControlView::Mode::Normal ? "normal" : "full screen");
        ORVMediaControlView view(mode);
        view.resize(1000, mode == ORVMediaControlView::Mode::Normal ? 72 : 36);
        view.setAudioChoice(true, false);
        view.show();
        view.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&view));
        const std::vector<QWidget*> expected = controlsAsShown(view);
        ASSERT_GE(expected.size(), 9u);
        expected.front()->setFocus(Qt::TabFocusReason);
        std::vector<QWidget*> visited{QApplication::focusWidget()};
        for (std::size_t i = 1; i < expected.size(); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            visited.push_back(QApplication::focusWidget());
        }
        for (std::size_t i = 0; i < expected.size(); ++i) {
            EXPECT_EQ(visited[i], expected[i]) << "step " << i << ": " << visited[i]->objectName().toStdString()
                                               << " instead of " << expected[i]->objectName().toStdString();
        }
    }
}

TEST_F(ORVMediaControlViewTest, EnterPressesTheFocusedButtonAndAClickLeavesTheFocusWhereItWas) {
    ORVMediaControlView view(ORVMediaControlView::Mode::Normal);
    view.resize(1000, 72);
    view.show();
    view.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&view));
    struct Case {
        const char* button;
        const char* signal;
    } cases[] = {
        {"speedTextButton", SIGNAL(speedClicked())},
        {"muteButton", SIGNAL(muteClicked())},
        {"fullscreenButton", SIGNAL(fullScreenClicked())},
    };
    auto* slider = view.findChild<QSlider*>("volumeSlider");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.button);
        auto* button = view.findChild<QToolButton*>(c.button);
        ASSERT_NE(button, nullptr);
        QSignalSpy pressed(&view, c.signal);
        button->setFocus(Qt::TabFocusReason);
        QTest::keyClick(button, Qt::Key_Return);
        EXPECT_TRUE(pressed.wait(1000));
        slider->setFocus(Qt::TabFocusReason);
        QTest::mouseClick(button, Qt::LeftButton);
        EXPECT_EQ(pressed.count(), 2);
        EXPECT_EQ(QApplication::focusWidget(), slider);
    }
}

}  // namespace
}  // namespace zentrova
