#include "playback/VlcMediaPlayer.h"

#include "common/Log.h"
#include "playback/FastPlaySeek.h"
#include "playback/VLCLibrary.h"
#include "playback/VLCVideoView.h"

#include <QImage>

#include <vlc/vlc.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstring>
#include <string>
#include <utility>

namespace zentrova {
namespace {

const libvlc_event_type_t kEvents[] = {
    libvlc_MediaPlayerOpening, libvlc_MediaPlayerBuffering, libvlc_MediaPlayerPlaying,
    libvlc_MediaPlayerPaused,  libvlc_MediaPlayerStopped,   libvlc_MediaPlayerEndReached,
    libvlc_MediaPlayerEncounteredError, libvlc_MediaPlayerTimeChanged, libvlc_MediaPlayerLengthChanged,
};

// A pause that nobody asked for this close to the end is libVLC holding the
// last frame (--play-and-pause); time updates every 250 ms, so at 2x the
// position may stop near 0.9.
constexpr float kEndHoldPosition = 0.85f;

// The chroma names libVLC gives and takes.
constexpr char kI420[] = "I420";
constexpr char kFullRangeI420[] = "J420";
constexpr char kNv12[] = "NV12";

bool isChroma(const char* offered, const char* name) { return std::memcmp(offered, name, 4) == 0; }

// What a decoder may keep for reference, the pictures queued for display
// and the output's own: libVLC asks for about 28 for H.264 and H.265
// before it lets the decoder write into the buffers it is given.
constexpr unsigned kDecoderBuffers = 40;

// The clock the display times of both players are compared on.
double steadyNowMs() {
    using namespace std::chrono;
    return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

}  // namespace

VlcMediaPlayer::VlcMediaPlayer(VLCVideoView* videoView, QObject* parent)
    : ORVMediaPlayer(parent), m_view(videoView), m_pacing(*this, m_delayedSteps, steadyNowMs) {
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
    if (m_item) libvlc_media_release(m_item);
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
        if (m_pacing.swallowHoldNotice()) break;
        m_pauseRequested = false;
        m_heldAtEnd = false;
        applyAudioSettings();
        setState(VLCMediaPlayerState::Playing);
        break;
    case libvlc_MediaPlayerPaused:
        if (m_pacing.swallowHoldNotice()) break;
        // Of a file without a length (no video, no index) nothing is left
        // after a pause nobody asked for either.
        if (!m_pauseRequested && m_player &&
            (libvlc_media_player_get_position(m_player) >= kEndHoldPosition || length().intValue() <= 0)) {
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
    default: break;
    }
}

void VlcMediaPlayer::setState(VLCMediaPlayerState state) {
    m_state = state;
    if (m_media || state == VLCMediaPlayerState::Stopped) emit mediaPlayerStateChanged(this);
}

void VlcMediaPlayer::setMedia(std::shared_ptr<VLCMedia> media) {
    if (!m_player) return;
    m_pacing.dropAll();
    m_heldAtEnd = false;
    m_frameIntervalMs = 0;
    m_media = std::move(media);
    libvlc_media_t* item = nullptr;
    if (m_media) {
        item = libvlc_media_new_path(VLCLibrary::sharedLibrary(), m_media->path().toLocal8Bit().constData());
    }
    libvlc_media_player_set_media(m_player, item);
    libvlc_media_t* previous = nullptr;
    {
        // Kept for the decoder's thread, which reads the picture size from it.
        std::lock_guard lock(m_frameMutex);
        previous = std::exchange(m_item, item);
        if (!m_media) m_publishedPool.reset();
    }
    if (previous) libvlc_media_release(previous);
    if (!m_media && m_view) m_view->clearFrame();
    emit mediaChanged(this);
}

void VlcMediaPlayer::play() {
    if (!m_player || !m_media || m_pacing.isSettling()) return;
    if (m_heldAtEnd) {
        // play() here would end the media and lose the picture.
        leaveEnd();
        m_pacing.noteMove(0);
        libvlc_media_player_set_time(m_player, 0);
        libvlc_media_player_set_pause(m_player, 0);
        return;
    }
    if (m_state == VLCMediaPlayerState::Paused) {
        libvlc_media_player_set_pause(m_player, 0);
        return;
    }
    // A start shows its first picture as soon as the output opens and the
    // next ones only once the clock runs: where the pictures start counting
    // is unknown, so a start is not followed (both start in step anyway).
    m_pacing.noteUnfollowable();
    libvlc_media_player_play(m_player);
}

void VlcMediaPlayer::pause() {
    if (!m_player || !m_media || m_heldAtEnd) return;
    m_pacing.noteUnfollowable();
    if (m_pacing.isSettling()) {
        m_pacing.keepMoveThroughPause();
        m_pauseRequested = true;
        setState(VLCMediaPlayerState::Paused);
        return;
    }
    if (m_pacing.isHolding()) {
        // Already paused: what was a hold is now the pause asked for.
        m_pacing.dropHold();
        setState(VLCMediaPlayerState::Paused);
        return;
    }
    m_pacing.countOwnNoticesAgain();
    m_pauseRequested = true;
    libvlc_media_player_set_pause(m_player, 1);
}

void VlcMediaPlayer::stop() {
    if (!m_player) return;
    m_pacing.dropAll();
    m_heldAtEnd = false;
    m_pauseRequested = false;
    libvlc_media_player_stop(m_player);
    m_state = VLCMediaPlayerState::Stopped;
}

bool VlcMediaPlayer::isPlaying() const {
    if (m_pacing.isHolding() || m_pacing.isSettling()) return true;
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
    if (m_pacing.isSettling()) {
        const std::int64_t lengthMs = length().intValue();
        if (lengthMs > 0) {
            return static_cast<float>(static_cast<double>(m_pacing.settleTargetMs()) / static_cast<double>(lengthMs));
        }
    }
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
    const std::int64_t lengthMs = length().intValue();
    const auto targetMs = static_cast<std::int64_t>(static_cast<double>(position) * static_cast<double>(lengthMs));
    if (position < 1.0f && lengthMs > 0 && rate() > FastPlaySeek::kFastestExactRate) {
        setTime(VLCTime::timeWithInt(targetMs));
        return;
    }
    if (position < 1.0f && lengthMs > 0 && canSettleMoveTo(targetMs)) {
        m_pacing.settleMoveTo(targetMs);
        return;
    }
    if (m_pacing.isSettling()) m_pacing.letGoOfSettledMove();
    if (position < 1.0f) leaveEnd();
    m_pacing.noteMove(targetMs);
    libvlc_media_player_set_position(m_player, position);
}

VLCTime VlcMediaPlayer::time() const {
    if (!m_player || !m_media) return VLCTime::nullTime();
    if (m_heldAtEnd) return length();
    // Where it is going: it shows the old place only until the new is read.
    if (m_pacing.isSettling()) return VLCTime::timeWithInt(m_pacing.settleTargetMs());
    // Right after a settled move, where the pictures say it is: libVLC's
    // own time still names the target for a while.
    if (const auto shown = m_pacing.shownMediaMs(frameIntervalMsOfMedia())) {
        return VLCTime::timeWithInt(std::llround(*shown));
    }
    return VLCTime::timeWithInt(std::max<libvlc_time_t>(libvlc_media_player_get_time(m_player), 0));
}

void VlcMediaPlayer::setTime(VLCTime time) {
    if (!m_player || !m_media) return;
    const std::int64_t target = FastPlaySeek::landingMs(time.intValue(), length().intValue(), rate());
    if (canSettleMoveTo(target)) {
        m_pacing.settleMoveTo(target);
        return;
    }
    if (m_pacing.isSettling()) m_pacing.letGoOfSettledMove();
    if (target < length().intValue()) leaveEnd();
    m_pacing.noteMove(target);
    libvlc_media_player_set_time(m_player, target);
}

// Counted down towards the end, so it is zero or negative.
VLCTime VlcMediaPlayer::remainingTime() const {
    const std::int64_t left = length().intValue() - time().intValue();
    return VLCTime::timeWithInt(-std::max<std::int64_t>(left, 0));
}

float VlcMediaPlayer::rate() const { return m_player ? libvlc_media_player_get_rate(m_player) : 1.0f; }

void VlcMediaPlayer::setRate(float rate) {
    if (!m_player) return;
    libvlc_media_player_set_rate(m_player, rate);
    // The clock takes the new rate at a moment nobody knows.
    m_pacing.noteUnfollowable();
}

void VlcMediaPlayer::holdFor(int milliseconds) {
    if (!m_player || !isPlaying()) return;
    m_pacing.holdFor(milliseconds);
}

bool VlcMediaPlayer::canSettleMoveTo(std::int64_t targetMs) const {
    if (!m_player || !m_media || m_heldAtEnd || targetMs < 0 || targetMs >= length().intValue()) return false;
    return m_pacing.canSettle(libvlc_media_player_is_playing(m_player) != 0, hasVideoOut());
}

// On the decoder's thread.
void VlcMediaPlayer::watchSettlingPicture(const unsigned char* pixels, const VideoFramePool::Layout& layout,
                                          double shownMs) {
    // The luma alone tells one picture from another.
    const VideoFramePool::Plane& luma = layout.planes[0];
    const std::uint64_t digest =
        PausedMoveWatch::digestOf(pixels + luma.offset, luma.bytesPerLine, layout.width, layout.height);
    const PausedMoveWatch::News news = m_pacing.settlingPictureShown(digest, shownMs);
    if (news == PausedMoveWatch::News::Nothing) return;
    QMetaObject::invokeMethod(this, [this, news] { m_pacing.settlingNews(news); }, Qt::QueuedConnection);
}

std::optional<DisplayTimeline::Anchor> VlcMediaPlayer::displayAnchor() const {
    return m_pacing.displayAnchor(frameIntervalMsOfMedia());
}

void VlcMediaPlayer::setOutputPaused(bool paused) {
    if (m_player) libvlc_media_player_set_pause(m_player, paused ? 1 : 0);
}

void VlcMediaPlayer::seekOutputTo(std::int64_t milliseconds) {
    if (m_player) libvlc_media_player_set_time(m_player, milliseconds);
}

double VlcMediaPlayer::outputRate() const { return m_player ? libvlc_media_player_get_rate(m_player) : 1.0; }

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
    if (!m_media || !m_view) return false;
    // From the decoded picture; libVLC's own snapshot is always PNG.
    QImage picture = m_view->pictureAtVideoSize();
    if (picture.isNull()) return false;
    if (width > 0 && height > 0) {
        picture = picture.scaled(width, height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }
    return picture.save(path, "JPG", 92);
}

QSize VlcMediaPlayer::pictureSize() const {
    std::lock_guard lock(m_frameMutex);
    if (!m_writingPool) return QSize();
    const VideoFramePool::Layout& layout = m_writingPool->layout();
    return QSize(layout.width, layout.height);
}

void VlcMediaPlayer::presentNewFrame() {
    m_frameNoticePending = false;
    std::shared_ptr<VideoFramePool> pool;
    {
        std::lock_guard lock(m_frameMutex);
        pool = m_publishedPool;
    }
    if (m_view && pool) m_view->showFramesFrom(std::move(pool));
}

std::optional<libvlc_video_track_t> VlcMediaPlayer::videoTrackOfMedia() const {
    libvlc_media_t* item = nullptr;
    {
        std::lock_guard lock(m_frameMutex);
        item = m_item;
        if (item) libvlc_media_retain(item);
    }
    if (!item) return std::nullopt;
    std::optional<libvlc_video_track_t> found;
    libvlc_media_track_t** tracks = nullptr;
    const unsigned count = libvlc_media_tracks_get(item, &tracks);
    for (unsigned i = 0; i < count && !found; ++i) {
        const libvlc_media_track_t* track = tracks[i];
        if (track->i_type == libvlc_track_video && track->video) found = *track->video;
    }
    if (tracks) libvlc_media_tracks_release(tracks, count);
    libvlc_media_release(item);
    return found;
}

VideoFramePool::Layout VlcMediaPlayer::pictureLayoutOfMedia(const char* offeredChroma, unsigned offeredWidth,
                                                            unsigned offeredHeight) const {
    // Taken as the decoder gives them, so that libVLC converts nothing;
    // anything else is converted to I420 by libVLC.
    const VideoFramePool::Format format =
        isChroma(offeredChroma, kNv12) ? VideoFramePool::Format::Nv12 : VideoFramePool::Format::I420;
    const int bufferWidth = static_cast<int>(offeredWidth);
    const int bufferLines = static_cast<int>(offeredHeight);
    // The offered size is the decoder's buffer, often taller than the
    // picture (258 lines for 240): the media's track has the real one.
    int width = bufferWidth;
    int height = bufferLines;
    int displayWidth = 0;
    const std::optional<libvlc_video_track_t> video = videoTrackOfMedia();
    if (video && video->i_width > 0 && video->i_height > 0) {
        width = std::min(static_cast<int>(video->i_width), bufferWidth);
        height = std::min(static_cast<int>(video->i_height), bufferLines);
        if (video->i_sar_num > 0 && video->i_sar_den > 0 && video->i_sar_num != video->i_sar_den) {
            displayWidth = static_cast<int>(static_cast<long long>(width) * video->i_sar_num / video->i_sar_den);
        }
    }
    VideoFramePool::Layout layout = VideoFramePool::Layout::yuv(format, bufferWidth, bufferLines, width, height);
    layout.fullRange = isChroma(offeredChroma, kFullRangeI420);
    if (displayWidth > 0 && displayWidth <= VideoFramePool::kLargestSide) layout.displayWidth = displayWidth;
    return layout;
}

double VlcMediaPlayer::frameIntervalMsOfMedia() const {
    // Asked for many times a second: the file's rate is read once it is known.
    if (m_frameIntervalMs > 0) return m_frameIntervalMs;
    // Before the file was read its rate is unknown: cameras record 30 per second.
    constexpr double kUsualIntervalMs = 1000.0 / 30.0;
    const std::optional<libvlc_video_track_t> video = videoTrackOfMedia();
    if (!video || video->i_frame_rate_num == 0 || video->i_frame_rate_den == 0) return kUsualIntervalMs;
    const double interval = 1000.0 * video->i_frame_rate_den / video->i_frame_rate_num;
    if (interval < 1.0 || interval > 1000.0) return kUsualIntervalMs;
    m_frameIntervalMs = interval;
    return interval;
}

unsigned VlcMediaPlayer::onFormat(void** opaque, char* chroma, unsigned* width, unsigned* height, unsigned* pitches,
                                  unsigned* lines) {
    auto* self = static_cast<VlcMediaPlayer*>(*opaque);
    const VideoFramePool::Layout layout = self->pictureLayoutOfMedia(chroma, *width, *height);
    std::shared_ptr<VideoFramePool> pool = VideoFramePool::create(layout);
    if (!pool) {
        logLine("no picture buffers for " + std::to_string(*width) + "x" + std::to_string(*height));
        return 0;
    }
    const char* name = layout.format == VideoFramePool::Format::Nv12 ? kNv12
                       : layout.fullRange                            ? kFullRangeI420
                                                                     : kI420;
    std::memcpy(chroma, name, 4);
    // Asked for at the visible size, libVLC copies the decoded picture as
    // it is; at the buffer's size it would stretch it to fill the buffer.
    *width = static_cast<unsigned>(layout.width);
    *height = static_cast<unsigned>(layout.height);
    for (int i = 0; i < layout.planeCount; ++i) {
        const VideoFramePool::Plane& plane = layout.planes[static_cast<std::size_t>(i)];
        pitches[i] = static_cast<unsigned>(plane.bytesPerLine);
        lines[i] = static_cast<unsigned>(plane.lines);
    }
    std::lock_guard lock(self->m_frameMutex);
    self->m_writingPool = std::move(pool);
    self->m_aheadLimit = DecodeAheadLimit(kDecoderBuffers);
    // Enough for the decoder to decode into our buffers directly, where the
    // video output allows it; buffers are only made when the decoder asks.
    return kDecoderBuffers;
}

void VlcMediaPlayer::onCleanup(void* opaque) {
    auto* self = static_cast<VlcMediaPlayer*>(opaque);
    // The view keeps the pool of the frame it shows for as long as it shows it.
    std::lock_guard lock(self->m_frameMutex);
    self->m_writingPool.reset();
}

void VlcMediaPlayer::waitWhileFarAhead(std::unique_lock<std::mutex>& lock) {
    if (!m_writingPool || !m_aheadLimit.shouldWait(m_writingPool->lentCount(), steadyNowMs())) return;
    const bool cameBack = m_bufferCameBack.wait_for(lock, std::chrono::milliseconds(DecodeAheadLimit::kWaitMs), [this] {
        return !m_writingPool || m_aheadLimit.mayTakeOneMore(m_writingPool->lentCount());
    });
    if (!cameBack) m_aheadLimit.waitedInVain();
}

void* VlcMediaPlayer::onLock(void* opaque, void** planes) {
    auto* self = static_cast<VlcMediaPlayer*>(opaque);
    std::unique_lock lock(self->m_frameMutex);
    self->waitWhileFarAhead(lock);
    unsigned char* buffer = self->m_writingPool ? self->m_writingPool->beginWriting() : nullptr;
    const VideoFramePool::Layout* layout = self->m_writingPool ? &self->m_writingPool->layout() : nullptr;
    for (int i = 0; layout && i < layout->planeCount; ++i) {
        planes[i] = buffer ? buffer + layout->planes[static_cast<std::size_t>(i)].offset : nullptr;
    }
    return buffer;
}

void VlcMediaPlayer::onUnlock(void* opaque, void* picture, void* const*) {
    auto* self = static_cast<VlcMediaPlayer*>(opaque);
    std::lock_guard lock(self->m_frameMutex);
    // A buffer of a pool given up already goes with that pool.
    if (self->m_writingPool) self->m_writingPool->giveBack(static_cast<const unsigned char*>(picture));
    self->m_bufferCameBack.notify_all();
}

void VlcMediaPlayer::onDisplay(void* opaque, void* picture) {
    const double shownMs = steadyNowMs();
    auto* self = static_cast<VlcMediaPlayer*>(opaque);
    VideoFramePool::Layout layout;
    {
        std::lock_guard lock(self->m_frameMutex);
        if (!self->m_writingPool) return;
        self->m_writingPool->publish(static_cast<const unsigned char*>(picture));
        self->m_aheadLimit.pictureShown(shownMs);
        self->m_publishedPool = self->m_writingPool;
        layout = self->m_writingPool->layout();
    }
    if (self->m_pacing.pictureShown(shownMs)) {
        self->watchSettlingPicture(static_cast<const unsigned char*>(picture), layout, shownMs);
    }
    // One notice at a time: frames that come faster than the view paints
    // are skipped, not queued.
    if (self->m_frameNoticePending.exchange(true)) return;
    QMetaObject::invokeMethod(self, [self] { self->presentNewFrame(); }, Qt::QueuedConnection);
}

}  // namespace zentrova
