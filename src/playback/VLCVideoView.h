#pragma once

#include "playback/VideoFramePool.h"

#include <QImage>
#include <QPointer>
#include <QWidget>

#include <memory>

namespace zentrova {

// The view a player draws into. The decoder writes into the buffers of a
// frame pool; the view paints the latest complete one straight from its
// buffer, at its own size when the frames were made for the view.
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

    // From now on the latest frame of this pool is painted.
    void showFramesFrom(std::shared_ptr<VideoFramePool> pool);
    // The player has no more pictures: the last one stays until the next
    // one arrives or it is forgotten, so that a change of recording does
    // not flash an empty frame.
    void clearFrame();
    // Shows nothing from now on.
    void forgetPicture();

    // A copy of the latest frame, or a null image.
    QImage currentFrame() const;
    int framesPresented() const { return m_framesPresented; }

signals:
    void framePresented();
    void pictureAreaChanged();

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    static QImage imageOf(const VideoFramePool::Frame& frame);
    QRectF rectFor(const QSizeF& natural) const;
    void takeLatestFrame();
    void watchParent();

    std::shared_ptr<VideoFramePool> m_pool;
    // Held while shown, so that it stays when the pool is gone or changes.
    VideoFramePool::Frame m_shown;
    int m_framesPresented = 0;
    bool m_fillScreen = true;
    QPointer<QWidget> m_watchedParent;
};

}  // namespace zentrova
