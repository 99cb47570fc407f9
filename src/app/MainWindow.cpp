#include "app/MainWindow.h"

#include "app/HeadBar.h"
#include "app/RecordingsPanel.h"
#include "app/SidePanel.h"
#include "controls/AppStyle.h"
#include "controls/ImageLibrary.h"
#include "controls/StyledBox.h"
#include "playback/ORVMediaControlView.h"
#include "playback/TKVideoBackgroundImageView.h"
#include "playback/TelemetryPanel.h"
#include "playback/VLCVideoView.h"
#include "playback/VideoScaleStep.h"

#include <QAction>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPropertyAnimation>
#include <QScreen>
#include <QVBoxLayout>

namespace zentrova {
namespace {

constexpr int kWindowAnimationMs = 200;

// A video area: the side's drawn frame and logo, and over it the view the
// player draws into, hidden until it has pictures.
VLCVideoView* addVideoArea(QWidget* box, const char* areaName, const char* nineImages, const char* logo,
                           const char* viewName, TKVideoBackgroundImageView** area) {
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    *area = new TKVideoBackgroundImageView(box);
    (*area)->setObjectName(QString::fromLatin1(areaName));
    (*area)->setBackgroundNineImageName(QString::fromLatin1(nineImages));
    (*area)->setLogoImage(QString::fromLatin1(logo));
    auto* view = new VLCVideoView();
    view->setObjectName(QString::fromLatin1(viewName));
    view->setFillScreen(true);
    (*area)->setContentView(view);
    view->hide();
    layout->addWidget(*area);
    return view;
}

}  // namespace

MainWindow::MainWindow(QWidget* parent) : CustomWindow(parent) {
    setObjectName("mainWindow");
    setWindowTitle(QCoreApplication::applicationName());
    setWindowIcon(ImageLibrary::icon("zentrova"));
    setStyleSheet(AppStyle::styleSheet());

    auto* windowLayout = new QVBoxLayout(this);
    windowLayout->setContentsMargins(0, 0, 0, 0);
    QWidget* backgroundBox = makeStyledBox("backgroundBox", this);
    windowLayout->addWidget(backgroundBox);

    auto* backgroundLayout = new QVBoxLayout(backgroundBox);
    backgroundLayout->setContentsMargins(0, 0, 0, 0);
    backgroundLayout->setSpacing(0);
    m_headBar = new HeadBar(backgroundBox);
    backgroundLayout->addWidget(m_headBar);

    m_bodyBox = makeStyledBox("bodyBox", backgroundBox);
    auto* bodyLayout = new QHBoxLayout(m_bodyBox);
    bodyLayout->setContentsMargins(10, 0, 10, 8);
    bodyLayout->setSpacing(10);
    bodyLayout->addWidget(buildBodyLeftBox(m_bodyBox), 1);
    bodyLayout->addWidget(buildBodyRightBox(m_bodyBox), 0);
    backgroundLayout->addWidget(m_bodyBox, 1);
    m_telemetryPanel->feedMap(m_sidePanel->mapView());
    connect(m_telemetryPanel, &TelemetryPanel::mapStateChanged, m_sidePanel, &SidePanel::showMapState);
    connect(m_telemetryPanel, &TelemetryPanel::mapPlaceChanged, m_sidePanel, &SidePanel::showMapPlace);

    connect(m_headBar, &HeadBar::openClicked, this, &MainWindow::openRequested);
    connect(m_headBar, &HeadBar::settingsClicked, this, &MainWindow::settingsRequested);
    connect(m_headBar, &HeadBar::cardCheckClicked, this, &MainWindow::cardCheckRequested);
    connect(m_headBar, &HeadBar::timeSetupClicked, this, &MainWindow::timeSetupRequested);
    connect(m_headBar, &HeadBar::closeClicked, this, &MainWindow::closeRequested);
    connect(m_headBar, &HeadBar::minimizeClicked, this, &QWidget::showMinimized);
    connect(m_headBar, &HeadBar::maximizeClicked, this, &CustomWindow::toggleMaximized);
    connect(this, &CustomWindow::isMaximizedChanged, m_headBar, &HeadBar::showMaximized);
    connect(m_sidePanel, &SidePanel::modeRequested, this, &MainWindow::sidePanelModeRequested);
    connect(recordings(), &RecordingsPanel::recordingActivated, this, &MainWindow::recordingActivated);
    connect(this, &CustomWindow::isFullScreenChanged, this, &MainWindow::layoutForScreenMode);
}

QWidget* MainWindow::buildBodyLeftBox(QWidget* parent) {
    QWidget* left = makeStyledBox("bodyLeftBox", parent);
    auto* layout = new QVBoxLayout(left);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);
    QWidget* videoBox = makeStyledBox("videoBox", left);
    m_videoView1 = addVideoArea(videoBox, "player1BackgroundView", "v1", "v1_front_logo", "videoView1",
                                &m_player1BackgroundView);
    layout->addWidget(videoBox, 1);
    m_telemetryPanel = new TelemetryPanel(left);
    layout->addWidget(m_telemetryPanel);

    m_mediaControlView = addControlBox(layout, "mediaControlBox", kMediaControlHeight,
                                       ORVMediaControlView::Mode::Normal, &m_mediaControlBox);
    m_mediaControlViewForFullScreen =
        addControlBox(layout, "mediaControlBoxForFullScreen", kFullScreenBarHeight,
                      ORVMediaControlView::Mode::FullScreen, &m_mediaControlBoxForFullScreen);
    m_mediaControlBoxForFullScreen->layout()->setContentsMargins(0, 0, 2, 0);
    m_mediaControlBoxForFullScreen->hide();
    return left;
}

ORVMediaControlView* MainWindow::addControlBox(QLayout* column, const char* name, int height,
                                               ORVMediaControlView::Mode mode, QWidget** box) {
    *box = makeStyledBox(name, column->parentWidget());
    (*box)->setFixedHeight(height);
    auto* layout = new QVBoxLayout(*box);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* controls = new ORVMediaControlView(mode, *box);
    layout->addWidget(controls);
    column->addWidget(*box);
    return controls;
}

QWidget* MainWindow::buildBodyRightBox(QWidget* parent) {
    m_bodyRightBox = makeStyledBox("bodyRightBox", parent);
    m_bodyRightBox->setFixedWidth(kRightColumnWidth);
    auto* layout = new QVBoxLayout(m_bodyRightBox);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_sidePanel = new SidePanel(m_bodyRightBox);
    layout->addWidget(m_sidePanel, 1);
    QWidget* subVideoBox = makeStyledBox("subVideoBox", m_bodyRightBox);
    subVideoBox->setFixedHeight(kSubVideoHeight);
    m_videoView2 = addVideoArea(subVideoBox, "player2BackgroundView", "v2", "v2_rear_logo", "videoView2",
                                &m_player2BackgroundView);
    layout->addWidget(subVideoBox);
    return m_bodyRightBox;
}

RecordingsPanel* MainWindow::recordings() const { return m_sidePanel->recordings(); }

QAction* MainWindow::addCommand(std::string_view textKey, const QKeySequence& keys) {
    QAction* action = m_headBar->addMenuCommand(textKey, keys);
    addAction(action);
    return action;
}

void MainWindow::setWholePicture(bool whole) {
    for (VLCVideoView* view : {m_videoView1, m_videoView2}) view->setFillScreen(!whole);
}

bool MainWindow::wholePicture() const { return !m_videoView1->fillScreen(); }

void MainWindow::toggleFullScreen() {
    if (isFullScreen()) {
        leaveFullscreen();
    } else {
        enterFullscreen();
    }
}

void MainWindow::showSidePanelMode(int mode) {
    m_sidePanel->setMode(mode);
    if (!isFullScreen()) m_sidePanel->showModePanel();
}

int MainWindow::sidePanelMode() const { return m_sidePanel->mode(); }

// Full screen keeps the main video and the slim control bar alone.
void MainWindow::layoutForScreenMode() {
    const bool full = isFullScreen();
    m_headBar->setVisible(!full);
    m_bodyRightBox->setVisible(!full);
    m_telemetryPanel->setVisible(!full);
    m_mediaControlBox->setVisible(!full);
    m_mediaControlBoxForFullScreen->setVisible(full);
    m_bodyBox->layout()->setContentsMargins(full ? QMargins(0, 0, 0, 2) : QMargins(10, 0, 10, 8));
    m_mediaControlBox->parentWidget()->layout()->setSpacing(full ? 0 : 4);
    if (!full) m_sidePanel->showModePanel();
}

QRect MainWindow::screenFrame() const {
    QScreen* current = screen() ? screen() : QGuiApplication::primaryScreen();
    return current ? current->geometry() : QRect(QPoint(0, 0), kMinimumSize);
}

void MainWindow::stepWindowSize(int step) {
    const QRect screenArea = screenFrame();
    const VideoScaleStep decision =
        VideoScaleStep::decide(step, {width(), height()}, isFullScreen(), {screenArea.width(), screenArea.height()},
                               {kMinimumSize.width(), kMinimumSize.height()});
    switch (decision.action) {
    case VideoScaleStep::Action::Nothing:
        return;
    case VideoScaleStep::Action::EnterFullScreen:
        enterFullscreen();
        return;
    case VideoScaleStep::Action::LeaveFullScreen:
        leaveFullscreen();
        return;
    case VideoScaleStep::Action::Resize:
        break;
    }
    const QRect target(geometry().topLeft(), QSize(decision.size.width, decision.size.height));
    if (target == geometry()) return;
    // A stepped size is no longer maximized.
    if (isMaximized()) setWindowState(windowState() & ~Qt::WindowMaximized);
    auto* animation = new QPropertyAnimation(this, "geometry", this);
    animation->setDuration(kWindowAnimationMs);
    animation->setEndValue(target);
    animation->start(QAbstractAnimation::DeleteWhenStopped);
}

void MainWindow::placeAtMinimumSize() {
    setMinimumSize(kMinimumSize);
    QScreen* current = screen() ? screen() : QGuiApplication::primaryScreen();
    const QRect frame = minimumFrameIn(current ? current->availableGeometry() : QRect(QPoint(0, 0), kMinimumSize));
    setGeometry(frame);
    setInitialFrame(frame);
}

QRect MainWindow::minimumFrameIn(const QRect& availableArea) {
    const QPoint origin = availableArea.topLeft() + QPoint((availableArea.width() - kMinimumSize.width()) / 2,
                                                           (availableArea.height() - kMinimumSize.height()) / 2);
    return QRect(origin, kMinimumSize);
}

}  // namespace zentrova
