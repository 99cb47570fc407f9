#pragma once

#include <QObject>

class QWidget;

namespace zentrova {

class ORVPlayController;

// The play keys of the main window: Space, Left and Right (but on the volume
// slider, which they step), [ and ], M, and Up and Down for the volume
// wherever the focus is not on a list or a choice that moves its selection
// with them (the table, the mode filter).
class PlayKeys : public QObject {
    Q_OBJECT
public:
    PlayKeys(QWidget& window, ORVPlayController& controller);

    // Whether Up and Down belong to the widget with the focus.
    static bool movesSelectionWithArrows(const QWidget* focus);
    // Whether Left and Right belong to it rather than to the jumps.
    static bool takesLeftAndRight(const QWidget* focus);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget& m_window;
    ORVPlayController& m_controller;
};

}  // namespace zentrova
