#include "app/RecordingsFilterModel.h"

#include "app/ORVMediaTableModel.h"

namespace zentrova {

void RecordingsFilterModel::setModeFilter(std::optional<ORVMediaDivision> mode) {
    if (mode == m_mode) return;
    m_mode = mode;
    invalidateFilter();
}

bool RecordingsFilterModel::filterAcceptsRow(int sourceRow, const QModelIndex&) const {
    if (!m_mode) return true;
    const auto* table = qobject_cast<const ORVMediaTableModel*>(sourceModel());
    const std::shared_ptr<ORVMedia> media = table ? table->mediaAtIndex(sourceRow) : nullptr;
    return media && media->mediaDivision() == *m_mode;
}

}  // namespace zentrova
