#pragma once

#include <QImage>
#include <QMutex>
#include <QWidget>

namespace zentrova {

// The view a player draws into. Frames arrive on the decoder's thread and
// are copied under a lock; painting happens on the GUI thread.
class VLCVideoView : public QWidget {
    Q_OBJECT
public:
    explicit VLCVideoView(QWidget* parent = nullptr);

    // When set, the picture covers the whole view (cropping what overflows);
    // otherwise it fits inside it.
    void setFillScreen(bool fill);
    bool fillScreen() const { return m_fillScreen; }

    // Called from any thread with a frame in 32-bit RGB; visible is the
    // part of the buffer that holds the picture.
    void presentFrame(const uchar* pixels, int width, int height, int pitch);
    void clearFrame();

    // A copy of the last frame, or a null image.
    QImage currentFrame() const;
    int framesPresented() const;

signals:
    void framePresented();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    mutable QMutex m_mutex;
    QImage m_frame;
    int m_framesPresented = 0;
    bool m_fillScreen = true;
};

}  // namespace zentrova
