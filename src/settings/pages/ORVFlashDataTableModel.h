#pragma once

#include "records/FlashDataTable.h"

#include <QAbstractTableModel>

namespace zentrova {

// The drive-log records as the 15 columns of the table view: the cell
// texts of FlashDataTable, right-aligned, under centred titles.
class ORVFlashDataTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit ORVFlashDataTableModel(QObject* parent = nullptr);

    const FlashDataTable& table() const { return m_table; }
    // The records and their count change together, and the view is told once.
    void setRecords(std::vector<FLASH_SAVE_VALUE_STRUCT> records);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    FlashDataTable m_table;
};

}  // namespace zentrova
