#include "card/ORVTimeSetupController.h"

#include "card/TimeSetFile.h"
#include "card/UsbVolumes.h"
#include "card/linux/SystemVolumeSource.h"
#include "common/linux/PosixAtomicFileWriter.h"
#include "controls/Alert.h"
#include "controls/AppWindow.h"
#include "controls/FilePanels.h"
#include "controls/TKClockTimePicker.h"
#include "controls/UiText.h"

#include <QCalendarWidget>
#include <QCheckBox>
#include <QFutureWatcher>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QPointer>
#include <QPushButton>
#include <QShortcut>
#include <QSignalBlocker>
#include <QTimeEdit>
#include <QTimer>
#include <QVBoxLayout>
#include <QtConcurrent/QtConcurrentRun>

#include <filesystem>

namespace zentrova {
namespace {

constexpr int kUncheckDelayMs = 200;

QString fullDate(const QDate& date) { return QLocale().toString(date, QLocale::LongFormat); }

QString mediumDate(const QDate& date) { return QLocale().toString(date, QStringLiteral("MMM d, yyyy")); }

// Seconds matter in the file, milliseconds do not exist there.
QTime toTheSecond(const QTime& time) { return QTime(time.hour(), time.minute(), time.second()); }

QString defaultSavePanel(QWidget* parent) {
    return chooseSaveFile(parent, uiText("time.save_title"), QStringLiteral("timeset"), QStringLiteral("cfg"),
                          uiText("time.file_type"));
}

}  // namespace

ORVTimeSetupController::Services ORVTimeSetupController::Services::system() {
    Services services;
    services.volumes = makeSystemVolumeSource();
    services.writer = std::make_shared<PosixAtomicFileWriter>();
    services.savePanel = defaultSavePanel;
    services.now = [] { return QDateTime::currentDateTime(); };
    return services;
}

ORVTimeSetupController::ORVTimeSetupController(QWidget* parent)
    : ORVTimeSetupController(Services::system(), parent) {}

ORVTimeSetupController::ORVTimeSetupController(Services services, QWidget* parent)
    : QWidget(parent, Qt::Window), m_services(std::move(services)) {
    setObjectName(QStringLiteral("ORVTimeSetupController"));
    prepareAppWindow(*this);
    buildWindow();
    onInitDIalog();
    centreInVisibleArea(*this);
}

void ORVTimeSetupController::buildWindow() {
    setWindowTitle(uiText("time.window_title"));
    m_datePicker = new QCalendarWidget(this);
    m_datePicker->setObjectName(QStringLiteral("datePicker"));
    m_datePicker->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    m_datePicker->setGridVisible(false);
    // The years the camera's clock and files can hold.
    m_datePicker->setDateRange(QDate(TimeSetFile::kEarliestYear, 1, 1), QDate(TimeSetFile::kLatestYear, 12, 31));
    m_timePicker = new QTimeEdit(this);
    m_timePicker->setObjectName(QStringLiteral("timePicker"));
    m_timePicker->setDisplayFormat(QStringLiteral("HH:mm:ss"));
    m_timePicker->setAlignment(Qt::AlignCenter);
    m_clockTimePicker = new TKClockTimePicker(this);
    m_clockTimePicker->setObjectName(QStringLiteral("clockTimePicker"));
    m_clockTimePicker->setFixedSize(180, 180);
    m_dateField = new QLabel(this);
    m_dateField->setObjectName(QStringLiteral("dateField"));
    QFont dateFont = m_dateField->font();
    dateFont.setPointSizeF(dateFont.pointSizeF() * 1.15);
    dateFont.setBold(true);
    m_dateField->setFont(dateFont);
    m_nowDaySettingChk = new QCheckBox(this);
    m_nowDaySettingChk->setObjectName(QStringLiteral("nowDaySettingChk"));
    m_targetField = new QLabel(this);
    m_targetField->setObjectName(QStringLiteral("targetField"));
    m_targetField->setWordWrap(true);
    m_saveButton = new QPushButton(this);
    m_saveButton->setObjectName(QStringLiteral("saveButton"));
    m_saveButton->setDefault(true);
    m_cancelButton = new QPushButton(this);
    m_cancelButton->setObjectName(QStringLiteral("cancelButton"));

    auto* clockColumn = new QVBoxLayout;
    clockColumn->addWidget(m_clockTimePicker, 0, Qt::AlignHCenter);
    clockColumn->addWidget(m_timePicker, 0, Qt::AlignHCenter);
    clockColumn->addStretch(1);
    auto* pickers = new QHBoxLayout;
    pickers->setSpacing(20);
    pickers->addWidget(m_datePicker, 1);
    pickers->addLayout(clockColumn);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_cancelButton);
    buttons->addWidget(m_saveButton);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(22, 18, 22, 16);
    layout->setSpacing(10);
    layout->addLayout(pickers);
    layout->addWidget(m_dateField);
    layout->addWidget(m_nowDaySettingChk);
    layout->addWidget(m_targetField);
    layout->addLayout(buttons);

    connect(m_datePicker, &QCalendarWidget::selectionChanged, this, &ORVTimeSetupController::daySelectedFromPicker);
    connect(m_timePicker, &QTimeEdit::timeChanged, this, &ORVTimeSetupController::timeSelectedFromPicker);
    connect(m_clockTimePicker, &TKClockTimePicker::timeEdited, this,
            &ORVTimeSetupController::timeSelectedFromClickTimePicker);
    connect(m_nowDaySettingChk, &QCheckBox::clicked, this, [this](bool checked) {
        if (checked) nowDayChecked();
    });
    connect(m_saveButton, &QPushButton::clicked, this, &ORVTimeSetupController::onSaveConfigFile);
    connect(m_cancelButton, &QPushButton::clicked, this, &ORVTimeSetupController::onCloseCmd);
    // Escape cancels, as in a dialog.
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this, &ORVTimeSetupController::onCloseCmd);
}

void ORVTimeSetupController::onInitDIalog() {
    loadSettingFile();
    const QDateTime now = m_services.now();
    m_selectedDate = now.date();
    m_selectedTime = toTheSecond(now.time());
    {
        const QSignalBlocker blockDate(m_datePicker);
        const QSignalBlocker blockTime(m_timePicker);
        m_datePicker->setSelectedDate(m_selectedDate);
        m_timePicker->setTime(m_selectedTime);
    }
    m_clockTimePicker->setTime(m_selectedTime);
    showDate();
    m_nowDaySettingChk->setText(fillText(QStringLiteral("%@(%@)"), uiText("today"), mediumDate(m_selectedDate)));
    m_saveButton->setText(uiText("save"));
    m_cancelButton->setText(uiText("cancel"));
}

// The card is looked for once, when the window opens; Save waits for the
// answer, which decides where the file goes.
void ORVTimeSetupController::loadSettingFile() {
    m_searching = true;
    m_saveButton->setEnabled(false);
    showTarget();
    auto* watcher = new QFutureWatcher<std::optional<std::string>>(this);
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher] {
        watcher->deleteLater();
        m_searching = false;
        if (const auto card = watcher->result()) {
            m_SettingFilePath = QString::fromStdString((std::filesystem::path(*card) / kFileName).string());
        }
        m_saveButton->setEnabled(true);
        showTarget();
        emit cardSearchFinished();
    });
    watcher->setFuture(
        QtConcurrent::run([volumes = m_services.volumes] { return usbVolumeURLWithFile(*volumes, kFileName); }));
}

void ORVTimeSetupController::showDate() { m_dateField->setText(fullDate(m_selectedDate)); }

void ORVTimeSetupController::showTarget() {
    if (m_searching) {
        m_targetField->setText(uiText("time.searching_card"));
    } else if (m_SettingFilePath) {
        m_targetField->setText(uiFormat("time.target_card_fmt", *m_SettingFilePath));
    } else {
        m_targetField->setText(uiText("time.target_dialog"));
    }
}

void ORVTimeSetupController::daySelectedFromPicker() {
    m_selectedDate = m_datePicker->selectedDate();
    showDate();
}

void ORVTimeSetupController::timeSelectedFromPicker() {
    m_selectedTime = toTheSecond(m_timePicker->time());
    m_clockTimePicker->setTime(m_selectedTime);
}

void ORVTimeSetupController::timeSelectedFromClickTimePicker() {
    m_selectedTime = m_clockTimePicker->time();
    const QSignalBlocker block(m_timePicker);
    m_timePicker->setTime(m_selectedTime);
}

// A one-shot button: today's date, the chosen time kept.
void ORVTimeSetupController::nowDayChecked() {
    m_selectedDate = m_services.now().date();
    showDate();
    m_nowDaySettingChk->setText(fillText(QStringLiteral("%@(%@)"), uiText("today"), mediumDate(m_selectedDate)));
    {
        const QSignalBlocker block(m_datePicker);
        m_datePicker->setSelectedDate(m_selectedDate);
    }
    QTimer::singleShot(kUncheckDelayMs, this, [this] { m_nowDaySettingChk->setChecked(false); });
}

std::optional<std::string> ORVTimeSetupController::timeSetText() const {
    return TimeSetFile::timeSetText(
        LocalDate{m_selectedDate.year(), m_selectedDate.month(), m_selectedDate.day()},
        LocalTime{m_selectedTime.hour(), m_selectedTime.minute(), m_selectedTime.second()});
}

QString ORVTimeSetupController::openSavePanel() {
    return m_services.savePanel ? m_services.savePanel(this) : QString();
}

bool ORVTimeSetupController::doWriteConfigFile(const QString& path) {
    const auto text = timeSetText();
    if (!text) {
        showAlert(this, uiText(kAlertTitleWarn.key), uiText("time.date_out_of_range"));
        return false;
    }
    const FileSaveResult saved = TimeSetFile::doWriteConfigFile(path.toStdString(), *text, *m_services.writer);
    if (!saved.saved()) {
        showAlert(this, uiText(kAlertTitleWarn.key),
                  uiFormat("time.filesave_failed_fmt", path, uiText(*saved.errorKey), QString::fromStdString(saved.reason)));
        return false;
    }
    return true;
}

void ORVTimeSetupController::onSaveConfigFile() {
    if (m_searching) return;
    QString path = m_SettingFilePath.value_or(QString());
    if (path.isEmpty()) {
        path = openSavePanel();
        if (path.isEmpty()) return;
    }
    if (!doWriteConfigFile(path)) return;
    emit fileSaved(path);
    showAlertSheet(this, uiText(kAlertTitleApplication.key), uiText("time.filesave"),
                   [self = QPointer<ORVTimeSetupController>(this)] {
                       if (self) self->onCloseCmd();
                   });
}

void ORVTimeSetupController::onCloseCmd() { close(); }

}  // namespace zentrova
