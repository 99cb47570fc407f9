#include "playback/ORVMediaControlView.h"

#include "support/WidgetTestApplication.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QLayout>
#include <QSlider>
#include <QToolButton>

#include <cstdlib>

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

}  // namespace
}  // namespace zentrova
