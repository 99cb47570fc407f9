#include "settings/pages/ORVSettingForFlashDataViewController.h"

#include "common/Log.h"
#include "common/linux/FileChecks.h"
#include "common/linux/PosixAtomicFileWriter.h"
#include "controls/Alert.h"
#include "controls/FilePanels.h"
#include "controls/ProgressSheet.h"
#include "controls/UiText.h"
#include "playback/ORVMapWindowController.h"
#include "records/FlashDataCsv.h"
#include "records/FlashDataFile.h"
#include "settings/pages/ORVFlashDataTableModel.h"

#include <QEvent>
#include <QFontMetrics>
#include <QFileInfo>
#include <QFutureWatcher>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>
#include <QtConcurrent/QtConcurrentRun>

#include <algorithm>

namespace zentrova {
namespace {

constexpr int kSavedAlertDelayMs = 500;
constexpr int kCellFontPoints = 11;

struct ReadOutcome {
    // Absent when the file could not be read or was refused.
    std::optional<FlashDataContents> contents;
    // Why the file could not be read, in the system's words.
    std::string reason;
    FlashDataRefusal refusal = FlashDataRefusal::None;
    std::uint32_t declaredCount = 0;
};

ReadOutcome readDriveLog(const std::string& path) {
    ReadOutcome outcome;
    outcome.contents = FlashDataFile::doReadFlashDataFile(path);
    if (!outcome.contents) {
        outcome.reason = unreadableFileReason(path).value_or("");
    } else if (outcome.contents->refusal != FlashDataRefusal::None) {
        // A refused file has no records to show: the rows shown stay.
        outcome.refusal = outcome.contents->refusal;
        outcome.declaredCount = outcome.contents->declaredCount;
        outcome.contents.reset();
    }
    return outcome;
}

QString qText(const std::string& text) { return QString::fromStdString(text); }

QString failureReason(const ReadOutcome& outcome) {
    switch (outcome.refusal) {
    case FlashDataRefusal::TooManyRecords:
        return uiFormat("records.drv_too_many_fmt", QString::number(outcome.declaredCount),
                        QString::number(FlashDataFile::kMostRecords));
    case FlashDataRefusal::OutOfMemory: return uiText("records.drv_out_of_memory");
    case FlashDataRefusal::None: break;
    }
    return qText(outcome.reason);
}

}  // namespace

ORVSettingForFlashDataViewController::Services ORVSettingForFlashDataViewController::Services::system() {
    Services services;
    services.writer = std::make_shared<PosixAtomicFileWriter>();
    services.openPanel = [](QWidget* parent) {
        return chooseOpenFile(parent, uiText("records.open_title"), uiText("records.drv_type"));
    };
    services.savePanel = [](QWidget* parent) {
        return chooseSaveFile(parent, uiText("records.export_title"), QStringLiteral("zentrova_000"),
                              QStringLiteral("csv"), uiText("records.csv_type"));
    };
    return services;
}

ORVSettingForFlashDataViewController::ORVSettingForFlashDataViewController(QWidget* parent)
    : ORVSettingForFlashDataViewController(Services::system(), parent) {}

ORVSettingForFlashDataViewController::ORVSettingForFlashDataViewController(Services services, QWidget* parent)
    : ORVSettingControllerDelegate(parent), m_services(std::move(services)) {
    setObjectName(QStringLiteral("ORVSettingForFlashDataViewController"));
    buildPage();
}

ORVSettingForFlashDataViewController::~ORVSettingForFlashDataViewController() { dropMapWindow(); }

void ORVSettingForFlashDataViewController::buildPage() {
    m_model = new ORVFlashDataTableModel(this);
    m_tableView = new QTableView(this);
    m_tableView->setObjectName(QStringLiteral("tableView"));
    m_tableView->setModel(m_model);
    m_tableView->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_tableView->setSelectionMode(QAbstractItemView::SingleSelection);
    m_tableView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_tableView->setAlternatingRowColors(true);
    m_tableView->verticalHeader()->hide();
    m_tableView->horizontalHeader()->setHighlightSections(false);
    QFont cells = m_tableView->font();
    cells.setPointSize(kCellFontPoints);
    m_tableView->setFont(cells);
    m_tableView->verticalHeader()->setDefaultSectionSize(QFontMetrics(cells).height() + 6);
    m_tableView->viewport()->installEventFilter(this);
    m_tableView->installEventFilter(this);
    connect(m_tableView->horizontalHeader(), &QHeaderView::sectionDoubleClicked, this,
            [this] { doubleClickTableRow(-1); });
    makeColumns();

    m_fileField = new QLabel(this);
    m_fileField->setObjectName(QStringLiteral("fileField"));
    m_fileField->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_openButton = new QPushButton(uiText("open"), this);
    m_openButton->setObjectName(QStringLiteral("openButton"));
    m_exportButton = new QPushButton(uiText("export"), this);
    m_exportButton->setObjectName(QStringLiteral("exportButton"));
    connect(m_openButton, &QPushButton::clicked, this, &ORVSettingForFlashDataViewController::openFileDialog);
    connect(m_exportButton, &QPushButton::clicked, this, &ORVSettingForFlashDataViewController::onSaveCSVFile);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_fileField, 1);
    buttons->addWidget(m_openButton);
    buttons->addWidget(m_exportButton);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(8);
    layout->addWidget(m_tableView, 1);
    layout->addLayout(buttons);
    setBusy(false);
}

void ORVSettingForFlashDataViewController::makeColumns() {
    m_columnNames.clear();
    m_columnWidths.clear();
    for (int column = 0; column < FlashDataTable::kColumnCount; ++column) {
        m_columnNames << qText(FlashDataTable::columnTitle(column));
        m_columnWidths << FlashDataTable::columnWidth(column);
    }
    fitColumns();
}

// The widths are in points (1/72 inch), but a text wider than its column
// widens it: titles and cells are never cut. The cells' formats have fixed
// widths, so the first rows tell.
void ORVSettingForFlashDataViewController::fitColumns() {
    constexpr int kRowsMeasured = 200;
    constexpr int kPadding = 18;
    const double pixelsPerPoint = m_tableView->logicalDpiX() / 72.0;
    const QFontMetrics cells(m_tableView->font());
    const QFontMetrics titles(m_tableView->horizontalHeader()->font());
    const auto rows = std::min<std::int64_t>(flashDataNum(), kRowsMeasured);
    for (int column = 0; column < FlashDataTable::kColumnCount; ++column) {
        int width = static_cast<int>(m_columnWidths[column] * pixelsPerPoint);
        width = std::max(width, titles.horizontalAdvance(m_columnNames[column]) + kPadding);
        for (std::int64_t row = 0; row < rows; ++row) {
            width = std::max(width, cells.horizontalAdvance(stringForColumnIndex(column, row)) + kPadding);
        }
        m_tableView->setColumnWidth(column, width);
    }
}

ORVMapWindowController* ORVSettingForFlashDataViewController::mapWindowController() const {
    return m_mapWindowController;
}

std::int64_t ORVSettingForFlashDataViewController::flashDataNum() const { return m_model->table().flashDataNum(); }

QString ORVSettingForFlashDataViewController::stringForColumnIndex(int column, std::int64_t row) const {
    return qText(m_model->table().stringForColumnIndex(column, row));
}

void ORVSettingForFlashDataViewController::displayFileData() {
    if (!m_firstLoad) return;
    m_firstLoad = false;
    if (m_FlashDataFilePath && QFileInfo::exists(*m_FlashDataFilePath)) loadFlashDataFile();
}

bool ORVSettingForFlashDataViewController::storeFileData(FILEDATA&) { return true; }

void ORVSettingForFlashDataViewController::openFileDialog() {
    dropMapWindow();
    if (m_busy) return;
    const QString chosen = m_services.openPanel ? m_services.openPanel(this) : QString();
    if (chosen.isEmpty()) return;
    m_FlashDataFilePath = chosen;
    loadFlashDataFile();
}

void ORVSettingForFlashDataViewController::loadFlashDataFile() {
    if (!m_FlashDataFilePath || m_busy) return;
    const QString path = *m_FlashDataFilePath;
    setBusy(true);
    showLoading(uiText("records.loading"));
    auto* watcher = new QFutureWatcher<ReadOutcome>(this);
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher, path] {
        watcher->deleteLater();
        ReadOutcome outcome = watcher->result();
        const bool complete = outcome.contents && outcome.contents->isComplete();
        // The new records and their count replace the old ones in one step,
        // before the view looks at them again.
        if (outcome.contents) {
            m_model->setRecords(std::move(outcome.contents->records));
            m_fileField->setText(path);
            fitColumns();
        }
        hideLoading();
        setBusy(false);
        if (!outcome.contents) {
            showAlert(window(), uiText(kAlertTitleWarn.key),
                      uiFormat("records.drv_open_fail_fmt", path, failureReason(outcome)));
        } else if (!complete) {
            showAlert(window(), uiText(kAlertTitleWarn.key),
                      uiFormat("records.drv_incomplete_fmt", path, QString::number(flashDataNum()),
                               QString::number(outcome.contents->declaredCount)));
        }
        emit fileLoaded();
    });
    watcher->setFuture(QtConcurrent::run(readDriveLog, path.toStdString()));
}

void ORVSettingForFlashDataViewController::doubleClickTableRow(int row) {
    logLine("rowNum=" + std::to_string(row));
    const auto position = m_model->table().positionForRow(row);
    if (!position) return;
    if (!m_mapWindowController) {
        m_mapWindowController = new ORVMapWindowController(this);
        m_mapWindowController->show();
        m_mapWindowController->moveWindowRightBy(window()->frameGeometry());
    } else {
        m_mapWindowController->show();
        m_mapWindowController->raise();
    }
    if (position->isOnMap()) m_mapWindowController->updateMapLat(position->latitude, position->longitude);
}

bool ORVSettingForFlashDataViewController::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_tableView->viewport() && event->type() == QEvent::MouseButtonDblClick) {
        const auto* click = static_cast<QMouseEvent*>(event);
        if (click->button() == Qt::LeftButton) {
            doubleClickTableRow(m_tableView->rowAt(click->position().toPoint().y()));
            return true;
        }
    }
    if (watched == m_tableView && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && m_tableView->currentIndex().isValid()) {
            doubleClickTableRow(m_tableView->currentIndex().row());
            return true;
        }
    }
    return ORVSettingControllerDelegate::eventFilter(watched, event);
}

void ORVSettingForFlashDataViewController::onSaveCSVFile() {
    dropMapWindow();
    if (m_busy || flashDataNum() <= 0) return;
    const QString path = m_services.savePanel ? m_services.savePanel(this) : QString();
    if (path.isEmpty()) return;
    setBusy(true);
    showLoading(uiText("records.saving"));
    auto* watcher = new QFutureWatcher<FileSaveResult>(this);
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher, path] {
        watcher->deleteLater();
        const FileSaveResult saved = watcher->result();
        hideLoading();
        setBusy(false);
        if (!saved.saved()) {
            showAlert(window(), uiText(kAlertTitleWarn.key),
                      uiFormat("records.csv_failed_fmt", path, uiText(*saved.errorKey), qText(saved.reason)));
        } else {
            QTimer::singleShot(kSavedAlertDelayMs, this, [this] {
                showAlert(window(), uiText(kAlertTitleApplication.key), uiText("msg.saved"));
            });
        }
        emit csvSaved(saved.saved());
    });
    // The worker writes its own copy: the records may be replaced meanwhile.
    watcher->setFuture(QtConcurrent::run([table = m_model->table(), path = path.toStdString(),
                                          writer = m_services.writer] {
        return FlashDataCsv::doWriteCSVFile(table, path, *writer);
    }));
}

void ORVSettingForFlashDataViewController::dropMapWindow() {
    if (!m_mapWindowController) return;
    m_mapWindowController->close();
    m_mapWindowController->deleteLater();
    m_mapWindowController = nullptr;
}

void ORVSettingForFlashDataViewController::showLoading(const QString& title) {
    if (m_loadingSheet.show) return m_loadingSheet.show(title);
    // Made for each use: the page may have moved into another window.
    if (m_ownSheet) m_ownSheet->deleteLater();
    m_ownSheet = new ProgressSheet(window());
    m_ownSheet->setMessage(title);
    m_ownSheet->setBusy();
    m_ownSheet->showSheet();
}

void ORVSettingForFlashDataViewController::hideLoading() {
    if (m_loadingSheet.hide) return m_loadingSheet.hide();
    if (!m_ownSheet) return;
    m_ownSheet->closeSheet();
    m_ownSheet->deleteLater();
}

void ORVSettingForFlashDataViewController::setBusy(bool busy) {
    m_busy = busy;
    m_openButton->setEnabled(!busy);
    m_exportButton->setEnabled(!busy && flashDataNum() > 0);
}

}  // namespace zentrova
