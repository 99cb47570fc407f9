#pragma once

#include "playback/VideoFrameSize.h"
#include "playback/VideoFramePool.h"
#include "playback/VideoPictureConverter.h"

#include <QImage>
#include <QRectF>
#include <QWidget>

#include <memory>

namespace zentrova {

// The view a player draws into. The decoder writes its pictures into the
// buffers of a frame pool at the video's own size; the view scales and
// converts the latest one when it paints, so that pictures nobody sees
// (while it is hidden, or coming faster than it repaints) cost nothing.
class VLCVideoView : public QWidget {
    Q_OBJECT
public:
    explicit VLCVideoView(QWidget* parent = nullptr);

    // When set, the picture covers the whole view (cropping what overflows);
    // otherwise it fits inside it.
    void setFillScreen(bool fill);
    bool fillScreen() const { return m_fillScreen; }

    // Where the picture is shown, in device pixels: the size of the frame
    // the view lies on (it covers it except while it is animated), or its
    // own size when it has none.
    QSize pictureArea() const;
    // Where the latest picture is drawn, in the view's coordinates; empty
    // while there is none.
    QRectF pictureRect() const;

    // From now on the latest picture of this pool is painted.
    void showFramesFrom(std::shared_ptr<VideoFramePool> pool);
    // The player has no more pictures: the last one stays until the next
    // one arrives or it is forgotten, so that a change of recording does
    // not flash an empty frame.
    void clearFrame();
    // Shows nothing from now on.
    void forgetPicture();

    // The latest picture, whole, at the size it is shown at; or a null image.
    QImage currentFrame() const;
    // The picture painted last (the latest when none was painted yet) at
    // the video's own size; or a null image.
    QImage pictureAtVideoSize() const;
    int framesPresented() const { return m_framesPresented; }
    // Pictures scaled and converted for painting.
    int picturesConverted() const { return m_picturesConverted; }
    // How the pictures reach the view: the most buffers the decoder held at
    // once (more than one when it decodes straight into them), and how many
    // buffers the pool made.
    struct BufferUse {
        std::size_t mostLentAtOnce = 0;
        std::size_t buffers = 0;
    };
    BufferUse bufferUse() const;

    // What all views have spent on the CPU so far: converting pictures,
    // and the rest of painting them.
    struct CpuTime {
        double convertSeconds = 0;
        double paintSeconds = 0;
    };
    static CpuTime cpuTime();

signals:
    void framePresented();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // Where the picture goes in the view: the one place that decides it.
    VideoFrameSize::Placement placementOf(const VideoFramePool::Layout& picture) const;
    // The placement's target in the view's own coordinates: as placed
    // when the view covers its area, scaled with it while it is animated.
    QRectF drawnRect(const VideoFrameSize::Placement& placement) const;
    void paintPicture();
    void takeLatestPicture();
    // The shown picture converted for its placement; converted again only
    // for a new picture or placement.
    const QImage& convertedPicture(const VideoFrameSize::Placement& placement);
    VideoFramePool::Frame latestOrShown() const;
    static QImage converted(const VideoFramePool::Frame& picture, QSize size);

    std::shared_ptr<VideoFramePool> m_pool;
    // Held while shown, so that it stays when the pool is gone or changes.
    VideoFramePool::Frame m_shown;
    QImage m_converted;
    bool m_convertedIsCurrent = false;
    VideoFrameSize::Placement m_convertedPlacement;
    VideoPictureConverter m_converter;
    int m_framesPresented = 0;
    int m_picturesConverted = 0;
    bool m_fillScreen = true;
};

}  // namespace zentrova
