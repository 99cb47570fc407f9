#include "playback/ORVPlayInfo.h"

namespace zentrova {

void ORVPlayInfo::setIsPlaying(bool value) {
    m_isPlaying = value;
    emit isPlayingChanged(value);
}

void ORVPlayInfo::setPosition(double value) {
    m_position = value;
    emit positionChanged(value);
}

void ORVPlayInfo::setSpeed(double value) {
    m_speed = value;
    emit speedChanged(value);
}

void ORVPlayInfo::setScale(double value) {
    m_scale = value;
    emit scaleChanged(value);
}

void ORVPlayInfo::setAudioMediaDirection(int value) {
    m_audioMediaDirection = value;
    emit audioMediaDirectionChanged(value);
}

}  // namespace zentrova
