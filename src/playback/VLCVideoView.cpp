#include "playback/VLCVideoView.h"

#include "common/linux/ThreadCpuTime.h"

#include <QPainter>

#include <atomic>
#include <cmath>

namespace zentrova {
namespace {

std::atomic<std::int64_t> convertNanoseconds{0};
std::atomic<std::int64_t> paintNanoseconds{0};

VideoFrameSize::Size sizeOf(const QSize& size) { return {size.width(), size.height()}; }

VideoFrameSize::Size displaySizeOf(const VideoFramePool::Layout& picture) {
    return {picture.displayWidth, picture.displayHeight};
}

VideoFrameSize::Rect wholeOf(const VideoFramePool::Layout& picture) { return {0, 0, picture.width, picture.height}; }

// Wraps the image's pixels for the converter; the image must be detached.
VideoPictureConverter::Target targetOf(QImage& image) {
    return {image.bits(), static_cast<int>(image.bytesPerLine()), image.width(), image.height()};
}

}  // namespace

VLCVideoView::VLCVideoView(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent, true);
    setAutoFillBackground(false);
}

void VLCVideoView::setFillScreen(bool fill) {
    if (fill == m_fillScreen) return;
    m_fillScreen = fill;
    update();
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
    // The picture held is never written again, also when its pool is reused.
    takeLatestPicture();
    m_pool.reset();
    update();
}

void VLCVideoView::forgetPicture() {
    m_pool.reset();
    m_shown.release();
    m_converted = QImage();
    m_convertedIsCurrent = false;
    update();
}

VideoFrameSize::Placement VLCVideoView::placementOf(const VideoFramePool::Layout& picture) const {
    const VideoFrameSize::Fit fit = m_fillScreen ? VideoFrameSize::Fit::Cover : VideoFrameSize::Fit::Inside;
    return VideoFrameSize::place({picture.width, picture.height}, displaySizeOf(picture), sizeOf(pictureArea()), fit);
}

QRectF VLCVideoView::drawnRect(const VideoFrameSize::Placement& placement) const {
    const QSize area = pictureArea();
    const qreal ratio = devicePixelRatioF();
    const QSizeF own = QSizeF(size()) * ratio;
    // Animated, the view shows its whole area shrunk to cover the view.
    const qreal scale = std::max(own.width() / area.width(), own.height() / area.height());
    const QPointF origin((own.width() - area.width() * scale) / 2, (own.height() - area.height() * scale) / 2);
    const VideoFrameSize::Rect& target = placement.target;
    return QRectF(origin.x() + target.x * scale, origin.y() + target.y * scale, target.width * scale,
                  target.height * scale);
}

void VLCVideoView::takeLatestPicture() {
    if (!m_pool) return;
    VideoFramePool::Frame latest = m_pool->latest();
    if (!latest || latest.isSamePictureAs(m_shown)) return;
    m_shown = std::move(latest);
    m_convertedIsCurrent = false;
}

const QImage& VLCVideoView::convertedPicture(const VideoFrameSize::Placement& placement) {
    if (m_convertedIsCurrent && placement == m_convertedPlacement) return m_converted;
    const QSize size(placement.target.width, placement.target.height);
    if (m_converted.size() != size) m_converted = QImage(size, QImage::Format_RGB32);
    const std::int64_t start = threadCpuNanoseconds();
    m_convertedIsCurrent = !m_converted.isNull() && m_converter.convert(m_shown, placement.source, targetOf(m_converted));
    convertNanoseconds += threadCpuNanoseconds() - start;
    ++m_picturesConverted;
    m_convertedPlacement = placement;
    if (!m_convertedIsCurrent) m_converted = QImage();
    return m_converted;
}

QRectF VLCVideoView::pictureRect() const {
    const VideoFramePool::Frame picture = latestOrShown();
    if (!picture) return QRectF();
    const VideoFramePool::Layout& layout = picture.layout();
    const QSizeF shown = QSizeF(layout.displayWidth, layout.displayHeight)
                             .scaled(QSizeF(size()), m_fillScreen ? Qt::KeepAspectRatioByExpanding : Qt::KeepAspectRatio);
    return QRectF(QPointF((width() - shown.width()) / 2, (height() - shown.height()) / 2), shown);
}

void VLCVideoView::paintEvent(QPaintEvent*) {
    const std::int64_t start = threadCpuNanoseconds();
    const std::int64_t convertedBefore = convertNanoseconds;
    paintPicture();
    paintNanoseconds += threadCpuNanoseconds() - start - (convertNanoseconds - convertedBefore);
}

void VLCVideoView::paintPicture() {
    QPainter painter(this);
    takeLatestPicture();
    const VideoFrameSize::Placement placement = m_shown ? placementOf(m_shown.layout()) : VideoFrameSize::Placement{};
    if (placement.isEmpty() || convertedPicture(placement).isNull()) {
        painter.fillRect(rect(), Qt::black);
        return;
    }
    const qreal ratio = devicePixelRatioF();
    const QRectF drawn = drawnRect(placement);
    if (!drawn.contains(QRectF(QPointF(0, 0), QSizeF(size()) * ratio))) painter.fillRect(rect(), Qt::black);
    if (drawn.size() == QSizeF(m_converted.size())) {
        // As converted, pixel for pixel.
        painter.drawImage(QPointF(std::floor(drawn.left()), std::floor(drawn.top())) / ratio, m_converted);
        return;
    }
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    painter.drawImage(QRectF(drawn.topLeft() / ratio, drawn.size() / ratio), m_converted);
}

VideoFramePool::Frame VLCVideoView::latestOrShown() const {
    if (m_pool) {
        VideoFramePool::Frame latest = m_pool->latest();
        if (latest) return latest;
    }
    return m_shown.share();
}

QImage VLCVideoView::converted(const VideoFramePool::Frame& picture, QSize size) {
    if (!picture || size.isEmpty()) return QImage();
    QImage image(size, QImage::Format_RGB32);
    VideoPictureConverter converter;
    if (image.isNull() || !converter.convert(picture, wholeOf(picture.layout()), targetOf(image))) return QImage();
    return image;
}

QImage VLCVideoView::currentFrame() const {
    const VideoFramePool::Frame picture = latestOrShown();
    if (!picture) return QImage();
    const VideoFrameSize::Fit fit = m_fillScreen ? VideoFrameSize::Fit::Cover : VideoFrameSize::Fit::Inside;
    const VideoFrameSize::Size shown = VideoFrameSize::forArea(displaySizeOf(picture.layout()), sizeOf(pictureArea()), fit);
    return converted(picture, QSize(shown.width, shown.height));
}

QImage VLCVideoView::pictureAtVideoSize() const {
    // A hidden view has not painted the pictures that came since.
    const VideoFramePool::Frame picture = isVisible() && m_shown ? m_shown.share() : latestOrShown();
    if (!picture) return QImage();
    const VideoFramePool::Layout& layout = picture.layout();
    return converted(picture, QSize(layout.displayWidth, layout.displayHeight));
}

VLCVideoView::BufferUse VLCVideoView::bufferUse() const {
    if (!m_pool) return {};
    return {m_pool->mostLentAtOnce(), m_pool->bufferCount()};
}

VLCVideoView::CpuTime VLCVideoView::cpuTime() {
    return {static_cast<double>(convertNanoseconds.load()) / 1e9, static_cast<double>(paintNanoseconds.load()) / 1e9};
}

}  // namespace zentrova
