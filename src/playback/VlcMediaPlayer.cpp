#include "playback/VlcMediaPlayer.h"

#include "common/Log.h"
#include "playback/VLCLibrary.h"
#include "playback/VLCVideoView.h"

#include <QImage>

#include <vlc/vlc.h>

#include <algorithm>
#include <cstring>

namespace zentrova {
namespace {

const libvlc_event_type_t kEvents[] = {
    libvlc_MediaPlayerOpening, libvlc_MediaPlayerBuffering, libvlc_MediaPlayerPlaying,
    libvlc_MediaPlayerPaused,  libvlc_MediaPlayerStopped,   libvlc_MediaPlayerEndReached,
    libvlc_MediaPlayerEncounteredError, libvlc_MediaPlayerTimeChanged, libvlc_MediaPlayerVout,
    libvlc_MediaPlayerLengthChanged,
};

// A pause that nobody asked for this close to the end is libVLC holding the
// last frame (--play-and-pause); time updates every 250 ms, so at 2x the
// position may stop near 0.9.
constexpr float kEndHoldPosition = 0.85f;

}  // namespace

VlcMediaPlayer::VlcMediaPlayer(VLCVideoView* videoView, QObject* parent) : ORVMediaPlayer(parent), m_view(videoView) {
    libvlc_instance_t* instance = VLCLibrary::sharedLibrary();
    if (!instance) return;
    m_player = libvlc_media_player_new(instance);
    if (!m_player) {
        logLine("libvlc_media_player_new failed");
        return;
    }
    libvlc_video_set_callbacks(m_player, &VlcMediaPlayer::onLock, &VlcMediaPlayer::onUnlock,
                               &VlcMediaPlayer::onDisplay, this);
    libvlc_video_set_format_callbacks(m_player, &VlcMediaPlayer::onFormat, &VlcMediaPlayer::onCleanup);
    libvlc_event_manager_t* events = libvlc_media_player_event_manager(m_player);
    for (libvlc_event_type_t type : kEvents) libvlc_event_attach(events, type, &VlcMediaPlayer::onEvent, this);
}

VlcMediaPlayer::~VlcMediaPlayer() {
    if (!m_player) return;
    libvlc_event_manager_t* events = libvlc_media_player_event_manager(m_player);
    for (libvlc_event_type_t type : kEvents) libvlc_event_detach(events, type, &VlcMediaPlayer::onEvent, this);
    libvlc_media_player_stop(m_player);
    libvlc_media_player_release(m_player);
}

void VlcMediaPlayer::onEvent(const libvlc_event_t* event, void* opaque) {
    auto* self = static_cast<VlcMediaPlayer*>(opaque);
    const int type = event->type;
    // Never call libVLC from here: hand the event to the player's thread.
    QMetaObject::invokeMethod(self, [self, type] { self->handleEvent(type); }, Qt::QueuedConnection);
}

void VlcMediaPlayer::handleEvent(int type) {
    switch (type) {
    case libvlc_MediaPlayerOpening: setState(VLCMediaPlayerState::Opening); break;
    case libvlc_MediaPlayerBuffering: break;
    case libvlc_MediaPlayerPlaying:
        m_pauseRequested = false;
        m_heldAtEnd = false;
        applyAudioSettings();
        setState(VLCMediaPlayerState::Playing);
        break;
    case libvlc_MediaPlayerPaused:
        if (!m_pauseRequested && m_player && libvlc_media_player_get_position(m_player) >= kEndHoldPosition) {
            m_heldAtEnd = true;
        }
        m_pauseRequested = false;
        setState(VLCMediaPlayerState::Paused);
        break;
    case libvlc_MediaPlayerEndReached:
        m_heldAtEnd = true;
        setState(VLCMediaPlayerState::Paused);
        break;
    case libvlc_MediaPlayerStopped:
        m_heldAtEnd = false;
        setState(VLCMediaPlayerState::Stopped);
        break;
    case libvlc_MediaPlayerEncounteredError: setState(VLCMediaPlayerState::Error); break;
    case libvlc_MediaPlayerTimeChanged:
        if (m_media) emit mediaPlayerTimeChanged(this);
        break;
    case libvlc_MediaPlayerLengthChanged:
        if (m_media && m_player) m_media->setLength(VLCTime::timeWithInt(libvlc_media_player_get_length(m_player)));
        break;
    case libvlc_MediaPlayerVout: {
        unsigned width = 0;
        unsigned height = 0;
        if (m_player && libvlc_video_get_size(m_player, 0, &width, &height) == 0) {
            m_visibleWidth = static_cast<int>(width);
            m_visibleHeight = static_cast<int>(height);
        }
        break;
    }
    default: break;
    }
}

void VlcMediaPlayer::setState(VLCMediaPlayerState state) {
    m_state = state;
    if (m_media || state == VLCMediaPlayerState::Stopped) emit mediaPlayerStateChanged(this);
}

void VlcMediaPlayer::setMedia(std::shared_ptr<VLCMedia> media) {
    if (!m_player) return;
    m_heldAtEnd = false;
    m_media = std::move(media);
    m_visibleWidth = 0;
    m_visibleHeight = 0;
    if (!m_media) {
        libvlc_media_player_set_media(m_player, nullptr);
        if (m_view) m_view->clearFrame();
        return;
    }
    libvlc_media_t* item = libvlc_media_new_path(VLCLibrary::sharedLibrary(), m_media->path().toLocal8Bit().constData());
    libvlc_media_player_set_media(m_player, item);
    if (item) libvlc_media_release(item);
}

void VlcMediaPlayer::play() {
    if (!m_player || !m_media) return;
    if (m_heldAtEnd) {
        // play() here would end the media and lose the picture.
        leaveEnd();
        libvlc_media_player_set_time(m_player, 0);
        libvlc_media_player_set_pause(m_player, 0);
        return;
    }
    if (m_state == VLCMediaPlayerState::Paused) {
        libvlc_media_player_set_pause(m_player, 0);
        return;
    }
    libvlc_media_player_play(m_player);
}

void VlcMediaPlayer::pause() {
    if (!m_player || !m_media || m_heldAtEnd) return;
    m_pauseRequested = true;
    libvlc_media_player_set_pause(m_player, 1);
}

void VlcMediaPlayer::stop() {
    if (!m_player) return;
    m_heldAtEnd = false;
    m_pauseRequested = false;
    libvlc_media_player_stop(m_player);
    m_state = VLCMediaPlayerState::Stopped;
}

bool VlcMediaPlayer::isPlaying() const {
    return m_player && m_media && !m_heldAtEnd && libvlc_media_player_is_playing(m_player) != 0;
}

VLCTime VlcMediaPlayer::length() const {
    if (!m_player) return VLCTime::nullTime();
    const libvlc_time_t length = libvlc_media_player_get_length(m_player);
    return VLCTime::timeWithInt(std::max<libvlc_time_t>(length, 0));
}

float VlcMediaPlayer::position() const {
    if (!m_player || !m_media) return 0.0f;
    if (m_heldAtEnd) return 1.0f;
    return std::max(0.0f, libvlc_media_player_get_position(m_player));
}

void VlcMediaPlayer::leaveEnd() {
    if (!m_heldAtEnd) return;
    m_heldAtEnd = false;
    m_state = VLCMediaPlayerState::Paused;
}

void VlcMediaPlayer::setPosition(float position) {
    if (!m_player || !m_media) return;
    position = std::clamp(position, 0.0f, 1.0f);
    if (position < 1.0f) leaveEnd();
    libvlc_media_player_set_position(m_player, position);
}

VLCTime VlcMediaPlayer::time() const {
    if (!m_player || !m_media) return VLCTime::nullTime();
    if (m_heldAtEnd) return length();
    return VLCTime::timeWithInt(std::max<libvlc_time_t>(libvlc_media_player_get_time(m_player), 0));
}

void VlcMediaPlayer::setTime(VLCTime time) {
    if (!m_player || !m_media) return;
    const std::int64_t target = std::max<std::int64_t>(time.intValue(), 0);
    if (target < length().intValue()) leaveEnd();
    libvlc_media_player_set_time(m_player, target);
}

// Counted down towards the end, so it is zero or negative.
VLCTime VlcMediaPlayer::remainingTime() const {
    const std::int64_t left = length().intValue() - time().intValue();
    return VLCTime::timeWithInt(-std::max<std::int64_t>(left, 0));
}

float VlcMediaPlayer::rate() const { return m_player ? libvlc_media_player_get_rate(m_player) : 1.0f; }

void VlcMediaPlayer::setRate(float rate) {
    if (m_player) libvlc_media_player_set_rate(m_player, rate);
}

void VlcMediaPlayer::jumpForward(int seconds) { setTime(VLCTime::timeWithInt(time().intValue() + seconds * 1000LL)); }

void VlcMediaPlayer::jumpBackward(int seconds) {
    setTime(VLCTime::timeWithInt(time().intValue() - seconds * 1000LL));
}

bool VlcMediaPlayer::hasVideoOut() const { return m_player && libvlc_media_player_has_vout(m_player) > 0; }

QSize VlcMediaPlayer::videoSize() const {
    unsigned width = 0;
    unsigned height = 0;
    if (m_player && libvlc_video_get_size(m_player, 0, &width, &height) == 0) {
        return QSize(static_cast<int>(width), static_cast<int>(height));
    }
    return QSize();
}

void VlcMediaPlayer::applyAudioSettings() {
    if (!m_player) return;
    libvlc_audio_set_volume(m_player, m_volume);
    libvlc_audio_set_mute(m_player, m_muted ? 1 : 0);
}

void VlcMediaPlayer::setMute(bool mute) {
    m_muted = mute;
    applyAudioSettings();
}

void VlcMediaPlayer::setVolume(int volume) {
    m_volume = std::clamp(volume, 0, 200);
    applyAudioSettings();
}

QList<int> VlcMediaPlayer::audioTrackIndexes() const {
    QList<int> tracks;
    if (!m_player || !m_media) return tracks;
    libvlc_track_description_t* list = libvlc_audio_get_track_description(m_player);
    for (libvlc_track_description_t* item = list; item; item = item->p_next) {
        if (item->i_id >= 0) tracks << item->i_id;  // -1 is "Disable"
    }
    if (list) libvlc_track_description_list_release(list);
    return tracks;
}

bool VlcMediaPlayer::saveVideoSnapshotAt(const QString& path, int width, int height) {
    if (!m_view) return false;
    QImage frame = m_view->currentFrame();
    if (frame.isNull()) return false;
    if (width > 0 && height > 0) frame = frame.scaled(width, height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    // Written from the frame we hold: libVLC's own snapshot is always PNG.
    return frame.save(path, "JPG", 92);
}

unsigned VlcMediaPlayer::onFormat(void** opaque, char* chroma, unsigned* width, unsigned* height, unsigned* pitches,
                                  unsigned* lines) {
    auto* self = static_cast<VlcMediaPlayer*>(*opaque);
    std::memcpy(chroma, "RV32", 4);
    std::lock_guard lock(self->m_frameMutex);
    self->m_bufferWidth = *width;
    self->m_pitch = *width * 4;
    self->m_bufferLines = *height;
    pitches[0] = self->m_pitch;
    lines[0] = self->m_bufferLines;
    self->m_buffer.assign(static_cast<size_t>(self->m_pitch) * self->m_bufferLines, 0);
    return 1;
}

void VlcMediaPlayer::onCleanup(void* opaque) {
    auto* self = static_cast<VlcMediaPlayer*>(opaque);
    std::lock_guard lock(self->m_frameMutex);
    self->m_buffer.clear();
}

void* VlcMediaPlayer::onLock(void* opaque, void** planes) {
    auto* self = static_cast<VlcMediaPlayer*>(opaque);
    self->m_frameMutex.lock();
    planes[0] = self->m_buffer.data();
    return nullptr;
}

void VlcMediaPlayer::onUnlock(void* opaque, void*, void* const*) {
    static_cast<VlcMediaPlayer*>(opaque)->m_frameMutex.unlock();
}

void VlcMediaPlayer::onDisplay(void* opaque, void*) {
    auto* self = static_cast<VlcMediaPlayer*>(opaque);
    std::lock_guard lock(self->m_frameMutex);
    if (!self->m_view || self->m_buffer.empty()) return;
    // The buffer may be taller than the picture; draw only what is visible.
    int width = self->m_visibleWidth.load();
    int height = self->m_visibleHeight.load();
    if (width <= 0 || width > static_cast<int>(self->m_bufferWidth)) width = static_cast<int>(self->m_bufferWidth);
    if (height <= 0 || height > static_cast<int>(self->m_bufferLines)) height = static_cast<int>(self->m_bufferLines);
    self->m_view->presentFrame(self->m_buffer.data(), width, height, static_cast<int>(self->m_pitch));
}

}  // namespace zentrova
