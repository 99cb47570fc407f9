#pragma once

#include <QList>
#include <QObject>
#include <QSize>
#include <QString>

#include <memory>

#include "playback/VLCMedia.h"
#include "playback/VLCTime.h"

namespace zentrova {

// The player states the control logic sees. Paused is the state in which a
// player holds its media without advancing and keeps its picture shown; a
// player that reached the end of its file also reports it.
enum class VLCMediaPlayerState : int {
    Stopped = 0,
    Opening = 1,
    Buffering = 2,
    Ended = 3,
    Error = 4,
    Playing = 5,
    Paused = 6,
};

// What the playback logic asks of a media player. Notices arrive on the
// main thread and name the player that sent them.
class ORVMediaPlayer : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    ~ORVMediaPlayer() override = default;

    virtual void setMedia(std::shared_ptr<VLCMedia> media) = 0;
    virtual std::shared_ptr<VLCMedia> media() const = 0;

    virtual void play() = 0;
    virtual void pause() = 0;
    virtual void stop() = 0;
    virtual bool isPlaying() const = 0;
    virtual VLCMediaPlayerState state() const = 0;

    virtual float position() const = 0;
    virtual void setPosition(float position) = 0;
    virtual VLCTime time() const = 0;
    virtual void setTime(VLCTime time) = 0;
    // Zero or negative: the time left, counted down; "00:00" at the end.
    virtual VLCTime remainingTime() const = 0;

    virtual float rate() const = 0;
    virtual void setRate(float rate) = 0;
    virtual void jumpForward(int seconds) = 0;
    virtual void jumpBackward(int seconds) = 0;

    virtual bool hasVideoOut() const = 0;
    virtual QSize videoSize() const = 0;

    virtual void setMute(bool mute) = 0;
    virtual bool isMuted() const = 0;
    virtual void setVolume(int volume) = 0;  // 0 to 200
    virtual int volume() const = 0;
    virtual QList<int> audioTrackIndexes() const = 0;

    // Writes the current frame; 0 for width and height mean the video's size.
    virtual bool saveVideoSnapshotAt(const QString& path, int width, int height) = 0;

signals:
    void mediaPlayerStateChanged(ORVMediaPlayer* player);
    void mediaPlayerTimeChanged(ORVMediaPlayer* player);
    // After setMedia, also to none.
    void mediaChanged(ORVMediaPlayer* player);
};

}  // namespace zentrova
