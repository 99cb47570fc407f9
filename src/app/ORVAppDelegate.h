#pragma once

#include <QObject>
#include <QPointer>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>

#include "app/MainWindow.h"
#include "app/SidePanel.h"
#include "recordings/ORVMediaList.h"

class QAction;
class QWidget;

namespace zentrova {

class CardCheckWindow;
class IncidentExporter;
class FrameCaptureController;
class ORVMediaControlView;
class ORVMediaTableModel;
class ORVPlayController;
class PlayKeys;
class PlayerPairFollower;
class PlayerViewsHost;
class QtDelayedSteps;
class SettingEditorMaker;
class VlcMediaPlayer;

// The application controller: the one place that makes the main window,
// the recording list, the two players and their control, and wires them
// together; it starts the application in its fixed order and carries out
// the window's commands.
class ORVAppDelegate : public QObject {
    Q_OBJECT
    Q_PROPERTY(int rightViewMode READ rightViewMode NOTIFY rightViewModeChanged)
public:
    enum RightViewMode { RightViewModeList = SidePanel::ListMode, RightViewModeMap = SidePanel::MapMode };
    static constexpr QSize minWindowSize() { return MainWindow::kMinimumSize; }
    // The centred frame of the minimum size in an available area.
    static QRect minWindowFrame(const QRect& availableArea) { return MainWindow::minimumFrameIn(availableArea); }

    // Over the system's cards and files, with the card formatter and the
    // clock-setting window.
    explicit ORVAppDelegate(QObject* parent = nullptr);
    // With the settings editors made by the given maker, which the start-up
    // probe of the card already uses.
    explicit ORVAppDelegate(std::unique_ptr<SettingEditorMaker> settingEditors, QObject* parent = nullptr);
    ~ORVAppDelegate() override;

    void applicationDidFinishLaunching();
    static bool applicationShouldTerminateAfterLastWindowClosed() { return true; }

    MainWindow* window() const { return m_window.get(); }
    ORVMediaList& mediaList() { return *m_mediaList; }
    ORVMediaTableModel* tableModel() const;
    int rightViewMode() const { return m_window->sidePanelMode(); }
    std::int64_t mediaIndex() const;
    ORVPlayController* playController() const { return m_playController.get(); }
    ORVMediaControlView* mediaControlView() const { return m_window->controls(); }
    ORVMediaControlView* mediaControlViewForFullScreen() const { return m_window->fullScreenControls(); }
    FrameCaptureController* captureController() const { return m_capture.get(); }
    const QStringList& columnNames() const;
    bool isScanning() const;

    // The open panel; replaceable so that tests choose without a dialog.
    // It returns the chosen directory, or an empty text when cancelled.
    using DirectoryChooser = std::function<QString(QWidget* parent)>;
    void setDirectoryChooser(DirectoryChooser chooser) { m_directoryChooser = std::move(chooser); }

    // The secondary windows, each made by its factory over the main window
    // and shown, not modal. The settings editor and the clock setting are
    // kept as the last dialog, replacing the one before. A panel without a
    // factory opens nothing; the settings editor has one from the start.
    enum class Panel { Setting, TimeSetup, CardCheck };
    using PanelFactory = std::function<QWidget*(QWidget* mainWindow)>;
    void setPanelFactory(Panel panel, PanelFactory factory);
    QWidget* lastDialogController() const { return m_lastDialogController; }
    // The folder the window shows, which the settings editor offers to edit
    // the settings of when no card holds any.
    const QString& openedDirectory() const { return m_openedDirectory; }
    SettingEditorMaker& settingEditors() { return *m_settingEditors; }
    IncidentExporter* incidentExporter() const { return m_incidentExporter; }

public slots:
    void openMediaDirectoryDialog();
    void openDirectory(const QString& path);
    void clickMediaListViewButton();
    void clickMapViewButton();
    void closeWindow();
    void changeAndPlay();
    void toggleFullScreen();
    // Fit or fill for both videos, kept for the next start.
    void showWholePicture(bool whole);
    void showSettingPanel() { showPanel(Panel::Setting); }
    void showTimeSetupPanel() { showPanel(Panel::TimeSetup); }
    void showCardCheckPanel() { showPanel(Panel::CardCheck); }
    // The incident package of a table row; with a picture of the main view
    // when the row is the recording playing.
    void exportIncident(std::int64_t row);
    // The settings editor at its GPS page, where the time zone is set.
    void showGpsSettingPanel();
    void captureVideo();
    void print();

signals:
    void rightViewModeChanged(int mode);
    // After the table has been reloaded from a finished scan.
    void mediaListReloaded();

private:
    void createPlayControl();
    void wireWindow();
    void addCommands();
    void addCaptureCommands();
    void updateCaptureCommands();
    void setupInitialValues();
    void applyPreferredLanguage();
    void setRightViewMode(int mode);
    void mediaListDidReload();
    void showPanel(Panel panel);
    void showWhatIsShown();

    // Made in this order and gone in the reverse one: the editors, windows
    // over the main window, use the maker's services; the players draw into
    // the window's views, and the control drives the players.
    std::unique_ptr<SettingEditorMaker> m_settingEditors;
    std::unique_ptr<ORVMediaList> m_mediaList;
    std::shared_ptr<QtDelayedSteps> m_delayedSteps;
    std::unique_ptr<MainWindow> m_window;
    std::unique_ptr<VlcMediaPlayer> m_player1;
    std::unique_ptr<VlcMediaPlayer> m_player2;
    std::unique_ptr<PlayerPairFollower> m_follower;
    std::unique_ptr<PlayerViewsHost> m_host;
    std::unique_ptr<ORVPlayController> m_playController;
    std::unique_ptr<PlayKeys> m_playKeys;
    std::unique_ptr<FrameCaptureController> m_capture;
    QPointer<QAction> m_captureCommand;
    QPointer<QAction> m_printCommand;

    QString m_strVersion;
    // The head bar's name of the card opened last.
    QString m_cardName;
    QString m_openedDirectory;
    QAction* m_wholePictureCommand = nullptr;
    DirectoryChooser m_directoryChooser;
    std::map<Panel, PanelFactory> m_panelFactories;
    QPointer<QWidget> m_lastDialogController;
    QPointer<CardCheckWindow> m_cardCheckWindow;
    IncidentExporter* m_incidentExporter = nullptr;
};

}  // namespace zentrova
