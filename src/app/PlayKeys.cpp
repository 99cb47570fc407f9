#include "app/PlayKeys.h"

#include "playback/ORVPlayController.h"

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
    };
    for (const Binding& binding : bindings) {
        auto* shortcut = new QShortcut(binding.keys, &window);
        connect(shortcut, &QShortcut::activated, this, binding.action);
    }
    // The window sees Up and Down only when nobody took them.
    window.installEventFilter(this);
}

bool PlayKeys::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &m_window && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            key == Qt::Key_Up ? m_controller.volumeUp() : m_controller.volumeDown();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace zentrova
