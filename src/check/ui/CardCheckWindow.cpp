#include "check/ui/CardCheckWindow.h"

#include "card/TimeSetFile.h"
#include "check/ClockFix.h"
#include "check/ui/CardCheckRun.h"
#include "check/ui/CardCheckSections.h"
#include "common/linux/PosixAtomicFileWriter.h"
#include "controls/Alert.h"
#include "controls/UiText.h"
#include "controls/WindowLook.h"

#include <QCloseEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QShortcut>
#include <QStyledItemDelegate>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace zentrova {
namespace {

constexpr QSize kWindowSize(980, 640);

// The section lists and their tabs in the windows' dark look.
const char* const kSectionRules = R"css(
QTreeView { background: #181b1f; alternate-background-color: #1d2126; color: #dfe4ea; border: 1px solid #2e333b;
            selection-background-color: #19b5c8; selection-color: #0d1013; }
QTreeView::item { padding: 2px 4px; }
QTabWidget::pane { border: none; }
QTabBar { qproperty-drawBase: 0; }
QTabBar::tab { background: #23272e; color: #aab3bd; padding: 6px 14px; border: 1px solid #2e333b;
               border-bottom: none; margin-right: 2px; }
QTabBar::tab:selected { background: #2e333b; color: #dfe4ea; }
QProgressBar { background: #23272e; border: none; border-radius: 4px; }
QProgressBar::chunk { background: #19b5c8; border-radius: 4px; }
)css";

// Rows as high as their text wrapped to the column's width: the tree view
// itself sizes rows by unwrapped text.
class WrappingDelegate : public QStyledItemDelegate {
public:
    explicit WrappingDelegate(QTreeView* view) : QStyledItemDelegate(view), m_view(view) {}

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        QStyleOptionViewItem item(option);
        initStyleOption(&item, index);
        const int width = std::max(40, m_view->header()->sectionSize(index.column()) - 2 * kTextMargin);
        const QRect wrapped = item.fontMetrics.boundingRect(QRect(0, 0, width, 1 << 20), Qt::TextWordWrap, item.text);
        size.setHeight(std::max(size.height(), wrapped.height() + 2 * kTextMargin));
        return size;
    }

private:
    static constexpr int kTextMargin = 4;
    QTreeView* m_view;
};

QString systemFolderChooser(QWidget* parent) {
    return QFileDialog::getExistingDirectory(parent, uiText("check_window.choose_title"), QString(),
                                             QFileDialog::ShowDirsOnly | QFileDialog::DontResolveSymlinks);
}

QPushButton* makeButton(QWidget* parent, const char* name, std::string_view textKey) {
    auto* button = new QPushButton(uiText(textKey), parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    return button;
}

}  // namespace

CardCheckWindow::CardCheckWindow(QWidget* parent, Parts parts)
    : QWidget(parent, Qt::Window), m_parts(std::move(parts)), m_run(new CardCheckRun(this)) {
    if (!m_parts.writer) m_parts.writer = std::make_shared<PosixAtomicFileWriter>();
    if (!m_parts.now) m_parts.now = [] { return std::chrono::system_clock::now(); };
    if (!m_parts.chooseFolder) m_parts.chooseFolder = systemFolderChooser;
    setObjectName(QStringLiteral("cardCheckWindow"));
    setWindowTitle(uiText("check_window.title"));
    resize(kWindowSize);
    setMinimumSize(760, 480);
    applyWindowLook(*this);
    setStyleSheet(styleSheet() + QString::fromLatin1(kSectionRules));
    buildLayout();
    connect(m_run, &CardCheckRun::progressed, this, &CardCheckWindow::showProgress);
    connect(m_run, &CardCheckRun::finished, this, &CardCheckWindow::showReport);
    showRunning(false);
    showClockOffers();
}

CardCheckWindow::~CardCheckWindow() = default;

void CardCheckWindow::buildLayout() {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 14, 16, 14);
    layout->setSpacing(10);

    auto* folderRow = new QHBoxLayout();
    m_folderLabel = new QLabel(uiText("check_window.no_folder"), this);
    m_folderLabel->setObjectName(QStringLiteral("cardCheckFolderLabel"));
    m_folderLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_chooseButton = makeButton(this, "cardCheckChooseButton", "check_window.choose");
    m_runButton = makeButton(this, "cardCheckRunButton", "check_window.check_again");
    folderRow->addWidget(m_folderLabel, 1);
    folderRow->addWidget(m_chooseButton);
    folderRow->addWidget(m_runButton);
    layout->addLayout(folderRow);

    auto* progressRow = new QHBoxLayout();
    m_progressBar = new QProgressBar(this);
    m_progressBar->setObjectName(QStringLiteral("cardCheckProgress"));
    m_progressBar->setTextVisible(false);
    m_progressBar->setFixedHeight(8);
    m_progressLabel = new QLabel(this);
    m_progressLabel->setObjectName(QStringLiteral("cardCheckProgressLabel"));
    m_progressLabel->setMinimumWidth(260);
    m_cancelButton = makeButton(this, "cardCheckCancelButton", "check_window.cancel");
    progressRow->addWidget(m_progressBar, 1);
    progressRow->addWidget(m_progressLabel);
    progressRow->addWidget(m_cancelButton);
    layout->addLayout(progressRow);

    m_summaryLabel = new QLabel(this);
    m_summaryLabel->setObjectName(QStringLiteral("cardCheckSummaryLabel"));
    m_summaryLabel->setWordWrap(true);
    QFont bold = m_summaryLabel->font();
    bold.setBold(true);
    m_summaryLabel->setFont(bold);
    layout->addWidget(m_summaryLabel);
    layout->addWidget(buildClockBox());

    m_sections = new QTabWidget(this);
    m_sections->setObjectName(QStringLiteral("cardCheckSections"));
    m_sections->setDocumentMode(true);
    m_findings = addSection("cardCheckFindings", "check_window.tab.findings",
                            {"check_window.column.severity", "check_window.column.subject", "check_window.column.finding"});
    // The sentences are the point of this list: whole, over as many lines as they need.
    m_findings->setWordWrap(true);
    m_findings->setUniformRowHeights(false);
    m_findings->setRootIsDecorated(false);
    m_findings->setTextElideMode(Qt::ElideNone);
    m_findings->setItemDelegate(new WrappingDelegate(m_findings));
    // The rows' heights follow the sentence column's width.
    connect(m_findings->header(), &QHeaderView::sectionResized, m_findings, [this] { m_findings->doItemsLayout(); });
    m_recordings = addSection("cardCheckRecordings", "check_window.tab.recordings",
                              {"check_window.column.recording", "check_window.column.mode", "check_window.column.sides",
                               "check_window.column.length", "check_window.column.plays",
                               "check_window.column.telemetry", "check_window.column.fixes",
                               "check_window.column.clock"});
    m_days = addSection("cardCheckDays", "check_window.tab.days",
                        {"check_window.column.day", "check_window.column.recordings", "check_window.column.from",
                         "check_window.column.to", "check_window.column.length", "check_window.column.note"});
    m_clock = addSection("cardCheckClock", "check_window.tab.clock",
                         {"check_window.column.item", "check_window.column.value"});
    m_settings = addSection("cardCheckSettings", "check_window.tab.settings",
                            {"check_window.column.item", "check_window.column.value"});
    m_space = addSection("cardCheckSpace", "check_window.tab.space",
                         {"check_window.column.item", "check_window.column.used", "check_window.column.files",
                          "check_window.column.share", "check_window.column.of_share"});
    for (QTreeWidget* flat : {m_settings, m_space}) flat->setRootIsDecorated(false);
    layout->addWidget(m_sections, 1);

    connect(m_chooseButton, &QPushButton::clicked, this, &CardCheckWindow::chooseAndCheck);
    connect(m_runButton, &QPushButton::clicked, this, [this] { checkFolder(m_directory); });
    connect(m_cancelButton, &QPushButton::clicked, this, &CardCheckWindow::cancelCheck);
    auto* closeKeys = new QShortcut(QKeySequence::Close, this);
    connect(closeKeys, &QShortcut::activated, this, &QWidget::close);
}

QWidget* CardCheckWindow::buildClockBox() {
    auto* box = new QWidget(this);
    auto* row = new QHBoxLayout(box);
    row->setContentsMargins(0, 0, 0, 0);
    m_clockLabel = new QLabel(box);
    m_clockLabel->setObjectName(QStringLiteral("cardCheckClockLabel"));
    m_clockLabel->setWordWrap(true);
    m_setClockButton = makeButton(box, "cardCheckSetClockButton", "check_window.set_clock");
    m_openSettingsButton = makeButton(box, "cardCheckOpenSettingsButton", "check_window.open_settings");
    row->addWidget(m_clockLabel, 1);
    row->addWidget(m_setClockButton, 0, Qt::AlignTop);
    row->addWidget(m_openSettingsButton, 0, Qt::AlignTop);
    connect(m_setClockButton, &QPushButton::clicked, this, &CardCheckWindow::confirmClockFix);
    connect(m_openSettingsButton, &QPushButton::clicked, this, &CardCheckWindow::settingsRequested);
    return box;
}

QTreeWidget* CardCheckWindow::addSection(const char* name, std::string_view titleKey,
                                         std::initializer_list<std::string_view> columns) {
    auto* list = new QTreeWidget(m_sections);
    list->setObjectName(QString::fromLatin1(name));
    QStringList headers;
    for (std::string_view column : columns) headers << uiText(column);
    list->setHeaderLabels(headers);
    list->setRootIsDecorated(true);
    list->setAlternatingRowColors(true);
    list->setUniformRowHeights(true);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->header()->setStretchLastSection(true);
    m_sections->addTab(list, uiText(titleKey));
    return list;
}

void CardCheckWindow::checkFolder(const QString& directory) {
    if (directory.isEmpty() || m_run->isRunning()) return;
    m_directory = directory;
    m_folderLabel->setText(uiFormat("check_window.folder_fmt", directory));
    if (!m_run->start(directory, m_parts.makeLister)) return;
    showRunning(true);
    showProgress(0, 0, QString());
}

void CardCheckWindow::cancelCheck() {
    if (!m_run->isRunning()) return;
    m_run->cancel();
    m_cancelButton->setEnabled(false);
    m_progressLabel->setText(uiText("check_window.cancelling"));
}

bool CardCheckWindow::isChecking() const { return m_run->isRunning(); }

void CardCheckWindow::showRunning(bool running) {
    m_progressBar->setVisible(running);
    m_progressLabel->setVisible(running);
    m_cancelButton->setVisible(running);
    m_cancelButton->setEnabled(running);
    m_chooseButton->setEnabled(!running);
    m_runButton->setEnabled(!running && !m_directory.isEmpty());
}

void CardCheckWindow::showProgress(qulonglong done, qulonglong total, const QString&) {
    if (total == 0) {
        m_progressBar->setRange(0, 0);
        m_progressLabel->setText(uiText("check_window.listing"));
        return;
    }
    m_progressBar->setRange(0, static_cast<int>(std::min<qulonglong>(total, 1'000'000)));
    m_progressBar->setValue(static_cast<int>(std::min(done, total)));
    m_progressLabel->setText(uiFormat("check_window.progress_fmt", QString::number(done), QString::number(total)));
}

void CardCheckWindow::showReport(std::shared_ptr<const CardCheckReport> report) {
    m_report = std::move(report);
    showRunning(false);
    m_summaryLabel->setText(CardCheckSections::summaryText(*m_report));
    CardCheckSections::fillFindings(*m_findings, *m_report);
    CardCheckSections::fillRecordings(*m_recordings, *m_report);
    CardCheckSections::fillDays(*m_days, *m_report);
    CardCheckSections::fillClock(*m_clock, *m_report);
    CardCheckSections::fillSettings(*m_settings, *m_report);
    CardCheckSections::fillSpace(*m_space, *m_report);
    showClockOffers();
    emit checkFinished();
}

void CardCheckWindow::showClockOffers() {
    const bool shown = m_report != nullptr;
    m_clockLabel->setText(shown ? CardCheckSections::clockText(*m_report) : QString());
    m_clockLabel->setVisible(shown);
    m_setClockButton->setVisible(shown && ClockFix::isOffered(*m_report));
    m_openSettingsButton->setVisible(shown && m_report->complete && m_report->clock.verdict == ClockVerdict::TimeZone);
}

void CardCheckWindow::chooseAndCheck() {
    const QString chosen = m_parts.chooseFolder(this);
    if (!chosen.isEmpty()) checkFolder(chosen);
}

void CardCheckWindow::confirmClockFix() {
    if (!m_report || !ClockFix::isOffered(*m_report)) return;
    const auto offset = ClockFix::cardOffsetMinutes(*m_report);
    const QString path = QString::fromStdString(ClockFix::filePath(*m_report));
    const QString zone = offset ? QString::fromStdString(m_report->settings.timeZone()->describe())
                                : uiText("check_window.computer_zone");
    const QString message =
        uiFormat(QFileInfo::exists(path) ? "check_window.set_clock_replace_fmt" : "check_window.set_clock_new_fmt",
                 zone, path);
    showQuestionSheet(this, uiText("check_window.set_clock_title"), message, uiText("check_window.set_clock_write"),
                      [this](bool accepted) {
                          if (accepted) writeClockFile();
                      });
}

void CardCheckWindow::writeClockFile() {
    if (!m_report) return;
    const std::string path = ClockFix::filePath(*m_report);
    const auto text = ClockFix::textAt(m_parts.now(), ClockFix::cardOffsetMinutes(*m_report));
    if (!text) {
        showAlert(this, uiText("check_window.set_clock_title"), uiText("check_window.set_clock_bad_time"));
        return;
    }
    const FileSaveResult saved = TimeSetFile::doWriteConfigFile(path, *text, *m_parts.writer);
    const QString file = QString::fromStdString(path);
    if (!saved.saved()) {
        showAlert(this, uiText("check_window.set_clock_title"),
                  uiFormat("check_window.set_clock_failed_fmt", file, QString::fromStdString(saved.reason)));
        return;
    }
    QMessageBox* done = showAlert(this, uiText("check_window.set_clock_title"),
                                  uiFormat("check_window.set_clock_done_fmt", file, QString::fromStdString(*text)));
    done->setIcon(QMessageBox::Information);
}

// A running check is stopped, not waited for: its report is dropped with the window.
void CardCheckWindow::closeEvent(QCloseEvent* event) {
    m_run->cancel();
    QWidget::closeEvent(event);
}

}  // namespace zentrova
