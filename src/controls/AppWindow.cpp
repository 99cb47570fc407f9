#include "controls/AppWindow.h"

#include "controls/WindowLook.h"

#include <QScreen>
#include <QWidget>

namespace zentrova {

void prepareAppWindow(QWidget& window) {
    window.setAttribute(Qt::WA_DeleteOnClose);
    applyWindowLook(window);
}

void centreInVisibleArea(QWidget& window) {
    window.adjustSize();
    const QWidget* opener = window.parentWidget();
    const QScreen* screen = opener ? opener->screen() : window.screen();
    if (!screen) return;
    const QRect visible = screen->availableGeometry();
    window.move(visible.topLeft() +
                QPoint((visible.width() - window.width()) / 2, (visible.height() - window.height()) / 2));
}

}  // namespace zentrova
