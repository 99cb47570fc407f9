#include "controls/AppWindow.h"

#include "controls/WindowLook.h"

#include <QScreen>
#include <QWidget>

namespace zentrova {

void prepareAppWindow(QWidget& window) {
    window.setAttribute(Qt::WA_DeleteOnClose);
    applyWindowLook(window);
}

QPoint centredOrigin(const QSize& outer, const QRect& visible) {
    return visible.topLeft() + QPoint((visible.width() - outer.width()) / 2, (visible.height() - outer.height()) / 2);
}

void centreInVisibleArea(QWidget& window) {
    window.adjustSize();
    const QWidget* opener = window.parentWidget();
    const QScreen* screen = opener ? opener->screen() : window.screen();
    if (!screen) return;
    window.move(centredOrigin(window.size(), screen->availableGeometry()));
}

}  // namespace zentrova
