#include "app/PlayerViewsHost.h"

#include "app/HeadBar.h"
#include "app/MainWindow.h"
#include "app/RecordingsPanel.h"
#include "playback/ORVMediaControlView.h"
#include "playback/ORVPlayController.h"
#include "playback/TKVideoBackgroundImageView.h"
#include "playback/TelemetryPanel.h"
#include "playback/VLCVideoView.h"

#include <QEvent>
#include <QProgressBar>

#include <algorithm>
#include <array>

namespace zentrova {

PlayerViewsHost::PlayerViewsHost(MainWindow& window, QObject* parent) : QObject(parent), m_window(window) {}

void PlayerViewsHost::bind(ORVPlayController& controller) {
    m_controller = &controller;
    showPlayState(controller);
    connectControls(controller);
    followVideoArea(controller);
}

void PlayerViewsHost::showPlayState(ORVPlayController& controller) {
    ORVPlayInfo* info = controller.playInfo();
    const std::array views{m_window.controls(), m_window.fullScreenControls()};
    connect(info, &ORVPlayInfo::speedChanged, this, [views](double speed) {
        for (ORVMediaControlView* view : views) view->setSpeed(speed);
    });
    connect(info, &ORVPlayInfo::scaleChanged, this, [views](double scale) {
        for (ORVMediaControlView* view : views) view->setScale(scale);
    });
    connect(info, &ORVPlayInfo::isPlayingChanged, this, [views](bool playing) {
        for (ORVMediaControlView* view : views) view->setPlaying(playing);
    });
    connect(info, &ORVPlayInfo::positionChanged, this, [this, views, &controller](double position) {
        // While it plays the time notices give the texts, one every notice.
        const bool timesFollowNotices = !controller.moving() && controller.player1()->isPlaying();
        for (ORVMediaControlView* view : views) {
            view->setPosition(std::min(position, 1.0));
            if (!timesFollowNotices) view->setPlayTime(position, controller.mainMediaLengthMs());
        }
        m_window.telemetryPanel()->showPlayPosition(position, controller.player1()->position());
    });
    // The play state takes every third time notice: the time texts take
    // each, so that they keep up with the picture.
    connect(controller.player1(), &ORVMediaPlayer::mediaPlayerTimeChanged, this, [views, &controller] {
        const std::int64_t lengthMs = controller.mainMediaLengthMs();
        if (controller.moving() || lengthMs <= 0) return;
        const double position = static_cast<double>(controller.player1()->time().intValue()) / lengthMs;
        for (ORVMediaControlView* view : views) view->setPlayTime(position, lengthMs);
    });
    connect(&controller, &ORVPlayController::playingMediaChanged, this, [views, &controller] {
        for (ORVMediaControlView* view : views) {
            view->setPlayTime(controller.playInfo()->position(), controller.mainMediaLengthMs());
        }
    });
}

void PlayerViewsHost::connectControls(ORVPlayController& controller) {
    ORVPlayController* control = &controller;
    for (ORVMediaControlView* view : {m_window.controls(), m_window.fullScreenControls()}) {
        connect(view, &ORVMediaControlView::playClicked, control, &ORVPlayController::clickPlayButton);
        connect(view, &ORVMediaControlView::backwardClicked, control, &ORVPlayController::jumpBackward);
        connect(view, &ORVMediaControlView::forwardClicked, control, &ORVPlayController::jumpForward);
        connect(view, &ORVMediaControlView::speedClicked, control, [control] {
            if (control->playInfo()->speed() < 2.0) {
                control->increaseSpeed();
            } else {
                control->decreaseSpeed();
            }
        });
        connect(view, &ORVMediaControlView::sizeDownClicked, control, &ORVPlayController::sizeDown);
        connect(view, &ORVMediaControlView::sizeUpClicked, control, &ORVPlayController::sizeUp);
        connect(view, &ORVMediaControlView::fullScreenClicked, &m_window, &MainWindow::toggleFullScreen);
        connect(view, &ORVMediaControlView::swapClicked, control, &ORVPlayController::swapPlayer);
        connect(view, &ORVMediaControlView::audioChoiceToggled, control, &ORVPlayController::toggleAudioChoice);
        connect(view, &ORVMediaControlView::volumeSliderMoved, control, &ORVPlayController::volumeSliderMoved);
        connect(view, &ORVMediaControlView::muteClicked, control, &ORVPlayController::toggleMute);
        connect(view, &ORVMediaControlView::positionSliderMoved, control,
                &ORVPlayController::videoPositionSliderMoved);
    }
}

// The scale follows the size of the video area, and is known once the
// first picture of a recording has arrived.
void PlayerViewsHost::followVideoArea(ORVPlayController& controller) {
    m_window.mainVideoArea()->installEventFilter(this);
    connect(m_window.mainVideoView(), &VLCVideoView::framePresented, this, [&controller] {
        if (controller.playInfo()->scale() == 0.0) controller.updatePlayInfoScale();
    });
}

bool PlayerViewsHost::eventFilter(QObject* watched, QEvent* event) {
    if (m_controller && watched == m_window.mainVideoArea() && event->type() == QEvent::Resize) {
        m_controller->updatePlayInfoScale();
    }
    return QObject::eventFilter(watched, event);
}

void PlayerViewsHost::selectRow(std::int64_t row) { m_window.recordings()->selectRow(row); }

void PlayerViewsHost::setVideoLogos(const QString& mainLogo, const QString& secondLogo) {
    m_window.mainVideoArea()->setLogoImage(mainLogo);
    m_window.secondVideoArea()->setLogoImage(secondLogo);
}

void PlayerViewsHost::setVideoViewsVisible(bool mainVisible, bool secondVisible) {
    showVideoView(m_window.mainVideoView(), mainVisible);
    showVideoView(m_window.secondVideoView(), secondVisible);
}

// A view hidden by the player's state shows nothing of its last recording
// when it comes back.
void PlayerViewsHost::showVideoView(VLCVideoView* view, bool visible) {
    if (!visible) view->forgetPicture();
    view->setVisible(visible);
}

void PlayerViewsHost::setSecondVideoPresent(bool present) {
    if (!present) showVideoView(m_window.secondVideoView(), false);
    for (ORVMediaControlView* view : {m_window.controls(), m_window.fullScreenControls()}) {
        if (!present) view->setAudioChoice(false, false);
        view->setSwapAvailable(present);
    }
}

void PlayerViewsHost::showTelemetry(std::shared_ptr<const ORVBlackBoxData> telemetry) {
    m_window.telemetryPanel()->showTelemetry(std::move(telemetry));
}

void PlayerViewsHost::resetTelemetryReadouts() {
    m_window.telemetryPanel()->reset();
    m_window.showSidePanelMode(m_window.sidePanelMode());
}

void PlayerViewsHost::setVideoScaleIndex(int step) { m_window.stepWindowSize(step); }

void PlayerViewsHost::showLoadingProgress(bool visible, double progress) {
    QProgressBar* indicator = m_window.headBar()->loadingIndicator();
    indicator->setVisible(visible);
    indicator->setValue(static_cast<int>(std::clamp(progress, 0.0, 100.0)));
}

void PlayerViewsHost::showAudioChoice(bool visible, bool rear) {
    for (ORVMediaControlView* view : {m_window.controls(), m_window.fullScreenControls()}) {
        view->setAudioChoice(visible, rear);
    }
}

void PlayerViewsHost::showVolume(int volume, bool muted) {
    for (ORVMediaControlView* view : {m_window.controls(), m_window.fullScreenControls()}) {
        view->setVolume(volume, muted);
    }
}

double PlayerViewsHost::videoContainerHeight() const { return m_window.mainVideoArea()->height(); }

void PlayerViewsHost::animateSwap() {
    m_window.mainVideoArea()->animateContent(TKVideoBackgroundImageView::GrowFrom::RightEdge);
    m_window.secondVideoArea()->animateContent(TKVideoBackgroundImageView::GrowFrom::TopEdge);
}

void PlayerViewsHost::showPlayMessage(const QString& message) { m_window.mainVideoArea()->showMessage(message); }

}  // namespace zentrova
