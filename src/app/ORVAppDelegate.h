#pragma once

#include <QObject>
#include <QPointer>
#include <QSize>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <memory>

#include "playback/ORVPlayControlHost.h"
#include "playback/ORVTelemetryReadout.h"
#include "recordings/ORVMediaList.h"

class QLabel;
class QTableView;
class QToolButton;
class QWidget;
class QVBoxLayout;
class QHBoxLayout;
class QStackedLayout;
class QProgressBar;

namespace zentrova {

class CustomWindow;
class GraphView;
class ORVMapView;
class ORVMediaControlView;
class ORVMediaTableModel;
class ORVPlayController;
class PlayerPairFollower;
class QtDelayedSteps;
class ScanningIndicator;
class TKVideoBackgroundImageView;
class VLCVideoView;
class VlcMediaPlayer;

// The application controller: owns the main window, the recording list and
// the recordings table, switches the side panel between table and map, and
// hosts the play control of the two players with its displays.
class ORVAppDelegate : public QObject, public ORVMediaListDelegate, public ORVPlayControlHost {
    Q_OBJECT
    Q_PROPERTY(int rightViewMode READ rightViewMode NOTIFY rightViewModeChanged)
public:
    enum RightViewMode { RightViewModeList = 0, RightViewModeMap = 1 };
    static constexpr QSize minWindowSize() { return QSize(1020, 640); }

    explicit ORVAppDelegate(QObject* parent = nullptr);
    ~ORVAppDelegate() override;

    void applicationDidFinishLaunching();
    static bool applicationShouldTerminateAfterLastWindowClosed() { return true; }

    CustomWindow* window() const { return m_window; }
    ORVMediaList& mediaList() { return *m_mediaList; }
    ORVMediaTableModel* tableModel() const { return m_tableModel; }
    int rightViewMode() const { return m_rightViewMode; }
    std::int64_t mediaIndex() const;
    ORVPlayController* playController() const { return m_playController; }
    ORVMediaControlView* mediaControlView() const { return m_mediaControlView; }
    ORVMediaControlView* mediaControlViewForFullScreen() const { return m_mediaControlViewForFullScreen; }
    const QStringList& columnNames() const { return m_columnNames; }
    bool isScanning() const { return m_scanning; }

    // The open panel; replaceable so that tests choose without a dialog.
    // It returns the chosen directory, or an empty text when cancelled.
    using DirectoryChooser = std::function<QString(QWidget* parent)>;
    void setDirectoryChooser(DirectoryChooser chooser) { m_directoryChooser = std::move(chooser); }

    // The centred frame of the minimum size in an available area.
    static QRect minWindowFrame(const QRect& availableArea);

    void mediaListChanged(ORVMediaList& list) override;

    // What the play control asks of the window.
    void selectRow(std::int64_t row) override;
    void setVideoLogos(const QString& mainLogo, const QString& secondLogo) override;
    void setVideoViewsVisible(bool mainVisible, bool secondVisible) override;
    void setSecondVideoPresent(bool present) override;
    void showTelemetry(std::shared_ptr<const ORVBlackBoxData> telemetry) override;
    void resetTelemetryReadouts() override;
    void setVideoScaleIndex(int step) override;
    void showLoadingProgress(bool visible, double progress) override;
    void showAudioChoice(bool visible, bool rear) override;
    void showVolume(int volume) override;
    double videoContainerHeight() const override;
    void animateSwap() override;

public slots:
    void openMediaDirectoryDialog();
    void openDirectory(const QString& path);
    void clickMediaListViewButton();
    void clickMapViewButton();
    void closeWindow();
    void changeAndPlay();
    void toggleFullScreen();

signals:
    void rightViewModeChanged(int mode);
    // After the table has been reloaded from a finished scan.
    void mediaListReloaded();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void awakeFromNib();
    void createPlayers();
    void connectPlayControls(ORVMediaControlView* view);
    void connectPlayInfo();
    void installShortcuts();
    void layoutWindow();
    void layoutBodyBox();
    void updateGsensorUIByPlayPositon();
    void updateGpsUIByPlayPosition();
    void showOnMap(const ORVTelemetryReadout::GpsTexts& texts);
    QWidget* buildGsensorBox(QWidget* parent);
    void setupInitialValues();
    void buildWindow();
    QWidget* buildHeadBox();
    QWidget* buildBodyLeftBox();
    QWidget* buildBodyRightBox();
    QWidget* buildSideButtonBox();
    QWidget* buildMediaListBox();
    void initMediaListTableView();
    void updateTableColumnWithIndex(int index, const QString& title, const QString& identifier, Qt::Alignment alignment);
    void updateSideViewButton();
    void layoutMapContainer();
    void setRightViewMode(int mode);
    void applyPreferredLanguage();
    void reloadMediaListOnMainThread();
    void showScanning(bool scanning);

    CustomWindow* m_window = nullptr;
    std::unique_ptr<ORVMediaList> m_mediaList;
    ORVMediaTableModel* m_tableModel = nullptr;
    QTableView* m_mediaListTableView = nullptr;
    QWidget* m_mediaListScrollView = nullptr;
    ScanningIndicator* m_scanningIndicator = nullptr;
    QStackedLayout* m_mediaListStack = nullptr;
    QWidget* m_mapContainerView = nullptr;
    QLabel* m_versionLabel = nullptr;
    QToolButton* m_recordButtonImageView = nullptr;
    QToolButton* m_informationButtonImageView = nullptr;
    QStringList m_columnNames;
    QString m_strVersion;
    int m_rightViewMode = RightViewModeList;
    QWidget* m_headBox = nullptr;
    QWidget* m_bodyBox = nullptr;
    QWidget* m_bodyLeftBox = nullptr;
    QWidget* m_bodyRightBox = nullptr;
    QWidget* m_gsensorBox = nullptr;
    GraphView* m_graphView = nullptr;
    ORVMapView* m_mapWebView = nullptr;
    QString m_lastMapScript;
    QWidget* m_mediaControlBox = nullptr;
    QWidget* m_mediaControlBoxForFullScreen = nullptr;
    QWidget* m_subVideoBox = nullptr;
    TKVideoBackgroundImageView* m_player1BackgroundView = nullptr;
    TKVideoBackgroundImageView* m_player2BackgroundView = nullptr;
    VLCVideoView* m_videoView1 = nullptr;
    VLCVideoView* m_videoView2 = nullptr;
    ORVMediaControlView* m_mediaControlView = nullptr;
    ORVMediaControlView* m_mediaControlViewForFullScreen = nullptr;
    QProgressBar* m_progressIndicator = nullptr;
    QLabel* m_gsensorXField = nullptr;
    QLabel* m_gsensorYField = nullptr;
    QLabel* m_gsensorZField = nullptr;
    QLabel* m_speedField = nullptr;
    QLabel* m_hdopField = nullptr;
    QLabel* m_sateliteField = nullptr;
    VlcMediaPlayer* m_player1 = nullptr;
    VlcMediaPlayer* m_player2 = nullptr;
    std::shared_ptr<QtDelayedSteps> m_delayedSteps;
    std::unique_ptr<PlayerPairFollower> m_follower;
    ORVPlayController* m_playController = nullptr;
    std::shared_ptr<const ORVBlackBoxData> m_telemetry;
    bool m_scanning = false;
    DirectoryChooser m_directoryChooser;
};

}  // namespace zentrova
