#pragma once

#include <QObject>

#include "recordings/ORVMedia.h"

namespace zentrova {

// The observable play state that the controls follow.
class ORVPlayInfo : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool isPlaying READ isPlaying WRITE setIsPlaying NOTIFY isPlayingChanged)
    Q_PROPERTY(double position READ position WRITE setPosition NOTIFY positionChanged)
    Q_PROPERTY(double speed READ speed WRITE setSpeed NOTIFY speedChanged)
    Q_PROPERTY(double scale READ scale WRITE setScale NOTIFY scaleChanged)
    Q_PROPERTY(int audioMediaDirection READ audioMediaDirection WRITE setAudioMediaDirection NOTIFY audioMediaDirectionChanged)
public:
    using QObject::QObject;

    bool isPlaying() const { return m_isPlaying; }
    double position() const { return m_position; }
    double speed() const { return m_speed; }
    double scale() const { return m_scale; }
    int audioMediaDirection() const { return m_audioMediaDirection; }

    // Every assignment notifies, as an observed property does, even when
    // the value stays the same: the displays refresh on each position.
    void setIsPlaying(bool value);
    void setPosition(double value);
    void setSpeed(double value);
    void setScale(double value);
    void setAudioMediaDirection(int value);

signals:
    void isPlayingChanged(bool isPlaying);
    void positionChanged(double position);
    void speedChanged(double speed);
    void scaleChanged(double scale);
    void audioMediaDirectionChanged(int direction);

private:
    bool m_isPlaying = false;
    double m_position = 0.0;
    double m_speed = 1.0;
    double m_scale = 0.0;
    int m_audioMediaDirection = ORVMediaDirectionUnknown;
};

}  // namespace zentrova
