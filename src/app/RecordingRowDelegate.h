#pragma once

#include <QStyledItemDelegate>

class QFontMetrics;

namespace zentrova {

// Draws the rows of the recordings table. In the narrow side column the
// mode cell shows its image alone (its text stays the cell's text, in its
// tooltip), and a file name too long for its cell gives way in its middle,
// keeping its mode at the start and its side and extension at the end.
class RecordingRowDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    // "alwa_20190312_081500_F.MP4" in less room: "alwa_2019…_F.MP4".
    static QString elidedFileName(const QString& name, const QFontMetrics& metrics, int width);

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;
};

}  // namespace zentrova
