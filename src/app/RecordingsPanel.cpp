#include "app/RecordingsPanel.h"

#include "app/ORVMediaTableModel.h"
#include "controls/ScanningIndicator.h"
#include "controls/UiText.h"
#include "recordings/ORVMediaList.h"

#include <QHeaderView>
#include <QMenu>
#include <QStackedLayout>
#include <QTableView>

namespace zentrova {

RecordingsPanel::RecordingsPanel(QWidget* parent)
    : QWidget(parent), m_tableModel(new ORVMediaTableModel(this)) {
    setObjectName("mediaListScrollView");
    setAttribute(Qt::WA_StyledBackground, true);
    m_stack = new QStackedLayout(this);
    m_tableView = new QTableView(this);
    m_tableView->setObjectName("mediaListTableView");
    m_scanningIndicator = new ScanningIndicator(this);
    m_stack->addWidget(m_tableView);
    m_stack->addWidget(m_scanningIndicator);
    initMediaListTableView();
    connect(m_tableView, &QTableView::doubleClicked, this, &RecordingsPanel::recordingActivated);
    connect(m_tableView, &QTableView::activated, this, &RecordingsPanel::recordingActivated);
    m_tableView->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_tableView, &QTableView::customContextMenuRequested, this, &RecordingsPanel::showRowMenu);
}

RecordingsPanel::~RecordingsPanel() {
    // The list's scans must not report to a panel that is going away.
    if (m_list) m_list->setDelegate(nullptr);
}

void RecordingsPanel::watch(ORVMediaList& list) {
    if (m_list) m_list->setDelegate(nullptr);
    m_list = &list;
    list.setDelegate(this);
}

void RecordingsPanel::initMediaListTableView() {
    m_tableView->setModel(m_tableModel);
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
    table->setAlternatingRowColors(true);
    table->setShowGrid(false);
    table->setWordWrap(false);
    table->setIconSize(QSize(32, 20));
    table->verticalHeader()->hide();
    table->verticalHeader()->setDefaultSectionSize(26);
    table->horizontalHeader()->setHighlightSections(false);
    table->horizontalHeader()->setStretchLastSection(false);
    table->horizontalHeader()->setMinimumSectionSize(40);
}

void RecordingsPanel::updateTableColumnWithIndex(int index, const QString& title, const QString& identifier,
                                                 Qt::Alignment alignment) {
    m_tableModel->setHeaderData(index, Qt::Horizontal, title, Qt::DisplayRole);
    m_tableModel->setHeaderData(index, Qt::Horizontal, QVariant::fromValue(alignment), Qt::TextAlignmentRole);
    // The side column is narrow: the short columns fit their texts and the
    // file name keeps its whole width, reached by scrolling.
    Q_UNUSED(identifier);
    m_tableView->horizontalHeader()->setSectionResizeMode(index, QHeaderView::ResizeToContents);
}

void RecordingsPanel::beginScan() {
    m_tableModel->reload(nullptr);
    showScanning(true);
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
    showScanning(m_list->isScanning());
    emit listReloaded();
}

void RecordingsPanel::showScanning(bool scanning) {
    m_scanning = scanning;
    m_stack->setCurrentWidget(scanning ? static_cast<QWidget*>(m_scanningIndicator) : m_tableView);
}

void RecordingsPanel::showRowMenu(const QPoint& position) {
    const QModelIndex index = m_tableView->indexAt(position);
    if (!index.isValid()) return;
    selectRow(index.row());
    auto* menu = new QMenu(m_tableView);
    menu->setObjectName(QStringLiteral("recordingMenu"));
    menu->setAttribute(Qt::WA_DeleteOnClose);
    const std::int64_t row = index.row();
    connect(menu->addAction(uiText("menu.export_incident")), &QAction::triggered, this,
            [this, row] { emit incidentExportRequested(row); });
    menu->popup(m_tableView->viewport()->mapToGlobal(position));
}

std::int64_t RecordingsPanel::currentRow() const {
    const QModelIndex current = m_tableView->currentIndex();
    return current.isValid() ? current.row() : -1;
}

void RecordingsPanel::selectRow(std::int64_t row) {
    const QModelIndex index = m_tableModel->index(static_cast<int>(row), 0);
    if (!index.isValid()) return;
    m_tableView->selectRow(static_cast<int>(row));
    m_tableView->scrollTo(index);
}

}  // namespace zentrova
