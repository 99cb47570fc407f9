#pragma once

#include <QObject>

class QWidget;

namespace zentrova {

class ORVPlayController;

// The play keys of the main window: Space, Left and Right, [ and ], and Up
// and Down for the volume wherever they are not taken (the table moves its
// selection with them when it has the focus).
class PlayKeys : public QObject {
    Q_OBJECT
public:
    PlayKeys(QWidget& window, ORVPlayController& controller);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget& m_window;
    ORVPlayController& m_controller;
};

}  // namespace zentrova
