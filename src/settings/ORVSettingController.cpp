#include "settings/ORVSettingController.h"

#include "card/CardRenaming.h"
#include "card/UsbVolumes.h"
#include "common/Log.h"
#include "controls/Alert.h"
#include "controls/AppWindow.h"
#include "controls/SegmentedControl.h"
#include "controls/UiText.h"
#include "controls/WindowLook.h"
#include "playback/QtDelayedSteps.h"
#include "settings/ORVSettingControllerDelegate.h"
#include "settings/SettingLoadingSheet.h"
#include "settings/SettingPageControls.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QShortcut>
#include <QStandardPaths>
#include <QThreadPool>
#include <QVBoxLayout>

#include <filesystem>
#include <system_error>

namespace zentrova {
namespace {

namespace fs = std::filesystem;

constexpr QSize kWindowSize(900, 700);
constexpr const char* kSettingsFileName = "config.bin";
constexpr const char* kDriveLogFile = "DrvInfo/zentrova_000.drv";

bool fileExists(const fs::path& path) {
    std::error_code ec;
    return fs::exists(path, ec);
}

// A regular file of exactly one record; anything else is not the camera's
// settings file (and a FIFO or device is never opened).
bool isSettingsFile(const fs::path& path) {
    std::error_code ec;
    if (!fs::is_regular_file(path, ec)) return false;
    const std::uintmax_t size = fs::file_size(path, ec);
    return !ec && size == kFileDataSize;
}

std::string inFolder(const std::string& folder, const char* name) { return (fs::path(folder) / name).string(); }

std::optional<QString> systemSaveDialog(QWidget* window) {
    const QString desktop = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    QFileDialog dialog(window, uiText("setting.save_settings"), QDir(desktop).filePath(kSettingsFileName));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().first();
}

std::optional<QString> systemOpenDialog(QWidget* window, const QString& startFolder) {
    const QString chosen = QFileDialog::getOpenFileName(window, uiText("setting.open_settings_file_title"),
                                                        startFolder, uiText("setting.settings_file_filter"));
    if (chosen.isEmpty()) return std::nullopt;
    return chosen;
}

QPushButton* makeButton(const char* name, const QString& title, QWidget* parent) {
    auto* button = new QPushButton(title, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    return button;
}

}  // namespace

ORVSettingController::BackgroundReader ORVSettingController::threadPoolReader() {
    return [](std::function<ReadOutcome()> work, std::function<void(ReadOutcome)> done) {
        QThreadPool::globalInstance()->start([work = std::move(work), done = std::move(done)]() mutable {
            ReadOutcome outcome = work();
            QMetaObject::invokeMethod(
                QCoreApplication::instance(), [done = std::move(done), outcome] { done(outcome); },
                Qt::QueuedConnection);
        });
    };
}

ORVSettingController::ORVSettingController(Parts parts, QWidget* parent)
    : QWidget(parent, Qt::Window), m_parts(std::move(parts)) {
    if (m_parts.tabs.empty()) m_parts.tabs = settingTabs();
    m_delayedSteps = m_parts.delayedSteps ? m_parts.delayedSteps : std::make_shared<QtDelayedSteps>(this);
    if (!m_parts.runInBackground) m_parts.runInBackground = threadPoolReader();
    if (!m_parts.saveDialog) m_parts.saveDialog = systemSaveDialog;
    if (!m_parts.openDialog) m_parts.openDialog = systemOpenDialog;
    buildWindow();
    m_loadingSheet = std::make_unique<SettingLoadingSheet>(this, *m_delayedSteps);
    resetFileData(m_FileData);
    loadSettingFile2();
}

ORVSettingController::~ORVSettingController() = default;

void ORVSettingController::buildWindow() {
    setObjectName(QStringLiteral("ORVSettingController"));
    resize(kWindowSize);
    setMinimumSize(760, 560);
    applyWindowLook(*this);
    updateWindowTitle();

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 14, 16, 14);
    layout->setSpacing(10);

    m_functionSegmentedControl = new SegmentedControl(this);
    m_functionSegmentedControl->setObjectName(QStringLiteral("functionSegmentedControl"));
    QStringList labels;
    for (const SettingTab& tab : m_parts.tabs) labels << uiText(tab.label.key);
    setSegmentLabels(*m_functionSegmentedControl, labels);
    connect(m_functionSegmentedControl, &SegmentedControl::segmentClicked, this,
            &ORVSettingController::changeViewController);
    layout->addWidget(m_functionSegmentedControl);

    layout->addWidget(buildNoCardNotice());

    m_pageTitleLabel = new QLabel(this);
    m_pageTitleLabel->setObjectName(QStringLiteral("pageTitleLabel"));
    m_pageTitleLabel->setStyleSheet(QStringLiteral("color: #e8ecf1; font-size: 13pt; font-weight: 600;"));
    layout->addWidget(m_pageTitleLabel);

    m_targetView = new QScrollArea(this);
    m_targetView->setObjectName(QStringLiteral("targetView"));
    m_targetView->setWidgetResizable(true);
    m_targetView->setFrameShape(QFrame::NoFrame);
    layout->addWidget(m_targetView, 1);

    layout->addWidget(buildButtonRow());
}

QWidget* ORVSettingController::buildNoCardNotice() {
    m_noCardNotice = new QWidget(this);
    m_noCardNotice->setObjectName(QStringLiteral("noCardNotice"));
    m_noCardNotice->setAttribute(Qt::WA_StyledBackground, true);
    m_noCardNotice->setStyleSheet(
        QStringLiteral("#noCardNotice { background: #23272e; border: 1px solid #2e333b; border-radius: 4px; }"));
    auto* row = new QHBoxLayout(m_noCardNotice);
    row->setContentsMargins(12, 8, 12, 8);
    auto* text = new QLabel(uiText("setting.no_card_settings"), m_noCardNotice);
    text->setObjectName(QStringLiteral("noCardLabel"));
    text->setWordWrap(true);
    row->addWidget(text, 1);
    m_openFolderSettingFileButton =
        makeButton("openFolderSettingFileButton", uiText("setting.open_folder_settings_file"), m_noCardNotice);
    connect(m_openFolderSettingFileButton, &QPushButton::clicked, this, [this] {
        if (auto path = folderSettingFile()) openSettingFile(QString::fromStdString(*path));
    });
    row->addWidget(m_openFolderSettingFileButton);
    m_openSettingFileButton = makeButton("openSettingFileButton", uiText("setting.open_settings_file"), m_noCardNotice);
    connect(m_openSettingFileButton, &QPushButton::clicked, this, &ORVSettingController::openSettingFileDialog);
    row->addWidget(m_openSettingFileButton);
    m_noCardNotice->hide();
    return m_noCardNotice;
}

QWidget* ORVSettingController::buildButtonRow() {
    auto* buttons = new QWidget(this);
    auto* row = new QHBoxLayout(buttons);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(8);
    m_sdcardFormatButton = makeButton("sdcardFormatButton", uiText("setting.sdcardformat"), buttons);
    if (!m_parts.makeFormatWindow) {
        m_sdcardFormatButton->setEnabled(false);
        m_sdcardFormatButton->setToolTip(uiText("setting.format_not_built"));
    }
    m_resetButton = makeButton("resetButton", uiText("setting.initialize"), buttons);
    m_cancelButton = makeButton("cancelButton", uiText("cancel"), buttons);
    m_saveButton = makeButton("saveButton", uiText("save"), buttons);
    m_saveButton->setDefault(true);
    connect(m_sdcardFormatButton, &QPushButton::clicked, this, &ORVSettingController::onFormat);
    connect(m_resetButton, &QPushButton::clicked, this, &ORVSettingController::onSaveDefaultSetting);
    connect(m_cancelButton, &QPushButton::clicked, this, &ORVSettingController::onCloseCmd);
    connect(m_saveButton, &QPushButton::clicked, this, &ORVSettingController::onSave);
    // Escape cancels, as in a dialog.
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this,
            &ORVSettingController::onCloseCmd);
    row->addWidget(m_sdcardFormatButton);
    row->addStretch(1);
    row->addWidget(m_resetButton);
    row->addSpacing(16);
    row->addWidget(m_cancelButton);
    row->addWidget(m_saveButton);
    return buttons;
}

void ORVSettingController::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (m_windowLoaded) return;
    m_windowLoaded = true;
    windowDidLoad();
}

void ORVSettingController::windowDidLoad() {
    placeCentredOnScreen();
    onInitDIalog();
    changeViewController(0);
}

void ORVSettingController::placeCentredOnScreen() {
    const QScreen* shownOn = screen();
    if (!shownOn) return;
    move(centredOrigin(frameGeometry().size(), shownOn->availableGeometry()));
}

void ORVSettingController::onInitDIalog() {
    resetFileData(m_FileData);
    loadSettingFile();
    updateWindowTitle();
    updateNoCardNotice();
}

void ORVSettingController::updateWindowTitle() {
    const QString title = uiText("setting.window_title");
    setWindowTitle(m_SettingFilePath ? title + QStringLiteral(" : ") + QString::fromStdString(*m_SettingFilePath)
                                     : title);
}

// Shown while no settings file is being edited; the folder of the main
// window is offered when it holds one.
void ORVSettingController::updateNoCardNotice() {
    const std::optional<std::string> folderFile = folderSettingFile();
    m_openFolderSettingFileButton->setVisible(folderFile.has_value());
    if (folderFile) m_openFolderSettingFileButton->setToolTip(QString::fromStdString(*folderFile));
    m_noCardNotice->setVisible(!m_SettingFilePath);
    // The offer has the focus, so that a key takes it.
    if (!m_SettingFilePath) (folderFile ? m_openFolderSettingFileButton : m_openSettingFileButton)->setFocus();
}

std::optional<std::string> ORVSettingController::folderSettingFile() const {
    if (m_parts.openedFolder.isEmpty()) return std::nullopt;
    const std::string path = inFolder(m_parts.openedFolder.toStdString(), kSettingsFileName);
    if (!isSettingsFile(path)) return std::nullopt;
    return path;
}

void ORVSettingController::findUSBVolume() {
    if (!m_parts.volumes) return;
    if (usbVolumeURLs(*m_parts.volumes).empty()) {
        logLine("no removable devices");
        return;
    }
    m_SettingFilePath.reset();
    m_selectedUSBDisk.reset();
    std::optional<TKUSBDiskEntity> card = chooseCardDisk(*m_parts.volumes);
    if (!card) return;
    if (!isSettingsFile(inFolder(card->mountedURL(), kSettingsFileName))) return;
    if (m_parts.renamer) card = giveCardTheCameraName(*card, *m_parts.renamer, *m_parts.volumes);
    m_SettingFilePath = inFolder(card->mountedURL(), kSettingsFileName);
    m_selectedUSBDisk = std::move(card);
}

bool ORVSettingController::loadSettingFile2() {
    findUSBVolume();
    if (!m_SettingFilePath || !fileExists(*m_SettingFilePath)) return false;
    // The record keeps its values when the file cannot be read after all.
    (void)readFileData(*m_SettingFilePath, m_FileData);
    return true;
}

bool ORVSettingController::loadSettingFile() {
    findUSBVolume();
    if (!m_SettingFilePath || !fileExists(*m_SettingFilePath)) return false;
    m_loadingSheet->showLoading(uiText("setting.loading"));
    readInBackground(*m_SettingFilePath);
    return true;
}

// The worker reads into a record of its own, handed over on the main thread,
// so that no page can see or write a half-read record.
void ORVSettingController::readInBackground(const std::string& path) {
    m_reading = true;
    setEditingEnabled(false);
    QPointer<ORVSettingController> self(this);
    m_parts.runInBackground(
        [path] {
            ReadOutcome outcome;
            outcome.result = readFileData(path, outcome.record);
            return outcome;
        },
        [self](ReadOutcome outcome) {
            if (self) self->settingFileRead(outcome);
        });
}

void ORVSettingController::settingFileRead(const ReadOutcome& outcome) {
    m_reading = false;
    if (outcome.result == FileDataReadResult::Read) {
        m_FileData = outcome.record;
    } else {
        showAlert(this, uiText(kAlertTitleWarn.key), uiText("setting.read_failed"));
    }
    if (ORVSettingControllerDelegate* page = currentPage()) page->setFileData(&m_FileData);
    setEditingEnabled(true);
    m_loadingSheet->hideLoading();
}

void ORVSettingController::setEditingEnabled(bool enabled) {
    for (QWidget* control : std::initializer_list<QWidget*>{m_functionSegmentedControl, m_targetView, m_resetButton,
                                                            m_saveButton, m_noCardNotice}) {
        control->setEnabled(enabled);
    }
    m_sdcardFormatButton->setEnabled(enabled && m_parts.makeFormatWindow);
}

ORVSettingControllerDelegate* ORVSettingController::currentPage() const {
    return qobject_cast<ORVSettingControllerDelegate*>(m_targetController.data());
}

bool ORVSettingController::populate() {
    ORVSettingControllerDelegate* page = currentPage();
    return page ? page->populate() : true;
}

std::optional<QString> ORVSettingController::validateUserInput() const {
    ORVSettingControllerDelegate* page = currentPage();
    return page ? page->validateUserInput() : std::nullopt;
}

void ORVSettingController::changeViewController(int index) {
    if (index == m_lastSelectedTabIndex) return;
    if (index < 0 || index >= static_cast<int>(m_parts.tabs.size())) return snapTabBack();
    if (ORVSettingControllerDelegate* page = currentPage()) {
        if (std::optional<QString> message = page->validateUserInput()) {
            snapTabBack();
            showAlert(this, uiText(kAlertTitleApplication.key), *message);
            return;
        }
        // A page that refuses after its own warning stays, and so does its tab.
        if (!page->populate()) return snapTabBack();
        page->onHide();
    }
    removeShownPage();

    const SettingTab& tab = m_parts.tabs[static_cast<std::size_t>(index)];
    QWidget* shown = pageForTab(index);
    shown->setWindowTitle(uiText(tab.title.key));
    m_pageTitleLabel->setText(shown->windowTitle());
    m_targetController = shown;
    m_targetView->setWidget(shown);
    // The window's own background shows through.
    shown->setAutoFillBackground(false);
    shown->show();
    if (ORVSettingControllerDelegate* page = currentPage()) {
        page->setFileData(&m_FileData);
        page->setMainController(this);
    }
    m_lastSelectedTabIndex = index;
    m_functionSegmentedControl->setSelectedSegment(index);
}

void ORVSettingController::snapTabBack() {
    m_functionSegmentedControl->setSelectedSegment(static_cast<int>(m_lastSelectedTabIndex));
}

void ORVSettingController::removeShownPage() {
    QWidget* shown = m_targetView->takeWidget();
    m_targetController = nullptr;
    if (!shown) return;
    if (shown == m_driveInfoController) {
        shown->hide();
        shown->setParent(this);
        return;
    }
    delete shown;
}

QWidget* ORVSettingController::pageForTab(int index) {
    const SettingTab& tab = m_parts.tabs[static_cast<std::size_t>(index)];
    const SettingPageContext context{&m_FileData, driveLogPath(), m_loadingSheet.get()};
    if (!tab.keptOnceMade) return tab.makePage(context);
    if (!m_driveInfoController) m_driveInfoController = tab.makePage(context);
    return m_driveInfoController;
}

// The drive log beside the settings file being edited, on the card or in
// the folder of a copy kept on the computer.
std::optional<std::string> ORVSettingController::driveLogPath() const {
    if (!m_SettingFilePath) return std::nullopt;
    const fs::path log = fs::path(*m_SettingFilePath).parent_path() / kDriveLogFile;
    if (!fileExists(log)) return std::nullopt;
    return log.string();
}

void ORVSettingController::onSave() {
    if (m_reading) return;
    if (std::optional<QString> message = validateUserInput()) {
        showAlert(this, uiText(kAlertTitleApplication.key), *message);
        return;
    }
    // A page that refuses has shown its own warning.
    if (!populate()) return;
    prepareFileDataForWriting(m_FileData);
    if (m_selectedUSBDisk) {
        const std::string onCard = inFolder(m_selectedUSBDisk->mountedURL(), kSettingsFileName);
        if (fileExists(onCard)) return writeRecord(onCard, true);
    }
    if (m_openedSettingFile) return writeRecord(*m_openedSettingFile, false);
    if (const std::optional<TKUSBDiskEntity> card = m_parts.volumes ? chooseCardDisk(*m_parts.volumes) : std::nullopt) {
        return writeRecord(inFolder(card->mountedURL(), kSettingsFileName), true);
    }
    if (const std::optional<QString> chosen = m_parts.saveDialog(this)) writeRecord(chosen->toStdString(), false);
}

void ORVSettingController::writeRecord(const std::string& path, bool toCard) {
    const FileSaveResult saved = writeFileData(m_FileData, path, *m_parts.writer);
    if (!saved.saved()) {
        const QString message = toCard ? uiText("msg.write_protected_disk") : uiText("msg.file_open_fail");
        showAlert(this, uiText(kAlertTitleWarn.key),
                  message + QStringLiteral("\n\n") + QString::fromStdString(saved.reason));
        return;
    }
    QPointer<ORVSettingController> self(this);
    showAlertSheet(this, QString::fromStdString(path), uiText("msg.saved"), [self] {
        if (self) self->onCloseCmd();
    });
}

void ORVSettingController::onCloseCmd() { close(); }

void ORVSettingController::onSaveDefaultSetting() {
    if (m_reading) return;
    resetFileData(m_FileData);
    if (ORVSettingControllerDelegate* page = currentPage()) page->setFileData(&m_FileData);
}

void ORVSettingController::onFormat() {
    if (!m_parts.makeFormatWindow) return;
    QWidget* formatter = m_parts.makeFormatWindow(this);
    if (!formatter) return;
    m_lastDialogController = formatter;
    formatter->show();
}

void ORVSettingController::openSettingFileDialog() {
    const std::optional<std::string> folderFile = folderSettingFile();
    const QString start = folderFile ? QString::fromStdString(*folderFile) : QDir::homePath();
    if (const std::optional<QString> chosen = m_parts.openDialog(this, start)) openSettingFile(*chosen);
}

void ORVSettingController::openSettingFile(const QString& path) {
    if (m_reading) return;
    const std::string file = path.toStdString();
    if (!isSettingsFile(file)) {
        showAlert(this, uiText(kAlertTitleWarn.key), uiText("setting.not_a_settings_file"));
        return;
    }
    m_openedSettingFile = file;
    m_SettingFilePath = file;
    resetFileData(m_FileData);
    updateWindowTitle();
    updateNoCardNotice();
    m_loadingSheet->showLoading(uiText("setting.loading"));
    readInBackground(file);
}

}  // namespace zentrova
