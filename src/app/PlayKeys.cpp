#include "app/PlayKeys.h"

#include "playback/ORVPlayController.h"

#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QShortcut>
#include <QWidget>

#include <functional>

namespace zentrova {

PlayKeys::PlayKeys(QWidget& window, ORVPlayController& controller)
    : m_window(window), m_controller(controller) {
    struct Binding {
        QKeySequence keys;
        std::function<void()> action;
    };
    ORVPlayController* control = &controller;
    const Binding bindings[] = {
        {QKeySequence(Qt::Key_Space), [control] { control->clickPlayButton(); }},
        {QKeySequence(Qt::Key_Left), [control] { control->jumpBackward(); }},
        {QKeySequence(Qt::Key_Right), [control] { control->jumpForward(); }},
        {QKeySequence(Qt::Key_BracketRight), [control] { control->increaseSpeed(); }},
        {QKeySequence(Qt::Key_BracketLeft), [control] { control->decreaseSpeed(); }},
        {QKeySequence(Qt::Key_M), [control] { control->toggleMute(); }},
    };
    for (const Binding& binding : bindings) {
        auto* shortcut = new QShortcut(binding.keys, &window);
        connect(shortcut, &QShortcut::activated, this, binding.action);
    }
    // Seen before the focused widget: a button or slider with the focus
    // would otherwise take Up and Down for itself or let them go nowhere.
    QCoreApplication::instance()->installEventFilter(this);
}

bool PlayKeys::movesSelectionWithArrows(const QWidget* focus) {
    return qobject_cast<const QAbstractItemView*>(focus) || qobject_cast<const QComboBox*>(focus) ||
           qobject_cast<const QAbstractSpinBox*>(focus);
}

bool PlayKeys::takesLeftAndRight(const QWidget* focus) {
    // The volume slider steps with them; the position slider jumps as everywhere.
    return focus && focus->objectName() == QLatin1String("volumeSlider");
}

bool PlayKeys::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool leftOrRight = key->key() == Qt::Key_Left || key->key() == Qt::Key_Right;
        if (leftOrRight && watched == QApplication::focusWidget() && takesLeftAndRight(QApplication::focusWidget())) {
            // Accepted, the key goes to the widget instead of the jump.
            event->accept();
            return true;
        }
        return QObject::eventFilter(watched, event);
    }
    if (event->type() != QEvent::KeyPress) return QObject::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() != Qt::Key_Up && key->key() != Qt::Key_Down) return QObject::eventFilter(watched, event);
    // Once for each press: the first delivery goes to the focused widget,
    // or to the window when nothing in it has the focus.
    QWidget* focus = QApplication::focusWidget();
    const bool first = focus ? watched == focus : watched == &m_window;
    if (!first || (focus && focus->window() != &m_window) || movesSelectionWithArrows(focus)) {
        return QObject::eventFilter(watched, event);
    }
    key->key() == Qt::Key_Up ? m_controller.volumeUp() : m_controller.volumeDown();
    return true;
}

}  // namespace zentrova
