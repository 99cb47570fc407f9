#include "app/ORVAppDelegate.h"

#include "app/HeadBar.h"
#include "app/NowShowingText.h"
#include "app/ORVMediaTableModel.h"
#include "app/PlayKeys.h"
#include "app/PlayerViewsHost.h"
#include "app/RecordingsPanel.h"
#include "card/ORVFormatWindowController.h"
#include "card/ORVTimeSetupController.h"
#include "check/ui/CardCheckWindow.h"
#include "common/Log.h"
#include "common/linux/AllocatorTuning.h"
#include "controls/ImageLibrary.h"
#include "controls/UiText.h"
#include "incident/ui/IncidentExporter.h"
#include "playback/FrameCaptureController.h"
#include "playback/ORVMapView.h"
#include "playback/ORVPlayController.h"
#include "playback/PlayerPairFollower.h"
#include "playback/QtDelayedSteps.h"
#include "playback/TKVideoBackgroundImageView.h"
#include "playback/TelemetryPanel.h"
#include "playback/VLCVideoView.h"
#include "playback/VlcMediaPlayer.h"
#include "playback/linux/CupsPrintSystem.h"
#include "recordings/ORVMediaList.h"
#include "recordings/linux/PosixDirectoryLister.h"
#include "settings/SettingEditorMaker.h"
#include "settings/SettingTabs.h"
#include "telemetry/ORVBlackBoxData.h"

#include <QAction>
#include <QCoreApplication>
#include <QFileDialog>
#include <QKeySequence>
#include <QLocale>
#include <QSettings>
#include <QTableView>

namespace zentrova {
namespace {

// The application's one setting of its own besides the language list.
const char* const kWholePictureKey = "viewer/wholePicture";

}  // namespace

ORVAppDelegate::ORVAppDelegate(QObject* parent) : ORVAppDelegate(SettingEditorMaker::forSystem(), parent) {
    m_settingEditors->setFormatWindowMaker([](QWidget* editor) -> QWidget* { return new ORVFormatWindowController(editor); });
    setPanelFactory(Panel::TimeSetup, [](QWidget* mainWindow) -> QWidget* { return new ORVTimeSetupController(mainWindow); });
}

ORVAppDelegate::ORVAppDelegate(std::unique_ptr<SettingEditorMaker> settingEditors, QObject* parent)
    : QObject(parent),
      m_settingEditors(std::move(settingEditors)),
      m_mediaList(std::make_unique<ORVMediaList>(std::make_shared<PosixDirectoryLister>())),
      m_delayedSteps(std::make_shared<QtDelayedSteps>(this)),
      m_window(std::make_unique<MainWindow>()) {
    m_directoryChooser = [](QWidget* panelParent) {
        return QFileDialog::getExistingDirectory(panelParent, QString(), QString(),
                                                 QFileDialog::ShowDirsOnly | QFileDialog::DontResolveSymlinks);
    };
    setPanelFactory(Panel::Setting, [this](QWidget* mainWindow) -> QWidget* {
        return m_settingEditors->makeEditor(mainWindow, m_openedDirectory);
    });
    setPanelFactory(Panel::CardCheck, [this](QWidget* mainWindow) -> QWidget* {
        if (!m_cardCheckWindow) {
            m_cardCheckWindow = new CardCheckWindow(mainWindow, {});
            m_cardCheckWindow->setAttribute(Qt::WA_DeleteOnClose);
            connect(m_cardCheckWindow, &CardCheckWindow::settingsRequested, this,
                    &ORVAppDelegate::showGpsSettingPanel);
        }
        // A window left open checks the folder shown now, unless busy.
        if (m_cardCheckWindow->folder() != m_openedDirectory) m_cardCheckWindow->checkFolder(m_openedDirectory);
        m_cardCheckWindow->raise();
        return m_cardCheckWindow;
    });
    createPlayControl();
    wireWindow();
    addCommands();
    setupInitialValues();
}

ORVAppDelegate::~ORVAppDelegate() = default;

void ORVAppDelegate::createPlayControl() {
    m_player1 = std::make_unique<VlcMediaPlayer>(m_window->mainVideoView());
    m_player2 = std::make_unique<VlcMediaPlayer>(m_window->secondVideoView());
    m_follower = std::make_unique<PlayerPairFollower>(*m_player1, *m_player2, *m_delayedSteps);
    m_host = std::make_unique<PlayerViewsHost>(*m_window);
    ORVPlayController::Parts parts;
    parts.player1 = m_player1.get();
    parts.player2 = m_player2.get();
    parts.mediaList = m_mediaList.get();
    parts.host = m_host.get();
    parts.delayedSteps = m_delayedSteps;
    parts.extractTelemetry = [](const std::string& frontPath) -> std::shared_ptr<const ORVBlackBoxData> {
        auto telemetry = std::make_shared<ORVBlackBoxData>();
        // A file without telemetry leaves the record empty; play goes on.
        telemetry->ExtractStreamInformation(frontPath);
        return telemetry;
    };
    parts.runInBackground = ORVPlayController::detachedThreadRunner(*this);
    parts.returnFreedMemory = [] { returnFreedMemory(); };
    m_playController = std::make_unique<ORVPlayController>(std::move(parts));
    m_host->bind(*m_playController);
    connect(m_playController.get(), &ORVPlayController::playingMediaChanged, this, &ORVAppDelegate::showWhatIsShown);
    m_playKeys = std::make_unique<PlayKeys>(*m_window, *m_playController);
    m_capture = std::make_unique<FrameCaptureController>(m_window.get(), std::make_shared<CupsPrintSystem>());
    m_capture->setPlayer(m_player1.get());
}

void ORVAppDelegate::wireWindow() {
    MainWindow* window = m_window.get();
    connect(window, &MainWindow::openRequested, this, &ORVAppDelegate::openMediaDirectoryDialog);
    connect(window, &MainWindow::settingsRequested, this, &ORVAppDelegate::showSettingPanel);
    connect(window, &MainWindow::timeSetupRequested, this, &ORVAppDelegate::showTimeSetupPanel);
    connect(window, &MainWindow::cardCheckRequested, this, &ORVAppDelegate::showCardCheckPanel);
    m_incidentExporter = new IncidentExporter(window, {});
    connect(window->recordings(), &RecordingsPanel::incidentExportRequested, this, &ORVAppDelegate::exportIncident);
    connect(window, &MainWindow::closeRequested, this, &ORVAppDelegate::closeWindow);
    connect(window, &MainWindow::recordingActivated, this, &ORVAppDelegate::changeAndPlay);
    connect(window, &MainWindow::sidePanelModeRequested, this, [this](int mode) {
        mode == RightViewModeMap ? clickMapViewButton() : clickMediaListViewButton();
    });
    connect(window, &CustomWindow::directoryDropped, this, &ORVAppDelegate::openDirectory);
    connect(window->recordings(), &RecordingsPanel::listReloaded, this, &ORVAppDelegate::mediaListDidReload);
}

// The head bar's menu: every command with its keys, one line each.
void ORVAppDelegate::addCommands() {
    MainWindow* window = m_window.get();
    connect(window->addCommand("menu.open", QKeySequence(Qt::CTRL | Qt::Key_O)), &QAction::triggered, this,
            &ORVAppDelegate::openMediaDirectoryDialog);
    connect(window->addCommand("menu.settings", QKeySequence(Qt::CTRL | Qt::Key_Comma)), &QAction::triggered, this,
            &ORVAppDelegate::showSettingPanel);
    connect(window->addCommand("menu.full_screen", QKeySequence(Qt::Key_F)), &QAction::triggered, this,
            &ORVAppDelegate::toggleFullScreen);
    m_wholePictureCommand = window->addCommand("menu.whole_picture", QKeySequence(Qt::Key_A));
    m_wholePictureCommand->setCheckable(true);
    connect(m_wholePictureCommand, &QAction::toggled, this, &ORVAppDelegate::showWholePicture);
    connect(window->addCommand("menu.time_setup", QKeySequence(Qt::CTRL | Qt::Key_T)), &QAction::triggered, this,
            &ORVAppDelegate::showTimeSetupPanel);
    addCaptureCommands();
    connect(window->addCommand("menu.card_check", QKeySequence(Qt::CTRL | Qt::Key_K)), &QAction::triggered, this,
            &ORVAppDelegate::showCardCheckPanel);
    connect(window->addCommand("menu.export_incident", QKeySequence(Qt::CTRL | Qt::Key_E)), &QAction::triggered,
            this, [this] { exportIncident(mediaIndex() >= 0 ? mediaIndex() : m_window->recordings()->currentRow()); });
    connect(window->addCommand("menu.quit", QKeySequence(Qt::CTRL | Qt::Key_Q)), &QAction::triggered, this,
            &ORVAppDelegate::closeWindow);
}

// Capture and print also have buttons in the head bar, which follow the
// main player: capture while it plays, print while it has a recording.
void ORVAppDelegate::addCaptureCommands() {
    MainWindow* window = m_window.get();
    m_captureCommand = window->addCommand("capture.menu", QKeySequence(Qt::CTRL | Qt::Key_S));
    m_captureCommand->setIcon(ImageLibrary::icon("icon_capture_n"));
    m_captureCommand->setToolTip(uiText("capture.button"));
    connect(m_captureCommand, &QAction::triggered, this, &ORVAppDelegate::captureVideo);
    m_printCommand = window->addCommand("capture.print_menu", QKeySequence(Qt::CTRL | Qt::Key_P));
    m_printCommand->setIcon(ImageLibrary::icon("icon_print_n"));
    m_printCommand->setToolTip(uiText("capture.print_button"));
    connect(m_printCommand, &QAction::triggered, this, &ORVAppDelegate::print);
    window->headBar()->addCommandButton("captureButton", "icon_capture_n", m_captureCommand);
    window->headBar()->addCommandButton("printButton", "icon_print_n", m_printCommand);
    connect(m_player1.get(), &ORVMediaPlayer::mediaPlayerStateChanged, this, &ORVAppDelegate::updateCaptureCommands);
    connect(m_player1.get(), &ORVMediaPlayer::mediaPlayerTimeChanged, this, &ORVAppDelegate::updateCaptureCommands);
    connect(m_player1.get(), &ORVMediaPlayer::mediaChanged, this, &ORVAppDelegate::updateCaptureCommands);
    updateCaptureCommands();
}

void ORVAppDelegate::updateCaptureCommands() {
    m_captureCommand->setEnabled(m_capture->canCapture());
    m_printCommand->setEnabled(m_capture->canPrint());
}

void ORVAppDelegate::captureVideo() { m_capture->captureVideo(); }

void ORVAppDelegate::print() { m_capture->print(); }

void ORVAppDelegate::setupInitialValues() {
    m_window->recordings()->watch(*m_mediaList);
    setRightViewMode(RightViewModeList);
    // A card holding a valid settings file under another volume name gets
    // the camera's name; nothing that is read is kept.
    m_settingEditors->probeCard();
    m_wholePictureCommand->setChecked(QSettings().value(kWholePictureKey, false).toBool());
    m_strVersion = QCoreApplication::applicationVersion();
    m_window->headBar()->setVersionText(uiFormat("main.version_fmt", m_strVersion));
}

void ORVAppDelegate::applicationDidFinishLaunching() {
    applyPreferredLanguage();
    m_window->placeAtMinimumSize();
    m_window->show();
    // The keys start on the table: Up and Down choose, Enter plays, Tab
    // goes on to the play controls.
    m_window->recordings()->tableView()->setFocus(Qt::OtherFocusReason);
    m_window->sidePanel()->mapView()->loadMapPage(ORVMapView::pageNameForLanguage(QStringLiteral("en")));
    m_host->resetTelemetryReadouts();
    m_host->showVolume(m_playController->volume(), m_playController->muted());
    showWhatIsShown();
}

void ORVAppDelegate::applyPreferredLanguage() {
    QSettings settings;
    QStringList preferred = settings.value("AppleLanguages").toStringList();
    if (preferred.isEmpty()) preferred = QLocale::system().uiLanguages();
    for (const QString& language : preferred) logLine("SUPPORT_LANGUAGE=" + language.toStdString());
    settings.setValue("AppleLanguages", QStringList{QStringLiteral("en")});
    QLocale::setDefault(QLocale(QLocale::English));
}

ORVMediaTableModel* ORVAppDelegate::tableModel() const { return m_window->recordings()->tableModel(); }

std::int64_t ORVAppDelegate::mediaIndex() const { return m_playController->mediaIndex(); }

const QStringList& ORVAppDelegate::columnNames() const { return m_window->recordings()->columnNames(); }

bool ORVAppDelegate::isScanning() const { return m_window->recordings()->isScanning(); }

void ORVAppDelegate::openMediaDirectoryDialog() {
    const QString chosen = m_directoryChooser ? m_directoryChooser(m_window.get()) : QString();
    if (chosen.isEmpty()) return;
    openDirectory(chosen);
}

void ORVAppDelegate::openDirectory(const QString& path) {
    if (path.isEmpty()) return;
    m_cardName = NowShowingText::forCard(path, NowShowingText::demoCardDirectory());
    m_openedDirectory = path;
    m_playController->stopPlay();
    m_window->recordings()->beginScan();
    m_mediaList->setDirectoryPath(path.toStdString());
    showWhatIsShown();
}

void ORVAppDelegate::showWhatIsShown() {
    const std::shared_ptr<ORVMedia> playing = m_playController->playingMedia();
    m_window->headBar()->setNowShowing(playing ? NowShowingText::forRecording(*playing) : m_cardName);
    // The empty video area says what to do next.
    QString next;
    if (playing || isScanning()) {
        next.clear();
    } else if (!m_mediaList->directoryPath()) {
        next = uiText("play.placeholder.open");
    } else if (m_mediaList->count() == 0) {
        next = uiText("play.placeholder.empty");
    } else {
        next = uiText("play.placeholder.choose");
    }
    m_window->mainVideoArea()->setPlaceholderText(next);
}

// Every finished scan shows the table, even where the map was shown.
void ORVAppDelegate::mediaListDidReload() {
    setRightViewMode(RightViewModeList);
    showWhatIsShown();
    emit mediaListReloaded();
}

void ORVAppDelegate::setRightViewMode(int mode) {
    const bool changed = mode != rightViewMode();
    m_window->showSidePanelMode(mode);
    if (changed) emit rightViewModeChanged(mode);
}

void ORVAppDelegate::clickMediaListViewButton() {
    if (rightViewMode() != RightViewModeList) setRightViewMode(RightViewModeList);
}

void ORVAppDelegate::clickMapViewButton() {
    if (rightViewMode() != RightViewModeMap) setRightViewMode(RightViewModeMap);
}

void ORVAppDelegate::closeWindow() {
    m_playController->stopPlay();
    m_window->close();
}

void ORVAppDelegate::changeAndPlay() { m_playController->changeAndPlay(m_window->recordings()->currentRow()); }

void ORVAppDelegate::toggleFullScreen() { m_window->toggleFullScreen(); }

void ORVAppDelegate::exportIncident(std::int64_t row) {
    const bool listed = row >= 0 && row < tableModel()->rowCount();
    const auto media = listed ? tableModel()->mediaAtIndex(static_cast<int>(row)) : nullptr;
    if (!media) return;
    const QImage capture = row == mediaIndex() ? m_window->mainVideoView()->currentFrame() : QImage();
    m_incidentExporter->exportRecording(QString::fromStdString(media->path()), capture);
}

void ORVAppDelegate::showGpsSettingPanel() {
    showSettingPanel();
    auto* editor = qobject_cast<ORVSettingController*>(m_lastDialogController.data());
    const std::vector<SettingTab> tabs = settingTabs();
    for (std::size_t index = 0; editor && index < tabs.size(); ++index) {
        if (tabs[index].label.key == std::string_view("setting.gps")) editor->changeViewController(static_cast<int>(index));
    }
}

void ORVAppDelegate::showWholePicture(bool whole) {
    m_window->setWholePicture(whole);
    if (m_wholePictureCommand->isChecked() != whole) m_wholePictureCommand->setChecked(whole);
    QSettings().setValue(kWholePictureKey, whole);
}

void ORVAppDelegate::setPanelFactory(Panel panel, PanelFactory factory) { m_panelFactories[panel] = std::move(factory); }

void ORVAppDelegate::showPanel(Panel panel) {
    const auto found = m_panelFactories.find(panel);
    QWidget* dialog = found != m_panelFactories.end() && found->second ? found->second(m_window.get()) : nullptr;
    if (!dialog) return;
    if (panel == Panel::Setting || panel == Panel::TimeSetup) m_lastDialogController = dialog;
    dialog->show();
}

}  // namespace zentrova
