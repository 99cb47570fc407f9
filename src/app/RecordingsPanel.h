#pragma once

#include <QStringList>
#include <QWidget>

#include <cstdint>

#include "recordings/ORVMediaListDelegate.h"

class QStackedLayout;
class QTableView;

namespace zentrova {

class ORVMediaList;
class ORVMediaTableModel;
class ScanningIndicator;

// The recordings table of the side column, with its model, and the
// scanning indicator that stands in for it while a card is scanned. It is
// the list's delegate: a finished scan reloads the table on the main thread.
class RecordingsPanel : public QWidget, public ORVMediaListDelegate {
    Q_OBJECT
public:
    explicit RecordingsPanel(QWidget* parent = nullptr);
    ~RecordingsPanel() override;

    // Becomes the list's delegate until the panel goes.
    void watch(ORVMediaList& list);
    // The rows give way to the scanning indicator until the scan reports.
    void beginScan();
    bool isScanning() const { return m_scanning; }

    ORVMediaTableModel* tableModel() const { return m_tableModel; }
    QTableView* tableView() const { return m_tableView; }
    const QStringList& columnNames() const { return m_columnNames; }
    // The selected row, -1 for none.
    std::int64_t currentRow() const;
    void selectRow(std::int64_t row);

    void mediaListChanged(ORVMediaList& list) override;

signals:
    // Double-clicked or Enter on a row.
    void recordingActivated();
    // After the table has been reloaded from a finished scan.
    void listReloaded();
    // "Export incident..." in a row's context menu.
    void incidentExportRequested(std::int64_t row);

private:
    void initMediaListTableView();
    void updateTableColumnWithIndex(int index, const QString& title, const QString& identifier,
                                    Qt::Alignment alignment);
    void reloadFromList();
    void showScanning(bool scanning);
    void showRowMenu(const QPoint& position);

    ORVMediaList* m_list = nullptr;
    ORVMediaTableModel* m_tableModel = nullptr;
    QTableView* m_tableView = nullptr;
    ScanningIndicator* m_scanningIndicator = nullptr;
    QStackedLayout* m_stack = nullptr;
    QStringList m_columnNames;
    bool m_scanning = false;
};

}  // namespace zentrova
