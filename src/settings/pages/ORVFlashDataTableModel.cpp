#include "settings/pages/ORVFlashDataTableModel.h"

#include <limits>

namespace zentrova {

ORVFlashDataTableModel::ORVFlashDataTableModel(QObject* parent) : QAbstractTableModel(parent) {}

void ORVFlashDataTableModel::setRecords(std::vector<FLASH_SAVE_VALUE_STRUCT> records) {
    beginResetModel();
    m_table.setRecords(std::move(records));
    endResetModel();
}

// A view counts rows in an int; a log longer than that shows its first ones.
int ORVFlashDataTableModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid()) return 0;
    return static_cast<int>(std::min<std::int64_t>(m_table.flashDataNum(), std::numeric_limits<int>::max()));
}

int ORVFlashDataTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : FlashDataTable::kColumnCount;
}

QVariant ORVFlashDataTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    if (role == Qt::DisplayRole) {
        return QString::fromStdString(m_table.stringForColumnIndex(index.column(), index.row()));
    }
    if (role == Qt::TextAlignmentRole) return QVariant::fromValue(Qt::Alignment(Qt::AlignRight | Qt::AlignVCenter));
    return {};
}

QVariant ORVFlashDataTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal) return QAbstractTableModel::headerData(section, orientation, role);
    if (role == Qt::DisplayRole) return QString::fromStdString(FlashDataTable::columnTitle(section));
    if (role == Qt::TextAlignmentRole) return QVariant::fromValue(Qt::Alignment(Qt::AlignCenter));
    return {};
}

Qt::ItemFlags ORVFlashDataTableModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

}  // namespace zentrova
