#include "app/ORVMediaTableModel.h"

#include "controls/ImageLibrary.h"
#include "controls/UiText.h"
#include "common/Localization.h"

#include <QColor>
#include <QSet>

namespace zentrova {
namespace {

struct ColumnSpec {
    TextKey titleKey;
    const char* identifier;
    Qt::Alignment alignment;
};

const ColumnSpec kColumns[ORVMediaTableModel::ColumnCount] = {
    {TextKey{"filelist.mode"}, "saveMode", Qt::AlignCenter},
    {TextKey{"filelist.date"}, "date", Qt::AlignCenter},
    {TextKey{"filelist.time"}, "time", Qt::AlignCenter},
    {TextKey{"filelist.file"}, "file", Qt::AlignLeft | Qt::AlignVCenter},
};

// The mark of the other side: the selection's colour, faint.
const QColor kMarkedRowColour(25, 181, 200, 48);

}  // namespace

ORVMediaTableModel::ORVMediaTableModel(QObject* parent)
    : QAbstractTableModel(parent), m_snapshot(std::make_shared<ORVMediaListSnapshot>()) {
    for (const ColumnSpec& column : kColumns) {
        m_columnNames << uiText(column.titleKey.key);
        m_headerAlignments << column.alignment;
    }
    m_cellFont.setPointSize(11);
}

void ORVMediaTableModel::reload(std::shared_ptr<const ORVMediaListSnapshot> snapshot) {
    beginResetModel();
    m_snapshot = snapshot ? std::move(snapshot) : std::make_shared<ORVMediaListSnapshot>();
    m_markedRow = -1;
    endResetModel();
}

QStringList ORVMediaTableModel::dates() const {
    QStringList dates;
    QSet<QString> seen;
    for (const auto& media : m_snapshot->medias()) {
        const QString date = QString::fromStdString(media->dateText());
        if (date.isEmpty() || seen.contains(date)) continue;
        seen.insert(date);
        dates << date;
    }
    return dates;
}

// The list keeps a recording's two files next to each other.
int ORVMediaTableModel::rowOfOtherSide(int row) const {
    const std::shared_ptr<ORVMedia> media = mediaAtIndex(row);
    if (!media) return -1;
    const std::shared_ptr<ORVMediaPair> pair = m_snapshot->findMediaPairWithFileName(media->mediaName());
    if (!pair) return -1;
    const std::shared_ptr<ORVMedia> other = media->isRearMedia() ? pair->frontMedia : pair->rearMedia;
    if (!other || other == media) return -1;
    for (int neighbour : {row - 1, row + 1}) {
        if (mediaAtIndex(neighbour) == other) return neighbour;
    }
    return -1;
}

void ORVMediaTableModel::setMarkedRow(int row) {
    if (row == m_markedRow) return;
    const int before = m_markedRow;
    m_markedRow = row;
    for (int changed : {before, row}) {
        if (changed >= 0 && changed < rowCount()) emit dataChanged(index(changed, 0), index(changed, ColumnCount - 1));
    }
}

std::shared_ptr<ORVMedia> ORVMediaTableModel::mediaAtIndex(int row) const {
    if (row < 0) return nullptr;
    return m_snapshot->mediaAtIndex(static_cast<size_t>(row));
}

QString ORVMediaTableModel::columnIdentifier(int column) {
    if (column < 0 || column >= ColumnCount) return QString();
    return QString::fromLatin1(kColumns[column].identifier);
}

Qt::Alignment ORVMediaTableModel::columnAlignment(int column) {
    if (column < 0 || column >= ColumnCount) return Qt::AlignLeft;
    return kColumns[column].alignment;
}

int ORVMediaTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_snapshot->count());
}

int ORVMediaTableModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : ColumnCount; }

QVariant ORVMediaTableModel::displayText(const ORVMedia& media, int column) const {
    switch (column) {
    case SaveModeColumn: return QString::fromStdString(media.modeText());
    case DateColumn: return QString::fromStdString(media.dateText());
    case TimeColumn: return QString::fromStdString(media.timeText());
    case FileColumn: return QString::fromStdString(media.fileName());
    default: return QVariant();
    }
}

QIcon ORVMediaTableModel::modeIcon(const ORVMedia& media) const {
    const QString name = QString::fromStdString(media.modeIconName());
    if (name.isEmpty()) return QIcon();
    auto cached = m_iconCache.find(name);
    if (cached != m_iconCache.end()) return *cached;
    QIcon icon = ImageLibrary::icon(name);
    m_iconCache.insert(name, icon);
    return icon;
}

QVariant ORVMediaTableModel::data(const QModelIndex& index, int role) const {
    std::shared_ptr<ORVMedia> media = mediaAtIndex(index.row());
    if (!media || index.column() >= ColumnCount) return QVariant();
    switch (role) {
    case Qt::DisplayRole: return displayText(*media, index.column());
    case Qt::DecorationRole:
        if (index.column() == SaveModeColumn) {
            QIcon icon = modeIcon(*media);
            if (!icon.isNull()) return icon;
        }
        return QVariant();
    case Qt::FontRole: return m_cellFont;
    case Qt::BackgroundRole: return index.row() == m_markedRow ? QVariant(kMarkedRowColour) : QVariant();
    case Qt::TextAlignmentRole: return QVariant::fromValue(columnAlignment(index.column()));
    case Qt::ToolTipRole:
        // The mode cell may show its image alone: its tooltip names the mode.
        if (index.column() == SaveModeColumn) {
            return QString::fromStdString(media->modeText()) + QLatin1Char('\n') + QString::fromStdString(media->path());
        }
        return QString::fromStdString(media->path());
    case Qt::UserRole: return columnIdentifier(index.column());
    default: return QVariant();
    }
}

QVariant ORVMediaTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= ColumnCount) return QVariant();
    switch (role) {
    case Qt::DisplayRole: return m_columnNames.value(section);
    case Qt::TextAlignmentRole: return QVariant::fromValue(m_headerAlignments.value(section));
    // The header's tag is its column index.
    case Qt::UserRole: return section;
    default: return QVariant();
    }
}

bool ORVMediaTableModel::setHeaderData(int section, Qt::Orientation orientation, const QVariant& value, int role) {
    if (orientation != Qt::Horizontal || section < 0 || section >= ColumnCount) return false;
    if (role == Qt::DisplayRole) {
        m_columnNames[section] = value.toString();
    } else if (role == Qt::TextAlignmentRole) {
        m_headerAlignments[section] = value.value<Qt::Alignment>();
    } else {
        return false;
    }
    emit headerDataChanged(orientation, section, section);
    return true;
}

}  // namespace zentrova
