#pragma once

#include "app/CustomWindow.h"
#include "playback/ORVMediaControlView.h"

#include <QSize>

#include <string_view>

class QAction;
class QKeySequence;
class QLayout;

namespace zentrova {

class HeadBar;
class RecordingsPanel;
class SidePanel;
class TKVideoBackgroundImageView;
class TelemetryPanel;
class VLCVideoView;

// The main window's boxes: the head bar over the body, whose left column
// holds the main video, the telemetry and the play controls, and whose
// right column the side panel and the second video. It switches its own
// layout for full screen and steps its size; everything else it only
// reports, for the application to act on.
class MainWindow : public CustomWindow {
    Q_OBJECT
public:
    static constexpr QSize kMinimumSize{1020, 640};
    static constexpr int kRightColumnWidth = 334;
    static constexpr int kMediaControlHeight = 72;
    static constexpr int kFullScreenBarHeight = 36;
    static constexpr int kSubVideoHeight = 250;

    explicit MainWindow(QWidget* parent = nullptr);

    HeadBar* headBar() const { return m_headBar; }
    SidePanel* sidePanel() const { return m_sidePanel; }
    RecordingsPanel* recordings() const;
    TelemetryPanel* telemetryPanel() const { return m_telemetryPanel; }
    TKVideoBackgroundImageView* mainVideoArea() const { return m_player1BackgroundView; }
    TKVideoBackgroundImageView* secondVideoArea() const { return m_player2BackgroundView; }
    VLCVideoView* mainVideoView() const { return m_videoView1; }
    VLCVideoView* secondVideoView() const { return m_videoView2; }
    ORVMediaControlView* controls() const { return m_mediaControlView; }
    ORVMediaControlView* fullScreenControls() const { return m_mediaControlViewForFullScreen; }

    // A command of the head bar's menu whose keys work anywhere in the window.
    QAction* addCommand(std::string_view textKey, const QKeySequence& keys);

    void toggleFullScreen();
    // Both videos fit their whole picture, with bars, instead of filling
    // their view and cropping what overflows.
    void setWholePicture(bool whole);
    bool wholePicture() const;
    // The side panel's buttons show the mode; its panel follows unless the
    // side column is hidden in full screen, and then does on leaving it.
    void showSidePanelMode(int mode);
    int sidePanelMode() const;
    // One of the window-size steps: larger, smaller, or into and out of
    // full screen past the screen's size.
    void stepWindowSize(int step);
    // Centred at the minimum size in the usable area of its screen.
    void placeAtMinimumSize();
    static QRect minimumFrameIn(const QRect& availableArea);

signals:
    void openRequested();
    void settingsRequested();
    void cardCheckRequested();
    void timeSetupRequested();
    void closeRequested();
    void recordingActivated();
    void sidePanelModeRequested(int mode);

private:
    QWidget* buildBodyLeftBox(QWidget* parent);
    QWidget* buildBodyRightBox(QWidget* parent);
    ORVMediaControlView* addControlBox(QLayout* column, const char* name, int height,
                                       ORVMediaControlView::Mode mode, QWidget** box);
    void layoutForScreenMode();
    QRect screenFrame() const;

    HeadBar* m_headBar = nullptr;
    QWidget* m_bodyBox = nullptr;
    QWidget* m_bodyRightBox = nullptr;
    QWidget* m_mediaControlBox = nullptr;
    QWidget* m_mediaControlBoxForFullScreen = nullptr;
    SidePanel* m_sidePanel = nullptr;
    TelemetryPanel* m_telemetryPanel = nullptr;
    TKVideoBackgroundImageView* m_player1BackgroundView = nullptr;
    TKVideoBackgroundImageView* m_player2BackgroundView = nullptr;
    VLCVideoView* m_videoView1 = nullptr;
    VLCVideoView* m_videoView2 = nullptr;
    ORVMediaControlView* m_mediaControlView = nullptr;
    ORVMediaControlView* m_mediaControlViewForFullScreen = nullptr;
};

}  // namespace zentrova
