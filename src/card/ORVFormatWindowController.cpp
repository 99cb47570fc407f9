#include "card/ORVFormatWindowController.h"

#include "card/CardFormatCommands.h"
#include "card/SizeText.h"
#include "card/UsbVolumes.h"
#include "card/VolumeSource.h"
#include "card/linux/LinuxCommandRunner.h"
#include "card/linux/SystemPrograms.h"
#include "card/linux/SystemVolumeSource.h"
#include "common/Log.h"
#include "common/linux/PosixAtomicFileWriter.h"
#include "controls/Alert.h"
#include "controls/AppWindow.h"
#include "controls/UiText.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QFutureWatcher>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QShortcut>
#include <QThreadPool>
#include <QTimer>
#include <QVBoxLayout>
#include <QtConcurrent/QtConcurrentRun>

namespace zentrova {
namespace {

constexpr int kProgressTickMs = 300;
constexpr double kProgressLimitSeconds = 1000.0;
constexpr std::uint64_t kSectorSize = 512;

QString qText(const std::string& text) { return QString::fromStdString(text); }

QLabel* captionLabel(const char* name, std::string_view key, QWidget* parent) {
    auto* label = new QLabel(uiText(key), parent);
    label->setObjectName(QString::fromLatin1(name));
    return label;
}

QLabel* valueField(const char* name, QWidget* parent) {
    auto* field = new QLabel(parent);
    field->setObjectName(QString::fromLatin1(name));
    field->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return field;
}

QString stepText(CardFormatWorker::Step step) {
    switch (step) {
    case CardFormatWorker::Step::Unmounting: return uiText("format.step.unmounting");
    case CardFormatWorker::Step::Formatting: return uiText("format.step.formatting");
    case CardFormatWorker::Step::Mounting: return uiText("format.step.mounting");
    case CardFormatWorker::Step::Completed: return uiText("format.step.completed");
    case CardFormatWorker::Step::Searching: return uiText("format.step.searching");
    }
    return {};
}

// The volume's description and one more line under it.
QString aboutVolume(const TKUSBDiskEntity& volume, const QString& line) {
    return fillText(QStringLiteral("%@\n%@"), qText(volume.displayString()), line);
}

QString failedFormatText(const TKUSBDiskEntity& volume, const ScriptErrorInfo& error) {
    // Status 1 is what the format tool ends with on a card it cannot write.
    if (error.errorNumber == 1) return aboutVolume(volume, uiText("msg.write_protected_disk"));
    return fillText(QStringLiteral("%@\nError:%@"), qText(volume.displayString()),
                    qText(error.errorMessage.value_or("")));
}

QString withSavedCopy(const CardFormatResult& result) {
    QString text = qText(result.reason);
    if (result.savedSettingsPath) {
        text += QLatin1Char('\n') + uiFormat("format.settings_kept_fmt", qText(*result.savedSettingsPath));
    }
    return text;
}

// For the log, which outlives a window closed meanwhile.
std::string resultName(CardFormatResult::Kind kind) {
    switch (kind) {
    case CardFormatResult::Kind::Formatted: return "formatted";
    case CardFormatResult::Kind::Refused: return "refused";
    case CardFormatResult::Kind::SettingsNotSaved: return "config.bin not kept aside, nothing run";
    case CardFormatResult::Kind::StillMounted: return "still mounted, not formatted";
    case CardFormatResult::Kind::FormatFailed: return "format failed";
    case CardFormatResult::Kind::CardNotFoundAgain: return "formatted, not found again";
    case CardFormatResult::Kind::SettingsNotPutBack: return "formatted, config.bin not put back";
    }
    return "ended";
}

// Runs on the main thread for as long as a worker needs it, whether the
// window is still there or not.
std::shared_ptr<QObject> makeRelay() {
    return std::shared_ptr<QObject>(new QObject, [](QObject* relay) { relay->deleteLater(); });
}

}  // namespace

ORVFormatWindowController::Services ORVFormatWindowController::Services::system() {
    Services services;
    services.volumes = makeSystemVolumeSource();
    services.runner = std::make_shared<LinuxCommandRunner>();
    services.writer = std::make_shared<PosixAtomicFileWriter>();
    services.mkfsProgram = findSystemProgram("mkfs.fat").value_or("");
    std::error_code ec;
    services.temporaryFolder = std::filesystem::temp_directory_path(ec);
    if (ec) services.temporaryFolder = "/tmp";
    return services;
}

ORVFormatWindowController::ORVFormatWindowController(QWidget* parent)
    : ORVFormatWindowController(Services::system(), parent) {}

ORVFormatWindowController::ORVFormatWindowController(Services services, QWidget* parent)
    : QWidget(parent, Qt::Window), m_services(std::move(services)) {
    setObjectName(QStringLiteral("ORVFormatWindowController"));
    prepareAppWindow(*this);
    buildWindow();
    windowDidLoad();
}

ORVFormatWindowController::~ORVFormatWindowController() = default;

void ORVFormatWindowController::buildWindow() {
    setWindowTitle(uiText("format.window_title"));
    auto* form = new QGridLayout;
    form->setHorizontalSpacing(16);
    form->setVerticalSpacing(10);
    m_usbDiskCombo = new QComboBox(this);
    m_usbDiskCombo->setObjectName(QStringLiteral("usbDiskCombo"));
    m_usbDiskCombo->setMinimumWidth(340);
    m_allocationUnitField = valueField("allocationUnitField", this);
    m_fileSystemField = valueField("fileSystemField", this);
    m_pathField = valueField("pathField", this);
    form->addWidget(captionLabel("usbDiskLabel", "format.card", this), 0, 0);
    form->addWidget(m_usbDiskCombo, 0, 1);
    form->addWidget(captionLabel("allocationUnitLabel", "setting.format.allocation_unit_size", this), 1, 0);
    form->addWidget(m_allocationUnitField, 1, 1);
    form->addWidget(captionLabel("fileSystemLabel", "setting.format.filesystem", this), 2, 0);
    form->addWidget(m_fileSystemField, 2, 1);
    form->addWidget(captionLabel("pathLabel", "format.device", this), 3, 0);
    form->addWidget(m_pathField, 3, 1);
    form->setColumnStretch(1, 1);

    m_progressBar = new QProgressBar(this);
    m_progressBar->setObjectName(QStringLiteral("progressBar"));
    m_progressBar->setTextVisible(false);
    m_progressBar->setFixedHeight(6);
    m_progressMessageField = new QLabel(this);
    m_progressMessageField->setObjectName(QStringLiteral("progressMessageField"));
    // Hidden progress keeps its place, so the window does not jump.
    for (QWidget* widget : {static_cast<QWidget*>(m_progressBar), static_cast<QWidget*>(m_progressMessageField)}) {
        QSizePolicy policy = widget->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        widget->setSizePolicy(policy);
    }

    m_formatButton = new QPushButton(uiText("setting.format.format"), this);
    m_formatButton->setObjectName(QStringLiteral("formatButton"));
    m_cancelButton = new QPushButton(uiText("cancel"), this);
    m_cancelButton->setObjectName(QStringLiteral("cancelButton"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_cancelButton);
    buttons->addWidget(m_formatButton);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 20, 24, 18);
    layout->setSpacing(12);
    layout->addLayout(form);
    layout->addSpacing(4);
    layout->addWidget(m_progressBar);
    layout->addWidget(m_progressMessageField);
    layout->addLayout(buttons);

    m_progressTimer = new QTimer(this);
    m_progressTimer->setInterval(kProgressTickMs);
    connect(m_progressTimer, &QTimer::timeout, this, [this] { updateProgressBar(kProgressLimitSeconds); });
    connect(m_usbDiskCombo, &QComboBox::activated, this, &ORVFormatWindowController::changeDisk);
    connect(m_formatButton, &QPushButton::clicked, this, &ORVFormatWindowController::onFormat);
    connect(m_cancelButton, &QPushButton::clicked, this, &ORVFormatWindowController::cancel);
    // Escape cancels, as in a dialog.
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this, &ORVFormatWindowController::cancel);
}

void ORVFormatWindowController::windowDidLoad() {
    centreInVisibleArea(*this);
    m_fileSystemField->setText(QStringLiteral("FAT32"));
    m_pathField->setText(QStringLiteral("-"));
    m_allocationUnitField->setText(QStringLiteral("-"));
    m_stopProgressBar = true;
    m_progressBar->hide();
    m_progressMessageField->hide();
    loadUSBVolumes();
}

void ORVFormatWindowController::loadUSBVolumes(std::function<void()> completion) {
    const bool opensBar = m_stopProgressBar;
    if (opensBar) {
        showProgressBar(uiText("format.step.searching"));
    } else {
        setProgressMessage(uiText("format.step.searching"));
    }
    m_searching = true;
    updateButtons();
    auto* watcher = new QFutureWatcher<std::vector<TKUSBDiskEntity>>(this);
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher, opensBar, completion] {
        watcher->deleteLater();
        m_searching = false;
        fillVolumes(watcher->result());
        if (opensBar) hideProgressBar();
        updateButtons();
        emit volumesLoaded();
        if (completion) completion();
    });
    watcher->setFuture(QtConcurrent::run([volumes = m_services.volumes] { return usbDiskEntities(*volumes); }));
}

void ORVFormatWindowController::fillVolumes(std::vector<TKUSBDiskEntity> volumes) {
    m_usbDiskArray = std::move(volumes);
    m_usbDiskCombo->clear();
    for (const TKUSBDiskEntity& volume : m_usbDiskArray) m_usbDiskCombo->addItem(qText(volume.displayString()));
    if (!m_usbDiskArray.empty()) m_usbDiskCombo->setCurrentIndex(0);
    updateSelectedDiskInfo();
}

std::optional<TKUSBDiskEntity> ORVFormatWindowController::selectedUSBDisk() const {
    const int index = m_usbDiskCombo->currentIndex();
    if (index < 0 || static_cast<std::size_t>(index) >= m_usbDiskArray.size()) return std::nullopt;
    return m_usbDiskArray[static_cast<std::size_t>(index)];
}

std::optional<TKUSBDiskEntity> ORVFormatWindowController::selectUSBByDevFile(const std::string& deviceName) {
    for (std::size_t i = 0; i < m_usbDiskArray.size(); ++i) {
        if (m_usbDiskArray[i].deviceFilePath() != deviceName) continue;
        m_usbDiskCombo->setCurrentIndex(static_cast<int>(i));
        return m_usbDiskArray[i];
    }
    return std::nullopt;
}

QString ORVFormatWindowController::allocationUnitText(std::uint64_t volumeSize) {
    const auto sectors = formatClusterArgument(volumeSize);
    if (!sectors) return QStringLiteral("-");
    return QStringLiteral("%1 KB").arg(static_cast<qulonglong>(*sectors) * kSectorSize / 1024);
}

void ORVFormatWindowController::updateSelectedDiskInfo() {
    const auto volume = selectedUSBDisk();
    if (!volume) {
        m_allocationUnitField->setText(QStringLiteral("-"));
        m_pathField->setText(QStringLiteral("-"));
        return;
    }
    m_pathField->setText(
        fillText(QStringLiteral("%@   %@"), qText(volume->deviceFilePath()), qText(volume->mountedURL())));
    m_allocationUnitField->setText(allocationUnitText(volume->volumeSize()));
}

void ORVFormatWindowController::changeDisk() { updateSelectedDiskInfo(); }

void ORVFormatWindowController::onFormat() {
    if (m_formatting || m_searching) return;
    const auto volume = selectedUSBDisk();
    if (!volume) {
        showAlert(this, uiText(kAlertTitleApplication.key),
                  uiText(m_usbDiskArray.empty() ? "format.no_drive" : "format.select_drive"));
        return;
    }
    if (!volume->writable()) {
        showAlert(this, uiText("msg.cannot_format"), aboutVolume(*volume, uiText("msg.write_protected_disk")));
        return;
    }
    askToErase(*volume);
}

QString ORVFormatWindowController::confirmationText(const TKUSBDiskEntity& volume) {
    return uiFormat("format.confirm_fmt", qText(volume.volumeName()), qText(sizeText(volume.volumeSize())),
                    qText(volume.deviceModel().value_or(volume.deviceFilePath())),
                    qText("/dev/" + volume.deviceFilePath()), qText(volume.mountedURL()));
}

// Erasing a card loses its recordings: nothing starts before the user
// has seen which card it is and agreed.
void ORVFormatWindowController::askToErase(const TKUSBDiskEntity& volume) {
    auto* question = new QMessageBox(this);
    question->setObjectName(QStringLiteral("formatConfirmation"));
    question->setAttribute(Qt::WA_DeleteOnClose);
    question->setIcon(QMessageBox::Warning);
    question->setWindowTitle(uiText("format.window_title"));
    question->setText(uiText("format.confirm_title"));
    question->setInformativeText(confirmationText(volume));
    QPushButton* erase = question->addButton(uiText("format.erase"), QMessageBox::DestructiveRole);
    erase->setObjectName(QStringLiteral("eraseButton"));
    QPushButton* keep = question->addButton(uiText("cancel"), QMessageBox::RejectRole);
    keep->setObjectName(QStringLiteral("keepButton"));
    question->setDefaultButton(keep);
    question->setEscapeButton(keep);
    question->setWindowModality(Qt::WindowModal);
    // Wide enough that the card's description reads in a few lines.
    question->setStyleSheet(QStringLiteral("QLabel#qt_msgbox_informativelabel { min-width: 440px; }"));
    connect(question, &QMessageBox::finished, this, [this, question, erase, volume] {
        if (question->clickedButton() == erase) doFormat(volume);
    });
    m_confirmation = question;
    question->open();
}

void ORVFormatWindowController::doFormat(const TKUSBDiskEntity& volume) {
    m_formatting = true;
    updateButtons();
    showProgressBar(uiText("format.formatting"));
    const std::shared_ptr<QObject> relay = makeRelay();
    QPointer<ORVFormatWindowController> self(this);
    QThreadPool::globalInstance()->start([relay, self, services = m_services, volume] {
        CardFormatWorker worker({*services.volumes, *services.runner, *services.writer, services.mkfsProgram,
                                 services.temporaryFolder});
        // Queued, never blocking: the steps keep their order, and a window
        // closed meanwhile or an application quitting never holds the card.
        const CardFormatResult result = worker.run(volume, [&](CardFormatWorker::Step step) {
            QMetaObject::invokeMethod(
                relay.get(), [self, step] { if (self) self->showStep(step); }, Qt::QueuedConnection);
        });
        logLine("format of " + volume.deviceFilePath() + ": " + resultName(result.kind) +
                (result.reason.empty() ? "" : " (" + result.reason + ")"));
        QMetaObject::invokeMethod(
            relay.get(), [self, volume, result] { if (self) self->formatDidFinish(volume, result); },
            Qt::QueuedConnection);
    });
}

void ORVFormatWindowController::showStep(CardFormatWorker::Step step) { setProgressMessage(stepText(step)); }

void ORVFormatWindowController::formatDidFinish(const TKUSBDiskEntity& volume, const CardFormatResult& result) {
    m_formatting = false;
    if (result.volumes) {
        fillVolumes(*result.volumes);
        selectUSBByDevFile(volume.deviceFilePath());
        updateSelectedDiskInfo();
    }
    hideProgressBar();
    updateButtons();
    // A window closed while the card was formatted comes back to say how it went.
    if (m_reopenWhenDone) {
        m_reopenWhenDone = false;
        show();
        raise();
    }
    showResult(volume, result);
    emit formatEnded(result.kind);
}

void ORVFormatWindowController::showResult(const TKUSBDiskEntity& volume, const CardFormatResult& result) {
    using Kind = CardFormatResult::Kind;
    switch (result.kind) {
    case Kind::Formatted:
        showAlertSheet(this, uiText("msg.format_complete"), qText(result.card.value_or(volume).displayString()),
                       [self = QPointer<ORVFormatWindowController>(this)] {
                           if (self) self->cancel();
                       });
        return;
    case Kind::FormatFailed:
        showAlert(this, uiText("msg.cannot_format"), failedFormatText(volume, result.formatError));
        return;
    case Kind::Refused:
    case Kind::SettingsNotSaved:
    case Kind::StillMounted:
        showAlert(this, uiText("msg.cannot_format"), aboutVolume(volume, qText(result.reason)));
        return;
    case Kind::CardNotFoundAgain:
    case Kind::SettingsNotPutBack:
        showAlert(this, uiText("format.copy_fail_title"), withSavedCopy(result));
        return;
    }
}

void ORVFormatWindowController::cancel() { close(); }

void ORVFormatWindowController::closeEvent(QCloseEvent* event) {
    // The format goes on to its end; the window only steps aside.
    if (m_formatting) {
        m_reopenWhenDone = true;
        hide();
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
}

void ORVFormatWindowController::showProgressBar(const QString& message) {
    m_progressBar->show();
    m_progressMessageField->show();
    m_progressBar->setRange(0, 0);
    m_stopProgressBar = false;
    m_progress = 0;
    setProgressMessage(message);
    m_progressTimer->start();
}

void ORVFormatWindowController::setProgressMessage(const QString& message) {
    m_progressMessageField->setText(message);
    emit progressMessageChanged(message);
}

// A bar that nobody hides goes by itself once the limit has passed.
void ORVFormatWindowController::updateProgressBar(double limitSeconds) {
    m_progress += 100.0 / (limitSeconds / (kProgressTickMs / 1000.0));
    if (m_progress >= 100.0 || m_stopProgressBar) {
        m_progressTimer->stop();
        m_progressBar->hide();
        m_progressMessageField->hide();
        m_stopProgressBar = true;
    }
}

void ORVFormatWindowController::hideProgressBar() {
    m_progressBar->hide();
    m_progressMessageField->hide();
    m_stopProgressBar = true;
    m_progressTimer->stop();
}

QString ORVFormatWindowController::progressMessage() const { return m_progressMessageField->text(); }

bool ORVFormatWindowController::isProgressBarShown() const { return !m_stopProgressBar; }

void ORVFormatWindowController::updateButtons() {
    const bool busy = m_formatting || m_searching;
    m_formatButton->setEnabled(!busy);
    m_usbDiskCombo->setEnabled(!busy);
}

}  // namespace zentrova
