#pragma once

#include <QAbstractTableModel>
#include <QFont>
#include <QHash>
#include <QIcon>

#include <memory>

#include "recordings/ORVMediaListSnapshot.h"

namespace zentrova {

// The recordings table: one row per file of the snapshot it was last given.
// It holds its own snapshot, so a scan running meanwhile never changes the
// rows under the view.
class ORVMediaTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { SaveModeColumn = 0, DateColumn = 1, TimeColumn = 2, FileColumn = 3, ColumnCount = 4 };

    explicit ORVMediaTableModel(QObject* parent = nullptr);

    void reload(std::shared_ptr<const ORVMediaListSnapshot> snapshot);
    std::shared_ptr<ORVMedia> mediaAtIndex(int row) const;
    bool reachedFileLimit() const { return m_snapshot->reachedFileLimit(); }
    // The dates of the rows, each once, in the rows' order.
    QStringList dates() const;
    // The row of the other file of row's recording (front for rear and
    // back), -1 when the card has none.
    int rowOfOtherSide(int row) const;
    // A row shown faintly marked (the other side of the one selected); -1 for none.
    void setMarkedRow(int row);
    int markedRow() const { return m_markedRow; }

    const QFont& cellFont() const { return m_cellFont; }
    static QString columnIdentifier(int column);
    static Qt::Alignment columnAlignment(int column);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    bool setHeaderData(int section, Qt::Orientation orientation, const QVariant& value, int role) override;

private:
    QVariant displayText(const ORVMedia& media, int column) const;
    QIcon modeIcon(const ORVMedia& media) const;

    std::shared_ptr<const ORVMediaListSnapshot> m_snapshot;
    QStringList m_columnNames;
    QList<Qt::Alignment> m_headerAlignments;
    QFont m_cellFont;
    mutable QHash<QString, QIcon> m_iconCache;
    int m_markedRow = -1;
};

}  // namespace zentrova
