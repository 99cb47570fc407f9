#pragma once

#include <QWidget>

namespace zentrova {

// Stands in for a settings page that this version does not have yet. It has
// no controls and is not a settings page: it neither shows nor stores the
// record.
class NotBuiltPage : public QWidget {
    Q_OBJECT
public:
    explicit NotBuiltPage(QWidget* parent = nullptr);
};

}  // namespace zentrova
