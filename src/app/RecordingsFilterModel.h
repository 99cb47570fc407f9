#pragma once

#include <QSortFilterProxyModel>

#include <optional>

#include "recordings/ORVMedia.h"

namespace zentrova {

// The rows of the recordings table the mode filter lets through, in the
// list's order; all of them without a filter.
class RecordingsFilterModel : public QSortFilterProxyModel {
    Q_OBJECT
public:
    using QSortFilterProxyModel::QSortFilterProxyModel;

    void setModeFilter(std::optional<ORVMediaDivision> mode);
    std::optional<ORVMediaDivision> modeFilter() const { return m_mode; }

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;

private:
    std::optional<ORVMediaDivision> m_mode;
};

}  // namespace zentrova
