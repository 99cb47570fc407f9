#include "playback/VLCVideoView.h"

#include <QMetaObject>
#include <QMutexLocker>
#include <QPainter>

#include <cstring>

namespace zentrova {

VLCVideoView::VLCVideoView(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent, true);
    setAutoFillBackground(false);
}

void VLCVideoView::setFillScreen(bool fill) {
    m_fillScreen = fill;
    update();
}

void VLCVideoView::presentFrame(const uchar* pixels, int width, int height, int pitch) {
    if (!pixels || width <= 0 || height <= 0 || pitch < width * 4) return;
    {
        QMutexLocker lock(&m_mutex);
        if (m_frame.width() != width || m_frame.height() != height) m_frame = QImage(width, height, QImage::Format_RGB32);
        for (int y = 0; y < height; ++y) {
            std::memcpy(m_frame.scanLine(y), pixels + static_cast<size_t>(y) * static_cast<size_t>(pitch),
                        static_cast<size_t>(width) * 4);
        }
        ++m_framesPresented;
    }
    QMetaObject::invokeMethod(
        this,
        [this] {
            update();
            emit framePresented();
        },
        Qt::QueuedConnection);
}

void VLCVideoView::clearFrame() {
    {
        QMutexLocker lock(&m_mutex);
        m_frame = QImage();
    }
    update();
}

QImage VLCVideoView::currentFrame() const {
    QMutexLocker lock(&m_mutex);
    return m_frame.copy();
}

int VLCVideoView::framesPresented() const {
    QMutexLocker lock(&m_mutex);
    return m_framesPresented;
}

void VLCVideoView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    QMutexLocker lock(&m_mutex);
    if (m_frame.isNull()) return;
    QSize target = m_frame.size().scaled(size(), m_fillScreen ? Qt::KeepAspectRatioByExpanding : Qt::KeepAspectRatio);
    QRect area(QPoint((width() - target.width()) / 2, (height() - target.height()) / 2), target);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    painter.drawImage(area, m_frame);
}

}  // namespace zentrova
