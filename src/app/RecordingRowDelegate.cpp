#include "app/RecordingRowDelegate.h"

#include "app/ORVMediaTableModel.h"

#include <QFontMetrics>

namespace zentrova {
namespace {

// Room the style leaves around a cell's text (its item padding and margins).
constexpr int kTextMargins = 14;

}  // namespace

QString RecordingRowDelegate::elidedFileName(const QString& name, const QFontMetrics& metrics, int width) {
    if (metrics.horizontalAdvance(name) <= width) return name;
    const QString ellipsis(QChar(0x2026));
    const qsizetype lastPart = name.lastIndexOf(QLatin1Char('_'));
    const QString end = lastPart > 0 ? name.mid(lastPart) : name.right(6);
    const int roomForStart = width - metrics.horizontalAdvance(end) - metrics.horizontalAdvance(ellipsis);
    if (roomForStart <= 0) return metrics.elidedText(name, Qt::ElideLeft, width);
    qsizetype kept = 0;
    while (kept < name.size() - end.size() && metrics.horizontalAdvance(name.left(kept + 1)) <= roomForStart) ++kept;
    return name.left(kept) + ellipsis + end;
}

void RecordingRowDelegate::initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const {
    QStyledItemDelegate::initStyleOption(option, index);
    if (index.column() == ORVMediaTableModel::FileColumn) {
        option->text = elidedFileName(option->text, option->fontMetrics, option->rect.width() - kTextMargins);
        return;
    }
    if (index.column() != ORVMediaTableModel::SaveModeColumn || option->icon.isNull()) return;
    option->text.clear();
    option->features &= ~QStyleOptionViewItem::HasDisplay;
    option->decorationAlignment = Qt::AlignCenter;
    option->decorationPosition = QStyleOptionViewItem::Top;
}

}  // namespace zentrova
