#include "app/RecordingsPanel.h"

#include "app/ORVMediaTableModel.h"
#include "app/RecordingRowDelegate.h"
#include "app/RecordingsFilterModel.h"
#include "controls/ScanningIndicator.h"
#include "controls/UiText.h"
#include "recordings/ORVMediaList.h"

#include <QComboBox>
#include <QEvent>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QMenu>
#include <QStackedLayout>
#include <QStyle>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

namespace zentrova {
namespace {

// Thousands apart by a space that never breaks: "15 000".
QString groupedCount(int count) {
    QString digits = QString::number(count);
    for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3) digits.insert(at, QChar(0x00A0));
    return digits;
}

QString filesText(int count) {
    return count == 1 ? uiText("filelist.footer.one_file") : uiFormat("filelist.footer.files_fmt", groupedCount(count));
}

}  // namespace

RecordingsPanel::RecordingsPanel(QWidget* parent)
    : QWidget(parent), m_tableModel(new ORVMediaTableModel(this)), m_filterModel(new RecordingsFilterModel(this)) {
    setObjectName("mediaListScrollView");
    setAttribute(Qt::WA_StyledBackground, true);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(buildFilterBar());

    auto* stacked = new QWidget(this);
    m_stack = new QStackedLayout(stacked);
    m_tableView = new QTableView(stacked);
    m_tableView->setObjectName("mediaListTableView");
    m_scanningIndicator = new ScanningIndicator(stacked);
    m_stack->addWidget(m_tableView);
    m_stack->addWidget(m_scanningIndicator);
    column->addWidget(stacked, 1);

    m_footerLabel = new QLabel(this);
    m_footerLabel->setObjectName("mediaListFooterLabel");
    column->addWidget(m_footerLabel);

    initMediaListTableView();
    connect(m_tableView, &QTableView::doubleClicked, this, &RecordingsPanel::recordingActivated);
    connect(m_tableView, &QTableView::activated, this, &RecordingsPanel::recordingActivated);
    m_tableView->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_tableView, &QTableView::customContextMenuRequested, this, &RecordingsPanel::showRowMenu);
    updateFooter();
}

RecordingsPanel::~RecordingsPanel() {
    // The list's scans must not report to a panel that is going away.
    if (m_list) m_list->setDelegate(nullptr);
    // The view goes before the models it shows, which were made first.
    delete m_tableView;
}

QWidget* RecordingsPanel::buildFilterBar() {
    auto* bar = new QWidget(this);
    bar->setObjectName("mediaListFilterBar");
    auto* row = new QHBoxLayout(bar);
    row->setContentsMargins(6, 4, 6, 4);
    row->setSpacing(6);

    m_modeFilterCombo = new QComboBox(bar);
    m_modeFilterCombo->setObjectName("modeFilterCombo");
    m_modeFilterCombo->setToolTip(uiText("filelist.filter.tooltip"));
    m_modeFilterCombo->addItem(uiText("filelist.filter.all"));
    for (ORVMediaDivision mode : {ORVMediaDivisionAlways, ORVMediaDivisionMotion, ORVMediaDivisionEvent}) {
        m_modeFilterCombo->addItem(uiText(mediaDivisionLabelKey(mode).key), static_cast<int>(mode));
    }
    connect(m_modeFilterCombo, &QComboBox::activated, this, [this](int item) {
        const QVariant mode = m_modeFilterCombo->itemData(item);
        setModeFilter(mode.isValid() ? std::optional(static_cast<ORVMediaDivision>(mode.toInt())) : std::nullopt);
    });

    m_dateJumpCombo = new QComboBox(bar);
    m_dateJumpCombo->setObjectName("dateJumpCombo");
    m_dateJumpCombo->setToolTip(uiText("filelist.jump.tooltip"));
    connect(m_dateJumpCombo, &QComboBox::activated, this, [this](int item) {
        if (item > 0) jumpToDate(m_dateJumpCombo->itemText(item));
        // Back to its title: the choice was a move, not a state.
        m_dateJumpCombo->setCurrentIndex(0);
    });
    row->addWidget(m_modeFilterCombo, 1);
    row->addWidget(m_dateJumpCombo, 1);
    fillDateJump();
    return bar;
}

void RecordingsPanel::watch(ORVMediaList& list) {
    if (m_list) m_list->setDelegate(nullptr);
    m_list = &list;
    list.setDelegate(this);
}

void RecordingsPanel::initMediaListTableView() {
    m_filterModel->setSourceModel(m_tableModel);
    m_tableView->setModel(m_filterModel);
    m_tableView->setItemDelegate(new RecordingRowDelegate(m_tableView));
    for (int column = 0; column < ORVMediaTableModel::ColumnCount; ++column) {
        const QString title = m_tableModel->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
        m_columnNames << title;
        updateTableColumnWithIndex(column, title, ORVMediaTableModel::columnIdentifier(column),
                                   ORVMediaTableModel::columnAlignment(column));
    }
    QTableView* table = m_tableView;
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Tab leaves the table for the play controls instead of walking its cells.
    table->setTabKeyNavigation(false);
    table->setAlternatingRowColors(true);
    table->setShowGrid(false);
    table->setWordWrap(false);
    table->setIconSize(QSize(32, 20));
    // The side column is narrow: the file name gives way in its middle,
    // keeping its mode and side, rather than the table scrolling sideways.
    table->setTextElideMode(Qt::ElideMiddle);
    table->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    table->verticalHeader()->hide();
    table->verticalHeader()->setDefaultSectionSize(26);
    table->horizontalHeader()->setHighlightSections(false);
    table->horizontalHeader()->setMinimumSectionSize(40);
    // Queued: the current row also changes while the filter takes rows
    // away, when the models must not be told of other changes.
    connect(table->selectionModel(), &QItemSelectionModel::currentChanged, this, &RecordingsPanel::markOtherSide,
            Qt::QueuedConnection);
    table->installEventFilter(this);
    showFocus(false);
}

void RecordingsPanel::updateTableColumnWithIndex(int index, const QString& title, const QString& identifier,
                                                 Qt::Alignment alignment) {
    m_tableModel->setHeaderData(index, Qt::Horizontal, title, Qt::DisplayRole);
    m_tableModel->setHeaderData(index, Qt::Horizontal, QVariant::fromValue(alignment), Qt::TextAlignmentRole);
    // The short columns are as wide as their widest text (the image for
    // the mode); the file name takes what is left.
    QHeaderView* header = m_tableView->horizontalHeader();
    const QFontMetrics cells(m_tableModel->cellFont());
    const int margin = 12;
    int width = 0;
    if (identifier == QLatin1String("saveMode")) width = m_tableView->iconSize().width() + margin;
    if (identifier == QLatin1String("date")) width = cells.horizontalAdvance(QStringLiteral("0000-00-00")) + margin;
    if (identifier == QLatin1String("time")) width = cells.horizontalAdvance(QStringLiteral("00:00:00")) + margin;
    if (width == 0) {
        header->setSectionResizeMode(index, QHeaderView::Stretch);
        return;
    }
    header->setSectionResizeMode(index, QHeaderView::Fixed);
    header->resizeSection(index, std::max(width, header->fontMetrics().horizontalAdvance(title) + margin));
}

void RecordingsPanel::beginScan() {
    m_tableModel->reload(nullptr);
    fillDateJump();
    showScanning(true);
    updateFooter();
}

void RecordingsPanel::mediaListChanged(ORVMediaList&) {
    // Queued rather than blocking: the scan calls this while the list's
    // notice lock is held, and the main thread may be waiting for that lock
    // in a new setDirectoryPath(). The table takes the finished snapshot.
    QMetaObject::invokeMethod(this, &RecordingsPanel::reloadFromList, Qt::QueuedConnection);
}

void RecordingsPanel::reloadFromList() {
    if (!m_list) return;
    m_tableModel->reload(m_list->snapshot());
    fillDateJump();
    showScanning(m_list->isScanning());
    updateFooter();
    emit listReloaded();
}

void RecordingsPanel::showScanning(bool scanning) {
    m_scanning = scanning;
    m_stack->setCurrentWidget(scanning ? static_cast<QWidget*>(m_scanningIndicator) : m_tableView);
}

void RecordingsPanel::showRowMenu(const QPoint& position) {
    const QModelIndex shown = m_tableView->indexAt(position);
    if (!shown.isValid()) return;
    // The list's row, not the row among those the filter shows.
    const std::int64_t row = m_filterModel->mapToSource(shown).row();
    selectRow(row);
    auto* menu = new QMenu(m_tableView);
    menu->setObjectName(QStringLiteral("recordingMenu"));
    menu->setAttribute(Qt::WA_DeleteOnClose);
    connect(menu->addAction(uiText("menu.export_incident")), &QAction::triggered, this,
            [this, row] { emit incidentExportRequested(row); });
    menu->popup(m_tableView->viewport()->mapToGlobal(position));
}

void RecordingsPanel::fillDateJump() {
    m_dateJumpCombo->clear();
    m_dateJumpCombo->addItem(uiText("filelist.jump.title"));
    m_dateJumpCombo->addItems(m_tableModel->dates());
    m_dateJumpCombo->setEnabled(m_dateJumpCombo->count() > 1);
}

void RecordingsPanel::setModeFilter(std::optional<ORVMediaDivision> mode) {
    const std::int64_t selected = currentRow();
    m_filterModel->setModeFilter(mode);
    const int item = mode ? m_modeFilterCombo->findData(static_cast<int>(*mode)) : 0;
    m_modeFilterCombo->setCurrentIndex(item);
    // The row chosen before stays chosen while it is shown.
    if (selected >= 0) selectRow(selected);
    updateFooter();
}

bool RecordingsPanel::jumpToDate(const QString& date) {
    for (int row = 0; row < m_filterModel->rowCount(); ++row) {
        const QModelIndex shown = m_filterModel->index(row, 0);
        const std::shared_ptr<ORVMedia> media = m_tableModel->mediaAtIndex(m_filterModel->mapToSource(shown).row());
        if (!media || QString::fromStdString(media->dateText()) != date) continue;
        m_tableView->setCurrentIndex(shown);
        m_tableView->selectRow(row);
        m_tableView->scrollTo(shown, QAbstractItemView::PositionAtTop);
        m_tableView->setFocus(Qt::OtherFocusReason);
        return true;
    }
    return false;
}

QString RecordingsPanel::footerTextFor(int shown, int total, bool limitReached) {
    if (total == 0) return uiText("filelist.footer.none");
    QString text = shown == total ? filesText(total) : uiFormat("filelist.footer.shown_fmt", groupedCount(shown), filesText(total));
    if (limitReached) text = uiFormat("filelist.footer.limit_fmt", text);
    return text;
}

void RecordingsPanel::updateFooter() {
    if (m_scanning) {
        m_footerLabel->clear();
        return;
    }
    const bool limit = m_tableModel->reachedFileLimit();
    m_footerLabel->setText(footerTextFor(m_filterModel->rowCount(), m_tableModel->rowCount(), limit));
    m_footerLabel->setToolTip(limit ? uiText("filelist.footer.limit_tooltip") : QString());
}

QString RecordingsPanel::footerText() const { return m_footerLabel->text(); }

std::int64_t RecordingsPanel::currentRow() const {
    const QModelIndex current = m_tableView->currentIndex();
    return current.isValid() ? m_filterModel->mapToSource(current).row() : -1;
}

void RecordingsPanel::selectRow(std::int64_t row) {
    const QModelIndex shown = m_filterModel->mapFromSource(m_tableModel->index(static_cast<int>(row), 0));
    if (!shown.isValid()) {
        m_tableView->clearSelection();
        return;
    }
    m_tableView->selectRow(shown.row());
    m_tableView->scrollTo(shown);
}

void RecordingsPanel::markOtherSide() {
    const std::int64_t row = currentRow();
    m_tableModel->setMarkedRow(row < 0 ? -1 : m_tableModel->rowOfOtherSide(static_cast<int>(row)));
}

bool RecordingsPanel::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_tableView && (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut)) {
        showFocus(event->type() == QEvent::FocusIn);
    }
    return QWidget::eventFilter(watched, event);
}

// The table's selection is bright and framed while its keys are the
// table's (Up and Down move the selection), muted otherwise.
void RecordingsPanel::showFocus(bool focused) {
    m_tableView->setProperty("focused", focused);
    m_tableView->style()->unpolish(m_tableView);
    m_tableView->style()->polish(m_tableView);
}

}  // namespace zentrova
