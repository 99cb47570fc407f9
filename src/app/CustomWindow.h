#pragma once

#include <QPoint>
#include <QRect>
#include <QMimeData>
#include <QWidget>

namespace zentrova {

// The borderless main window: moved by dragging its background, never above
// the top of the usable screen area; remembers the frame to return to after
// full screen; maximized and restored by its own command, since no window
// manager draws buttons on it; opens a folder dropped on it.
class CustomWindow : public QWidget {
    Q_OBJECT
    Q_PROPERTY(bool isFullScreen READ isFullScreen NOTIFY isFullScreenChanged)
public:
    explicit CustomWindow(QWidget* parent = nullptr);

    void setInitialFrame(const QRect& frame) { m_initialFrame = frame; }
    QRect initialFrame() const { return m_initialFrame; }
    bool isFullScreen() const { return m_isFullScreen; }

    void enterFullscreen();
    void leaveFullscreen();
    // Fills the usable screen area, or goes back to the frame it had.
    void toggleMaximized();

    // Where a drag to this position would put the window, kept below the top
    // of the available area.
    static QPoint clampedOrigin(const QPoint& proposed, const QRect& availableArea);

signals:
    void isFullScreenChanged(bool isFullScreen);
    void directoryDropped(const QString& path);
    void windowWillClose();
    void isMaximizedChanged(bool isMaximized);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    static QString droppedDirectory(const QMimeData* mime);
    void showMaximizedOnScreen();

    QPoint m_initialLocation;
    QRect m_initialFrame;
    QRect m_frameBeforeMaximized;
    bool m_isFullScreen = false;
    bool m_maximizedBeforeFullScreen = false;
    bool m_dragging = false;
};

}  // namespace zentrova
