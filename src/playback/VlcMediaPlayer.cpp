#include "playback/VlcMediaPlayer.h"

#include "common/Log.h"
#include "playback/FastPlaySeek.h"
#include "playback/VLCLibrary.h"
#include "playback/VLCVideoView.h"

#include <QImage>
#include <QTemporaryDir>
#include <QTimer>

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

VideoFrameSize::Size sizeOf(const QSize& size) { return {size.width(), size.height()}; }

// The clock the display times of both players are compared on.
double steadyNowMs() {
    using namespace std::chrono;
    return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

}  // namespace

VlcMediaPlayer::VlcMediaPlayer(VLCVideoView* videoView, QObject* parent) : ORVMediaPlayer(parent), m_view(videoView) {
    m_areaSettleTimer = new QTimer(this);
    m_areaSettleTimer->setSingleShot(true);
    m_areaSettleTimer->setInterval(kAreaSettleMs);
    connect(m_areaSettleTimer, &QTimer::timeout, this, &VlcMediaPlayer::restartOutputIfWorthIt);
    m_settleLimitTimer = new QTimer(this);
    m_settleLimitTimer->setSingleShot(true);
    m_settleLimitTimer->setInterval(kSettleLimitMs);
    connect(m_settleLimitTimer, &QTimer::timeout, this, &VlcMediaPlayer::settleLimitReached);
    if (m_view) connect(m_view, &VLCVideoView::pictureAreaChanged, this, &VlcMediaPlayer::viewAreaChanged);
    takeViewArea();
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
        if (swallowHoldNotice()) break;
        m_pauseRequested = false;
        m_heldAtEnd = false;
        applyAudioSettings();
        setState(VLCMediaPlayerState::Playing);
        if (m_outputRestartWanted) restartOutputIfWorthIt();
        break;
    case libvlc_MediaPlayerPaused:
        if (swallowHoldNotice()) break;
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
    default: break;
    }
}

// A hold is nobody's pause: its pause and play are not reported.
bool VlcMediaPlayer::swallowHoldNotice() {
    if (m_holdNoticesToSwallow == 0) return false;
    --m_holdNoticesToSwallow;
    return true;
}

void VlcMediaPlayer::setState(VLCMediaPlayerState state) {
    m_state = state;
    if (m_media || state == VLCMediaPlayerState::Stopped) emit mediaPlayerStateChanged(this);
}

void VlcMediaPlayer::setMedia(std::shared_ptr<VLCMedia> media) {
    if (!m_player) return;
    dropHold();
    dropSettlingMove();
    m_heldAtEnd = false;
    m_outputRestartWanted = false;
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
}

void VlcMediaPlayer::play() {
    if (!m_player || !m_media || m_settling) return;
    // A hidden view is told of no resizes: its size is read again here.
    takeViewArea();
    if (m_heldAtEnd) {
        // play() here would end the media and lose the picture.
        leaveEnd();
        noteMove(0);
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
    noteUnfollowable();
    libvlc_media_player_play(m_player);
}

void VlcMediaPlayer::pause() {
    if (!m_player || !m_media || m_heldAtEnd) return;
    noteUnfollowable();
    if (m_settling) {
        // The move is kept: paused, it shows the new place all the same.
        const auto step = settleStep();
        if (step == PausedMoveWatch::Step::Pausing || step == PausedMoveWatch::Step::PauseHeld) sendSettlingSeek();
        dropSettlingMove();
        m_holdNoticesToSwallow = 0;
        m_pauseRequested = true;
        setState(VLCMediaPlayerState::Paused);
        return;
    }
    if (m_holding) {
        // Already paused: what was a hold is now the pause asked for.
        dropHold();
        setState(VLCMediaPlayerState::Paused);
        return;
    }
    // Whatever is left of a wait's notices, this pause's own must be seen.
    m_holdNoticesToSwallow = 0;
    m_pauseRequested = true;
    libvlc_media_player_set_pause(m_player, 1);
}

void VlcMediaPlayer::stop() {
    if (!m_player) return;
    dropHold();
    dropSettlingMove();
    m_heldAtEnd = false;
    m_pauseRequested = false;
    libvlc_media_player_stop(m_player);
    m_state = VLCMediaPlayerState::Stopped;
}

bool VlcMediaPlayer::isPlaying() const {
    if (m_holding || m_settling) return true;
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
    if (m_settling) {
        const std::int64_t lengthMs = length().intValue();
        if (lengthMs > 0) {
            return static_cast<float>(static_cast<double>(m_settleTargetMs) / static_cast<double>(lengthMs));
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
        settleMoveTo(targetMs);
        return;
    }
    if (m_settling) letGoOfSettledMove();
    if (position < 1.0f) leaveEnd();
    noteMove(targetMs);
    libvlc_media_player_set_position(m_player, position);
}

VLCTime VlcMediaPlayer::time() const {
    if (!m_player || !m_media) return VLCTime::nullTime();
    if (m_heldAtEnd) return length();
    // Where it is going: it shows the old place only until the new is read.
    if (m_settling) return VLCTime::timeWithInt(m_settleTargetMs);
    if (const auto shown = shownMediaMs()) return VLCTime::timeWithInt(std::llround(*shown));
    return VLCTime::timeWithInt(std::max<libvlc_time_t>(libvlc_media_player_get_time(m_player), 0));
}

std::optional<double> VlcMediaPlayer::shownMediaMs() const {
    const double interval = frameIntervalMsOfMedia();
    const double now = steadyNowMs();
    std::lock_guard lock(m_timelineMutex);
    return m_timeline.mediaMsAt(now, interval);
}

void VlcMediaPlayer::setTime(VLCTime time) {
    if (!m_player || !m_media) return;
    const std::int64_t target = FastPlaySeek::landingMs(time.intValue(), length().intValue(), rate());
    if (canSettleMoveTo(target)) {
        settleMoveTo(target);
        return;
    }
    if (m_settling) letGoOfSettledMove();
    if (target < length().intValue()) leaveEnd();
    noteMove(target);
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
    noteUnfollowable();
}

void VlcMediaPlayer::holdFor(int milliseconds) {
    if (!m_player || m_holding || milliseconds <= 0 || !isPlaying()) return;
    // The pictures after it are not in the slots of those before.
    {
        std::lock_guard lock(m_timelineMutex);
        m_timeline.heldFor(steadyNowMs(), milliseconds);
    }
    m_holding = true;
    m_holdNoticesToSwallow = 2;  // the pause and the play after it
    const std::uint64_t hold = ++m_holdCount;
    libvlc_media_player_set_pause(m_player, 1);
    QTimer::singleShot(milliseconds, this, [this, hold] {
        if (hold == m_holdCount) endHold();
    });
}

void VlcMediaPlayer::endHold() {
    if (!m_holding) return;
    m_holding = false;
    ++m_holdCount;
    if (m_player) libvlc_media_player_set_pause(m_player, 0);
}

// Something else takes over: its own notices count again.
void VlcMediaPlayer::dropHold() {
    m_holding = false;
    m_holdNoticesToSwallow = 0;
    ++m_holdCount;
}

bool VlcMediaPlayer::canSettleMoveTo(std::int64_t targetMs) const {
    if (!m_player || !m_media || m_heldAtEnd || targetMs < 0 || targetMs >= length().intValue()) return false;
    if (m_settling) return true;
    // Without pictures nothing would tell when the new place is reached.
    return (m_holding || libvlc_media_player_is_playing(m_player) != 0) && hasVideoOut();
}

void VlcMediaPlayer::settleMoveTo(std::int64_t targetMs) {
    m_settleTargetMs = targetMs;
    m_settleLimitTimer->start();
    if (m_settling) {
        // Moved again: once sent on, it is sent on again; before, the
        // pause has yet to hold and the seek then takes the new place.
        m_settled = false;
        const auto step = settleStep();
        if (step == PausedMoveWatch::Step::Seeking || step == PausedMoveWatch::Step::Settled) sendSettlingSeek();
        return;
    }
    m_settling = true;
    m_settled = false;
    // Until it plays on, its pictures tell nothing of where it is.
    noteUnfollowable();
    {
        std::lock_guard lock(m_timelineMutex);
        m_settleWatch.pauseAsked();
    }
    if (m_holding) {
        // Already paused: the wait's play notice is the one of the let-go.
        m_holding = false;
        ++m_holdCount;
        return;
    }
    m_holdNoticesToSwallow += 2;  // the pause and the play after it
    libvlc_media_player_set_pause(m_player, 1);
}

PausedMoveWatch::Step VlcMediaPlayer::settleStep() const {
    std::lock_guard lock(m_timelineMutex);
    return m_settleWatch.step();
}

// On the decoder's thread.
void VlcMediaPlayer::watchSettlingPicture(const unsigned char* pixels, const VideoFramePool::Layout& layout,
                                          double shownMs) {
    const std::uint64_t digest =
        PausedMoveWatch::digestOf(pixels, layout.bytesPerLine, layout.width * 4, layout.height);
    PausedMoveWatch::News news = PausedMoveWatch::News::Nothing;
    {
        std::lock_guard lock(m_timelineMutex);
        news = m_settleWatch.displayed(digest);
        if (news == PausedMoveWatch::News::PlayingOn) {
            // Known for sure to be the picture after the target: the
            // timeline needs no guess at which pictures are old.
            m_timeline.playedOnFrom(shownMs, m_playedOnFromMs, m_playedOnRate);
            m_timeline.displayed(shownMs);
            return;
        }
    }
    if (news == PausedMoveWatch::News::Nothing) return;
    QMetaObject::invokeMethod(this, [this, news] { settlingNews(news); }, Qt::QueuedConnection);
}

void VlcMediaPlayer::sendSettlingSeek() {
    libvlc_media_player_set_time(m_player, m_settleTargetMs);
    std::lock_guard lock(m_timelineMutex);
    m_settleWatch.seekSent();
}

void VlcMediaPlayer::settlingNews(PausedMoveWatch::News news) {
    if (!m_settling) return;
    const auto step = settleStep();
    // News of an earlier move may still arrive: the watch's step decides.
    if (news == PausedMoveWatch::News::PauseHeld && step == PausedMoveWatch::Step::PauseHeld) sendSettlingSeek();
    if (news == PausedMoveWatch::News::NewPictureShown && step == PausedMoveWatch::Step::Settled) settleReached();
}

void VlcMediaPlayer::settleReached() {
    if (!m_settling) return;
    m_settled = true;
    VlcMediaPlayer* partner = m_partner;
    // The partner lets both go once it shows its new place (or its limit).
    if (partner && partner->m_settling && !partner->m_settled) return;
    letGoOfSettledMove();
    if (partner && partner->hasSettled()) partner->letGoOfSettledMove();
}

// A player never stays paused for a move, whatever it or its partner show.
void VlcMediaPlayer::settleLimitReached() {
    if (!m_settling) return;
    letGoOfSettledMove();
    if (m_partner && m_partner->hasSettled()) m_partner->letGoOfSettledMove();
}

void VlcMediaPlayer::letGoOfSettledMove() {
    m_settling = false;
    m_settled = false;
    m_settleLimitTimer->stop();
    {
        std::lock_guard lock(m_timelineMutex);
        m_settleWatch.letGo();
        m_playedOnFromMs = static_cast<double>(m_settleTargetMs);
        m_playedOnRate = m_player ? libvlc_media_player_get_rate(m_player) : 1.0;
    }
    if (m_player) libvlc_media_player_set_pause(m_player, 0);
}

void VlcMediaPlayer::dropSettlingMove() {
    const bool wasSettling = m_settling;
    m_settling = false;
    m_settled = false;
    m_settleLimitTimer->stop();
    {
        std::lock_guard lock(m_timelineMutex);
        m_settleWatch.reset();
    }
    // A partner waiting for this one would wait for nothing.
    if (wasSettling && m_partner && m_partner->hasSettled()) m_partner->letGoOfSettledMove();
}

void VlcMediaPlayer::noteMove(std::int64_t targetMs) {
    // A wait under way belongs to the place left.
    endHold();
    const double rate = m_player ? libvlc_media_player_get_rate(m_player) : 1.0;
    std::lock_guard lock(m_timelineMutex);
    m_timeline.moved(steadyNowMs(), static_cast<double>(targetMs), rate);
}

void VlcMediaPlayer::noteUnfollowable() {
    std::lock_guard lock(m_timelineMutex);
    m_timeline.invalidate();
}

std::optional<DisplayTimeline::Anchor> VlcMediaPlayer::displayAnchor() const {
    const double interval = frameIntervalMsOfMedia();
    std::lock_guard lock(m_timelineMutex);
    return m_timeline.anchor(interval);
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
    QImage frame = snapshotAtVideoSize();
    if (frame.isNull()) return false;
    if (width > 0 && height > 0) frame = frame.scaled(width, height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    // libVLC's own snapshot is always PNG: the JPEG is written here.
    return frame.save(path, "JPG", 92);
}

// Our frames have the size they are shown at; libVLC takes its snapshot
// from the decoded picture, at the video's own size.
QImage VlcMediaPlayer::snapshotAtVideoSize() {
    if (m_player && m_media && hasVideoOut()) {
        const QTemporaryDir dir;
        const QString png = dir.filePath(QStringLiteral("snapshot.png"));
        if (dir.isValid() && libvlc_video_take_snapshot(m_player, 0, png.toLocal8Bit().constData(), 0, 0) == 0) {
            QImage taken(png);
            if (!taken.isNull()) return taken;
        }
    }
    QImage frame = m_view ? m_view->currentFrame() : QImage();
    const QSize size = videoSize();
    if (!frame.isNull() && !size.isEmpty() && frame.size() != size) {
        frame = frame.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }
    return frame;
}

QSize VlcMediaPlayer::frameSize() const {
    std::lock_guard lock(m_frameMutex);
    return QSize(m_frameSize.width, m_frameSize.height);
}

void VlcMediaPlayer::takeViewArea() {
    if (!m_view) return;
    std::lock_guard lock(m_frameMutex);
    m_area = sizeOf(m_view->pictureArea());
    m_fit = m_view->fillScreen() ? VideoFrameSize::Fit::Cover : VideoFrameSize::Fit::Inside;
}

void VlcMediaPlayer::viewAreaChanged() {
    takeViewArea();
    // Window size steps and full screen animate; frames follow once it stops.
    m_areaSettleTimer->start();
}

void VlcMediaPlayer::restartOutputIfWorthIt() {
    m_outputRestartWanted = false;
    if (!m_player || !m_media) return;
    bool worth = false;
    {
        std::lock_guard lock(m_frameMutex);
        const VideoFrameSize::Size wanted = VideoFrameSize::forArea(m_pictureSize, m_area, m_fit);
        worth = !m_pictureSize.isEmpty() && VideoFrameSize::worthChanging(m_frameSize, wanted);
    }
    if (!worth) return;
    // A paused output gets no new pictures: wait until it plays.
    if (m_state != VLCMediaPlayerState::Playing || m_heldAtEnd) {
        m_outputRestartWanted = true;
        return;
    }
    // Taking the video track away and back makes libVLC open its output
    // again, which asks for the frame format anew; time and sound go on,
    // and the picture holds until the next key frame (a second in camera
    // files). A seek would start at once but stalls the clock for most of
    // a second, which the other player would not share.
    const int track = libvlc_video_get_track(m_player);
    if (track < 0) return;
    libvlc_video_set_track(m_player, -1);
    libvlc_video_set_track(m_player, track);
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

VideoFrameSize::Size VlcMediaPlayer::pictureSizeOfMedia(unsigned offeredWidth, unsigned offeredHeight) {
    // The offered size is the decoder's buffer, often taller than the
    // picture (1090 lines for 1080): the media's track has the real one.
    VideoFrameSize::Size size{static_cast<int>(offeredWidth), static_cast<int>(offeredHeight)};
    const std::optional<libvlc_video_track_t> video = videoTrackOfMedia();
    if (!video || video->i_width == 0 || video->i_height == 0) return size;
    size = {static_cast<int>(video->i_width), static_cast<int>(video->i_height)};
    if (video->i_sar_num > 0 && video->i_sar_den > 0 && video->i_sar_num != video->i_sar_den) {
        size.width = static_cast<int>(static_cast<long long>(size.width) * video->i_sar_num / video->i_sar_den);
    }
    return size;
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
    const VideoFrameSize::Size picture = self->pictureSizeOfMedia(*width, *height);
    VideoFrameSize::Size area;
    VideoFrameSize::Fit fit = VideoFrameSize::Fit::Cover;
    {
        std::lock_guard lock(self->m_frameMutex);
        area = self->m_area;
        fit = self->m_fit;
    }
    const VideoFrameSize::Size frame = VideoFrameSize::forArea(picture, area, fit);
    std::shared_ptr<VideoFramePool> pool = VideoFramePool::create(frame.width, frame.height);
    if (!pool) {
        logLine("no frame buffers for " + std::to_string(frame.width) + "x" + std::to_string(frame.height));
        return 0;
    }
    // libVLC scales and converts the decoded picture into our frame size.
    std::memcpy(chroma, "RV32", 4);
    *width = static_cast<unsigned>(frame.width);
    *height = static_cast<unsigned>(frame.height);
    pitches[0] = static_cast<unsigned>(pool->layout().bytesPerLine);
    lines[0] = static_cast<unsigned>(frame.height);
    std::lock_guard lock(self->m_frameMutex);
    self->m_pictureSize = picture;
    self->m_frameSize = frame;
    self->m_writingPool = std::move(pool);
    return 1;
}

void VlcMediaPlayer::onCleanup(void* opaque) {
    auto* self = static_cast<VlcMediaPlayer*>(opaque);
    // The view keeps the pool of the frame it shows for as long as it shows it.
    std::lock_guard lock(self->m_frameMutex);
    self->m_writingPool.reset();
}

void* VlcMediaPlayer::onLock(void* opaque, void** planes) {
    auto* self = static_cast<VlcMediaPlayer*>(opaque);
    std::lock_guard lock(self->m_frameMutex);
    planes[0] = self->m_writingPool ? self->m_writingPool->beginWriting() : nullptr;
    return planes[0];
}

void VlcMediaPlayer::onUnlock(void*, void*, void* const*) {}

void VlcMediaPlayer::onDisplay(void* opaque, void* picture) {
    const double shownMs = steadyNowMs();
    auto* self = static_cast<VlcMediaPlayer*>(opaque);
    VideoFramePool::Layout layout;
    {
        std::lock_guard lock(self->m_frameMutex);
        if (!self->m_writingPool) return;
        self->m_writingPool->publish(static_cast<const unsigned char*>(picture));
        self->m_publishedPool = self->m_writingPool;
        layout = self->m_writingPool->layout();
    }
    bool watching = false;
    {
        std::lock_guard lock(self->m_timelineMutex);
        self->m_timeline.displayed(shownMs);
        watching = self->m_settleWatch.isActive();
    }
    if (watching) self->watchSettlingPicture(static_cast<const unsigned char*>(picture), layout, shownMs);
    // One notice at a time: frames that come faster than the view paints
    // are skipped, not queued.
    if (self->m_frameNoticePending.exchange(true)) return;
    QMetaObject::invokeMethod(self, [self] { self->presentNewFrame(); }, Qt::QueuedConnection);
}

}  // namespace zentrova
