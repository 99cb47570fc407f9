#include "playback/VLCVideoView.h"

#include <QEvent>
#include <QPainter>

#include <cmath>

namespace zentrova {

VLCVideoView::VLCVideoView(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent, true);
    setAutoFillBackground(false);
    watchParent();
}

void VLCVideoView::setFillScreen(bool fill) {
    if (fill == m_fillScreen) return;
    m_fillScreen = fill;
    update();
    emit pictureAreaChanged();
}

QSize VLCVideoView::pictureArea() const {
    const QWidget* frame = parentWidget() ? parentWidget() : this;
    const qreal ratio = devicePixelRatioF();
    return QSize(static_cast<int>(std::lround(frame->width() * ratio)),
                 static_cast<int>(std::lround(frame->height() * ratio)));
}

void VLCVideoView::showFramesFrom(std::shared_ptr<VideoFramePool> pool) {
    m_pool = std::move(pool);
    ++m_framesPresented;
    update();
    emit framePresented();
}

void VLCVideoView::clearFrame() {
    // The frame held is never written again, also when its pool is reused.
    takeLatestFrame();
    m_pool.reset();
    update();
}

void VLCVideoView::forgetPicture() {
    m_pool.reset();
    m_shown.release();
    update();
}


QImage VLCVideoView::imageOf(const VideoFramePool::Frame& frame) {
    if (!frame) return QImage();
    const VideoFramePool::Layout layout = frame.layout();
    // Wraps the buffer without copying; valid while the frame is held.
    return QImage(frame.pixels(), layout.width, layout.height, layout.bytesPerLine, QImage::Format_RGB32);
}

QImage VLCVideoView::currentFrame() const {
    if (m_pool) {
        const VideoFramePool::Frame latest = m_pool->latest();
        if (latest) return imageOf(latest).copy();
    }
    return imageOf(m_shown).copy();
}

bool VLCVideoView::event(QEvent* event) {
    if (event->type() == QEvent::ParentChange) {
        watchParent();
        emit pictureAreaChanged();
    }
    return QWidget::event(event);
}

void VLCVideoView::watchParent() {
    if (m_watchedParent == parentWidget()) return;
    if (m_watchedParent) m_watchedParent->removeEventFilter(this);
    m_watchedParent = parentWidget();
    if (m_watchedParent) m_watchedParent->installEventFilter(this);
}

bool VLCVideoView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_watchedParent && event->type() == QEvent::Resize) emit pictureAreaChanged();
    return QWidget::eventFilter(watched, event);
}

void VLCVideoView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (!parentWidget()) emit pictureAreaChanged();
}

QRectF VLCVideoView::rectFor(const QSizeF& natural) const {
    const QSizeF shown = natural.scaled(QSizeF(size()), m_fillScreen ? Qt::KeepAspectRatioByExpanding : Qt::KeepAspectRatio);
    return QRectF(QPointF((width() - shown.width()) / 2, (height() - shown.height()) / 2), shown);
}

QRectF VLCVideoView::pictureRect() const {
    QImage image = currentFrame();
    if (image.isNull()) return QRectF();
    image.setDevicePixelRatio(devicePixelRatioF());
    return rectFor(image.deviceIndependentSize());
}

void VLCVideoView::takeLatestFrame() {
    if (!m_pool) return;
    VideoFramePool::Frame latest = m_pool->latest();
    if (latest) m_shown = std::move(latest);
}

void VLCVideoView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    takeLatestFrame();
    QImage image = imageOf(m_shown);
    if (image.isNull()) {
        painter.fillRect(rect(), Qt::black);
        return;
    }
    image.setDevicePixelRatio(devicePixelRatioF());
    const QSizeF natural = image.deviceIndependentSize();
    const QRectF area = rectFor(natural);
    const QSizeF shown = area.size();
    if (!area.contains(QRectF(rect()))) painter.fillRect(rect(), Qt::black);
    // Frames made for this view are drawn as they are; others (until the
    // decoder delivers the new size) are scaled smoothly.
    const bool asMade = std::abs(shown.width() - natural.width()) < 0.5 && std::abs(shown.height() - natural.height()) < 0.5;
    if (asMade) {
        painter.drawImage(QPoint(static_cast<int>(std::floor(area.left())), static_cast<int>(std::floor(area.top()))),
                          image);
    } else {
        painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
        painter.drawImage(area, image);
    }
}

}  // namespace zentrova
