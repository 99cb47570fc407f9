#pragma once

#include <QStringList>
#include <QWidget>

#include <cstdint>
#include <optional>

#include "recordings/ORVMedia.h"
#include "recordings/ORVMediaListDelegate.h"

class QComboBox;
class QLabel;
class QStackedLayout;
class QTableView;

namespace zentrova {

class ORVMediaList;
class ORVMediaTableModel;
class RecordingsFilterModel;
class ScanningIndicator;

// The recordings table of the side column, with its model, and the
// scanning indicator that stands in for it while a card is scanned. It is
// the list's delegate: a finished scan reloads the table on the main thread.
// Over the table a mode filter and a jump to a date, under it the count of
// files listed; the other side of the selected recording is marked faintly.
// Rows are told by their place in the list, whatever the filter shows.
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
    // The selected row of the list, -1 for none (or one the filter hides).
    std::int64_t currentRow() const;
    void selectRow(std::int64_t row);

    // Only the rows of one mode, or all of them.
    void setModeFilter(std::optional<ORVMediaDivision> mode);
    // Selects the first row of that date ("yyyy-mm-dd") the filter shows,
    // at the top of the table; false when there is none.
    bool jumpToDate(const QString& date);
    QString footerText() const;
    // "6 files", "120 of 15 000 files", with " — limit reached" when the
    // walk stopped at its limit.
    static QString footerTextFor(int shown, int total, bool limitReached);

    void mediaListChanged(ORVMediaList& list) override;

signals:
    // Double-clicked or Enter on a row.
    void recordingActivated();
    // After the table has been reloaded from a finished scan.
    void listReloaded();
    // "Export incident..." in a row's context menu.
    void incidentExportRequested(std::int64_t row);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* buildFilterBar();
    void initMediaListTableView();
    void updateTableColumnWithIndex(int index, const QString& title, const QString& identifier,
                                    Qt::Alignment alignment);
    void reloadFromList();
    void showScanning(bool scanning);
    void showRowMenu(const QPoint& position);
    void fillDateJump();
    void updateFooter();
    void markOtherSide();
    void showFocus(bool focused);

    ORVMediaList* m_list = nullptr;
    ORVMediaTableModel* m_tableModel = nullptr;
    RecordingsFilterModel* m_filterModel = nullptr;
    QTableView* m_tableView = nullptr;
    ScanningIndicator* m_scanningIndicator = nullptr;
    QStackedLayout* m_stack = nullptr;
    QComboBox* m_modeFilterCombo = nullptr;
    QComboBox* m_dateJumpCombo = nullptr;
    QLabel* m_footerLabel = nullptr;
    QStringList m_columnNames;
    bool m_scanning = false;
};

}  // namespace zentrova
