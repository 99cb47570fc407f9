#include "app/CustomWindow.h"

#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QScreen>
#include <QUrl>

namespace zentrova {

CustomWindow::CustomWindow(QWidget* parent) : QWidget(parent, Qt::Window | Qt::FramelessWindowHint) {
    setAcceptDrops(true);
    setAttribute(Qt::WA_DeleteOnClose, false);
}

QPoint CustomWindow::clampedOrigin(const QPoint& proposed, const QRect& availableArea) {
    QPoint origin = proposed;
    if (origin.y() < availableArea.top()) origin.setY(availableArea.top());
    return origin;
}

void CustomWindow::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && !m_isFullScreen && !isMaximized()) {
        m_initialLocation = event->position().toPoint();
        m_dragging = true;
    }
    QWidget::mousePressEvent(event);
}

void CustomWindow::mouseMoveEvent(QMouseEvent* event) {
    if (m_dragging && (event->buttons() & Qt::LeftButton) && !m_isFullScreen && !isMaximized()) {
        QPoint proposed = event->globalPosition().toPoint() - m_initialLocation;
        QScreen* current = screen();
        move(current ? clampedOrigin(proposed, current->availableGeometry()) : proposed);
    }
    QWidget::mouseMoveEvent(event);
}

void CustomWindow::enterFullscreen() {
    if (m_isFullScreen) return;
    m_isFullScreen = true;
    m_maximizedBeforeFullScreen = isMaximized();
    if (m_initialFrame.width() == 0 || m_initialFrame.height() == 0) m_initialFrame = geometry();
    // The frame is set by hand as well: without a window manager (or with
    // one that ignores the request) the window must still cover its screen.
    if (QScreen* current = screen()) setGeometry(current->geometry());
    showFullScreen();
    emit isFullScreenChanged(true);
    // The focus may have been in the side column, now hidden, or in the
    // map, which keeps every key to itself: Escape must reach the window.
    setFocus(Qt::OtherFocusReason);
}

void CustomWindow::leaveFullscreen() {
    if (!m_isFullScreen) return;
    m_isFullScreen = false;
    if (m_maximizedBeforeFullScreen) {
        m_maximizedBeforeFullScreen = false;
        showMaximizedOnScreen();
    } else {
        showNormal();
        setGeometry(m_initialFrame);
    }
    emit isFullScreenChanged(false);
}

void CustomWindow::toggleMaximized() {
    if (m_isFullScreen) return;
    if (isMaximized()) {
        showNormal();
        setGeometry(m_frameBeforeMaximized);
        return;
    }
    m_frameBeforeMaximized = geometry();
    showMaximizedOnScreen();
}

void CustomWindow::showMaximizedOnScreen() {
    // Set by hand too, for a window manager that ignores the request.
    if (QScreen* current = screen()) setGeometry(current->availableGeometry());
    showMaximized();
}

void CustomWindow::changeEvent(QEvent* event) {
    if (event->type() == QEvent::WindowStateChange) emit isMaximizedChanged(isMaximized());
    QWidget::changeEvent(event);
}

void CustomWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && m_isFullScreen) {
        leaveFullscreen();
        return;
    }
    QWidget::keyPressEvent(event);
}

QString CustomWindow::droppedDirectory(const QMimeData* mime) {
    if (!mime || !mime->hasUrls()) return QString();
    const QList<QUrl> urls = mime->urls();
    if (urls.size() != 1 || !urls.first().isLocalFile()) return QString();
    const QString path = urls.first().toLocalFile();
    return QFileInfo(path).isDir() ? path : QString();
}

void CustomWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (!droppedDirectory(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void CustomWindow::dropEvent(QDropEvent* event) {
    const QString path = droppedDirectory(event->mimeData());
    if (path.isEmpty()) return;
    event->acceptProposedAction();
    emit directoryDropped(path);
}

void CustomWindow::closeEvent(QCloseEvent* event) {
    emit windowWillClose();
    QWidget::closeEvent(event);
}

}  // namespace zentrova
