#include "playback/ORVPlayController.h"

#include <QFileInfo>
#include <QMetaObject>

#include <algorithm>
#include <cstdlib>
#include <cstdio>
#include <mutex>
#include <thread>

#include "common/Log.h"
#include "common/linux/FileChecks.h"
#include "controls/UiText.h"
#include "playback/ORVPlayControlHost.h"
#include "playback/VLCMedia.h"
#include "recordings/ORVMediaList.h"
#include "recordings/ORVMediaPair.h"
#include "telemetry/ORVBlackBoxData.h"

namespace zentrova {
namespace {

constexpr double kAtTheEnd = 0.998;
constexpr double kNearTheEnd = 0.95;
constexpr int kJumpSeconds = 10;
constexpr double kMaxSpeed = 2.0;
constexpr double kMinSpeed = 1.0;
// Closer than a frame: already showing the same picture.
constexpr std::int64_t kInStepMs = 20;

bool hasMedia(const ORVMediaPlayer* player) { return player && player->media(); }

bool isPausedOrHeld(const ORVMediaPlayer* player) { return player->state() == VLCMediaPlayerState::Paused; }

bool hasMediaAndPlays(const ORVMediaPlayer* player) { return hasMedia(player) && player->isPlaying(); }

// A player stops playing the moment it is paused, but says so only with
// its notice: its picture stays all along.
bool hasPictureToShow(const ORVMediaPlayer* player) {
    if (!hasMedia(player)) return false;
    const VLCMediaPlayerState state = player->state();
    return player->isPlaying() || state == VLCMediaPlayerState::Playing || isPausedOrHeld(player);
}

ORVMediaDirection directionOf(const ORVMediaPlayer* player) {
    return hasMedia(player) ? player->media()->mediaDirection() : ORVMediaDirectionUnknown;
}

void giveNoMediaTo(ORVMediaPlayer* player) { player->setMedia(nullptr); }

void moveToItsEnd(ORVMediaPlayer* player) { player->setTime(player->media()->length()); }

void logFormatted(const char* format, auto... values) {
    char line[512];
    std::snprintf(line, sizeof line, format, values...);
    logLine(line);
}

// A player that stops, ends, fails or pauses before it ever played in this
// start will not play this file.
bool gaveUpBeforePlaying(VLCMediaPlayerState state) {
    switch (state) {
    case VLCMediaPlayerState::Stopped:
    case VLCMediaPlayerState::Ended:
    case VLCMediaPlayerState::Error:
    case VLCMediaPlayerState::Paused: return true;
    default: return false;
    }
}

QString fileNameOf(const ORVMediaPlayer* player) {
    return hasMedia(player) ? QFileInfo(player->media()->path()).fileName() : QString();
}

// Where a worker thread hands its answer over: the receiver, until it goes.
struct AnswerMailbox {
    std::mutex mutex;
    QObject* receiver = nullptr;
};

}  // namespace

ORVPlayController::BackgroundRunner ORVPlayController::detachedThreadRunner(QObject& receiver) {
    auto mailbox = std::make_shared<AnswerMailbox>();
    mailbox->receiver = &receiver;
    // Emitted on the receiver's thread before it is gone; a worker posting
    // at that moment holds the lock for no longer than the post.
    QObject::connect(&receiver, &QObject::destroyed, [mailbox] {
        const std::lock_guard lock(mailbox->mutex);
        mailbox->receiver = nullptr;
    });
    return [mailbox](std::function<Telemetry()> work, std::function<void(Telemetry)> done) {
        std::thread([mailbox, work = std::move(work), done = std::move(done)]() mutable {
            Telemetry telemetry = work();
            const std::lock_guard lock(mailbox->mutex);
            if (!mailbox->receiver) return;
            QMetaObject::invokeMethod(
                mailbox->receiver, [done = std::move(done), telemetry = std::move(telemetry)] { done(telemetry); },
                Qt::QueuedConnection);
        }).detach();
    };
}

ORVPlayController::ORVPlayController(Parts parts, QObject* parent)
    : QObject(parent),
      m_player1(parts.player1),
      m_player2(parts.player2),
      m_mediaList(parts.mediaList),
      m_host(parts.host),
      m_delayedSteps(std::move(parts.delayedSteps)),
      m_extractTelemetry(std::move(parts.extractTelemetry)),
      m_runInBackground(std::move(parts.runInBackground)),
      m_returnFreedMemory(std::move(parts.returnFreedMemory)),
      m_playInfo(new ORVPlayInfo(this)) {
    for (ORVMediaPlayer* player : {m_player1, m_player2}) {
        connect(player, &ORVMediaPlayer::mediaPlayerStateChanged, this,
                [this](ORVMediaPlayer* sender) { mediaPlayerStateChanged(sender); });
        connect(player, &ORVMediaPlayer::mediaPlayerTimeChanged, this,
                [this](ORVMediaPlayer* sender) { mediaPlayerTimeChanged(sender); });
    }
    connect(this, &ORVPlayController::volumeChanged, this, &ORVPlayController::updateAudioUI);
    connect(m_playInfo, &ORVPlayInfo::audioMediaDirectionChanged, this, &ORVPlayController::updateAudioUI);
}

ORVPlayController::~ORVPlayController() { *m_alive = false; }

bool ORVPlayController::isPlaying(const ORVMediaPlayer* player) {
    return hasMediaAndPlays(player) && player->remainingTime().stringValue() != "00:00";
}

bool ORVPlayController::hasAudio(const ORVMediaPlayer* player) {
    return hasMedia(player) && !player->audioTrackIndexes().isEmpty();
}

// ---- Starting and moving on ----------------------------------------------

bool ORVPlayController::playAtIndex(std::int64_t index) {
    const auto count = static_cast<std::int64_t>(m_mediaList->count());
    if (count == 0 || m_waitingForPlayStart) return false;
    index = std::clamp<std::int64_t>(index, 0, count - 1);

    m_waitingForPlayStart = true;
    for (ORVMediaPlayer* player : {m_player1, m_player2}) {
        player->stop();
        giveNoMediaTo(player);
    }
    const std::uint64_t start = ++m_startNumber;
    clearStartWatch();
    m_mediaIndex = index;
    m_host->selectRow(index);
    m_preparingPlayNext = false;
    startTimerPlayNext();
    if (const std::optional<QString> reason = updateVideoUI()) {
        const std::shared_ptr<ORVMedia> media = m_mediaList->mediaAtIndex(static_cast<size_t>(index));
        recordingCannotBePlayed(media ? QString::fromStdString(media->fileName()) : QString(), *reason);
        return false;
    }
    emit playingMediaChanged();
    showLoading();

    const ORVMediaPlayer* front = m_player1;
    if (hasMedia(m_player1) && m_player1->media()->isRearMedia()) front = m_player2;
    std::string frontPath = hasMedia(front) ? front->media()->path().toStdString() : std::string();
    extractTelemetryThenPlay(start, std::move(frontPath));
    return true;
}

void ORVPlayController::extractTelemetryThenPlay(std::uint64_t start, std::string frontPath) {
    auto work = [extract = m_extractTelemetry, frontPath = std::move(frontPath)]() -> Telemetry {
        if (frontPath.empty() || !extract) return std::make_shared<ORVBlackBoxData>();
        Telemetry telemetry = extract(frontPath);
        return telemetry ? telemetry : std::make_shared<ORVBlackBoxData>();
    };
    auto done = [this, alive = std::weak_ptr<bool>(m_alive), start](Telemetry telemetry) {
        const auto stillHere = alive.lock();
        if (stillHere && *stillHere) beginPlay(start, std::move(telemetry));
    };
    m_runInBackground(std::move(work), std::move(done));
}

void ORVPlayController::beginPlay(std::uint64_t start, Telemetry telemetry) {
    // A stop or a newer start came in while the telemetry was read.
    if (start != m_startNumber) return;
    m_telemetry = std::move(telemetry);
    m_host->showTelemetry(m_telemetry);
    initMediaControlView();
    m_startBegun = true;
    playBoth();
    afterInSameStart(kStartLimitSeconds, [this, start] { startTookTooLong(start); });
}

void ORVPlayController::clearStartWatch() {
    m_startBegun = false;
    m_player1Shown = {};
    m_player2Shown = {};
}

std::optional<QString> ORVPlayController::updateVideoUI() {
    const std::shared_ptr<ORVMedia> media = m_mediaList->mediaAtIndex(static_cast<size_t>(m_mediaIndex));
    if (!media) return uiText("play.cannot_play.gone");
    const std::shared_ptr<ORVMediaPair> pair = m_mediaList->findMediaPairWithFileName(media->mediaName());

    // The player would wait for ever on a FIFO and read a device as a
    // stream: only a regular file that opens is handed to it.
    if (const auto reason = unreadableFileReason(media->path())) return QString::fromStdString(*reason);
    m_player1->setMedia(VLCMedia::mediaWithPath(QString::fromStdString(media->path())));
    std::shared_ptr<ORVMedia> other;
    if (media->isRearMedia()) {
        m_host->setVideoLogos(QStringLiteral("v1_rear_logo"), QStringLiteral("v2_front_logo"));
        if (pair) other = pair->frontMedia;
    } else {
        m_host->setVideoLogos(QStringLiteral("v1_front_logo"), QStringLiteral("v2_rear_logo"));
        if (pair) other = pair->rearMedia;
    }
    std::optional<std::string> otherUnreadable;
    if (other) otherUnreadable = unreadableFileReason(other->path());
    if (other && !otherUnreadable) {
        m_player2->setMedia(VLCMedia::mediaWithPath(QString::fromStdString(other->path())));
    } else {
        m_player2->stop();
        giveNoMediaTo(m_player2);
    }
    m_host->setSecondVideoPresent(hasMedia(m_player2));
    if (otherUnreadable) {
        m_host->showPlayMessage(uiFormat("play.cannot_play_fmt", QString::fromStdString(other->fileName()),
                                         QString::fromStdString(*otherUnreadable)));
    }
    return std::nullopt;
}

void ORVPlayController::initMediaControlView() {
    m_waitingForPlayStart = true;
    m_playInfo->setPosition(0.0);
    m_host->setVideoScaleIndex(0);
    m_host->resetTelemetryReadouts();
    m_playInfo->setSpeed(1.0);
    m_player1->setRate(1.0f);
    m_player2->setRate(1.0f);
    m_playInfo->setPosition(0.0);
}

void ORVPlayController::playBoth() {
    m_player1->play();
    if (hasMedia(m_player2)) m_player2->play();
}

bool ORVPlayController::playNext() {
    if (m_mediaIndex < 0) return false;
    const std::shared_ptr<ORVMedia> media = m_mediaList->mediaAtIndex(static_cast<size_t>(m_mediaIndex));
    if (!media) return false;
    const std::shared_ptr<ORVMediaPair> pair = m_mediaList->findMediaPairWithFileName(media->mediaName());
    const bool bothSides = pair && pair->frontMedia && pair->rearMedia;
    const std::int64_t next = m_mediaIndex + (bothSides ? 2 : 1);
    if (next >= static_cast<std::int64_t>(m_mediaList->count())) return false;
    return playAtIndex(next);
}

void ORVPlayController::startTimerPlayNext() {
    m_playStopTimer = m_delayedSteps->every(1000, [this] { everySecond(); });
}

void ORVPlayController::everySecond() {
    timerPlayNext();
    returnFreedMemoryAfterPlaying();
}

void ORVPlayController::returnFreedMemoryAfterPlaying() {
    const bool plays = hasMediaAndPlays(m_player1) || hasMediaAndPlays(m_player2);
    // A stop frees the players' queues of video; the second after gives those back too.
    if ((plays || m_playedInTheLastSecond) && m_returnFreedMemory) m_returnFreedMemory();
    m_playedInTheLastSecond = plays;
}

void ORVPlayController::timerPlayNext() {
    if (m_preparingPlayNext || !isPausedOrHeld(m_player1) || m_player1->position() < kNearTheEnd) return;
    m_preparingPlayNext = true;
    afterInSameStart(1.0, [this] { playNext(); });
}

void ORVPlayController::stopPlay() {
    for (ORVMediaPlayer* player : {m_player1, m_player2}) {
        player->pause();
        giveNoMediaTo(player);
    }
    // A start still reading its telemetry must neither begin later nor keep
    // every following start refused.
    ++m_startNumber;
    m_waitingForPlayStart = false;
    clearStartWatch();
    hideLoading();
    showVideoViews(false, false);
    emit playingMediaChanged();
}

// ---- A start that does not come to play ----------------------------------

void ORVPlayController::noteWhatPlayerShows(const ORVMediaPlayer* player) {
    if (!m_startBegun || !hasMedia(player)) return;
    Shown& shown = player == m_player1 ? m_player1Shown : m_player2Shown;
    if (player->isPlaying()) shown.playing = true;
    if (player->hasVideoOut()) shown.picture = true;
}

bool ORVPlayController::cannotPlay(ORVMediaPlayer* player) {
    if (!m_startBegun || !hasMedia(player)) return false;
    noteWhatPlayerShows(player);
    if (!gaveUpBeforePlaying(player->state())) return false;
    const Shown& shown = player == m_player1 ? m_player1Shown : m_player2Shown;
    if (m_waitingForPlayStart && !shown.playing) return true;
    // A file without a picture may play for a moment (the player reads it
    // through) and then end: that is no recording either. A pause asked
    // for is not an end.
    if (shown.picture) return false;
    return player->state() != VLCMediaPlayerState::Paused || player->position() >= kNearTheEnd;
}

void ORVPlayController::startTookTooLong(std::uint64_t start) {
    if (start != m_startNumber || !m_waitingForPlayStart || !m_startBegun) return;
    const QString reason = uiFormat("play.cannot_play.timeout_fmt", QString::number(kStartLimitSeconds));
    if (!m_player1Shown.playing && !hasMediaAndPlays(m_player1)) {
        recordingCannotBePlayed(fileNameOf(m_player1), reason);
    } else if (hasMedia(m_player2)) {
        secondFileCannotBePlayed(reason);
    } else {
        startOrUpdateAudio();
    }
}

// Told in the window, and passed over as if it had ended at once: the
// automatic move goes on with the next recording.
void ORVPlayController::recordingCannotBePlayed(const QString& fileName, const QString& reason) {
    logLine("cannot play " + fileName.toStdString() + ": " + reason.toStdString());
    m_waitingForPlayStart = false;
    clearStartWatch();
    hideLoading();
    for (ORVMediaPlayer* player : {m_player1, m_player2}) {
        if (hasMedia(player)) player->stop();
        giveNoMediaTo(player);
    }
    m_host->setSecondVideoPresent(false);
    showVideoViews(false, false);
    m_playInfo->setIsPlaying(false);
    // Nothing of it is shown, nor is the recording before it.
    m_telemetry = std::make_shared<ORVBlackBoxData>();
    m_host->showTelemetry(m_telemetry);
    m_host->resetTelemetryReadouts();
    m_host->showPlayMessage(uiFormat("play.cannot_play_fmt", fileName, reason));
    emit playingMediaChanged();
    m_preparingPlayNext = true;
    afterInSameStart(1.0, [this] {
        m_preparingPlayNext = false;
        playNext();
    });
}

// The main file plays on alone, as a recording without a second file does.
void ORVPlayController::secondFileCannotBePlayed(const QString& reason) {
    const QString fileName = fileNameOf(m_player2);
    logLine("cannot play " + fileName.toStdString() + ": " + reason.toStdString());
    m_player2->stop();
    giveNoMediaTo(m_player2);
    m_host->setSecondVideoPresent(false);
    updateVideoViewVisibility();
    m_host->showPlayMessage(uiFormat("play.cannot_play_fmt", fileName, reason));
    if (hasMediaAndPlays(m_player1)) startOrUpdateAudio();
}

// ---- Player notices ------------------------------------------------------

void ORVPlayController::updateVideoViewVisibility() {
    bool first = hasPictureToShow(m_player1);
    bool second = hasPictureToShow(m_player2);
    // While the next recording starts, the views keep the last pictures of
    // the one before until their own first ones arrive, rather than
    // flashing their empty frames.
    if (m_waitingForPlayStart) {
        first = first || (m_viewsShown.first && hasMedia(m_player1));
        second = second || (m_viewsShown.second && hasMedia(m_player2));
    }
    showVideoViews(first, second);
}

void ORVPlayController::showVideoViews(bool first, bool second) {
    m_viewsShown = {first, second};
    m_host->setVideoViewsVisible(first, second);
}

void ORVPlayController::mediaPlayerStateChanged(ORVMediaPlayer* player) {
    updateVideoViewVisibility();
    // A file that will not play must not keep every later start refused.
    if (player && cannotPlay(player)) {
        const QString reason = uiText(player->state() == VLCMediaPlayerState::Error ? "play.cannot_play.error"
                                                                                   : "play.cannot_play.no_picture");
        if (player == m_player1) {
            recordingCannotBePlayed(fileNameOf(m_player1), reason);
        } else {
            secondFileCannotBePlayed(reason);
        }
        return;
    }
    const bool p1 = hasMediaAndPlays(m_player1);
    const bool p2 = hasMediaAndPlays(m_player2);

    if (!hasMedia(m_player1)) return;
    if (hasMedia(m_player2)) {
        if (isPausedOrHeld(m_player1) && isPausedOrHeld(m_player2)) {
            didFinishPlay();
        } else if (p1 && p2) {
            startOrUpdateAudio();
        }
        return;
    }
    if (isPausedOrHeld(m_player1)) {
        didFinishPlay();
    } else if (p1) {
        startOrUpdateAudio();
    }
}

void ORVPlayController::startOrUpdateAudio() {
    if (m_waitingForPlayStart) {
        m_waitingForPlayStart = false;
        didStartPlayer();
    } else {
        updateAudioUI();
    }
}

void ORVPlayController::didStartPlayer() {
    if (!hasMedia(m_player1)) return;
    m_playInfo->setSpeed(m_player1->rate());
    m_playInfo->setIsPlaying(isPlaying(m_player1));
    chooseAudioAuto();
    if (m_playInfo->scale() == 0.0 && m_player1->hasVideoOut() && m_player1->videoSize().width() > 0) {
        updatePlayInfoScale();
    }
}

void ORVPlayController::didFinishPlay() {
    m_playInfo->setPosition(m_player1->position());
    m_playInfo->setIsPlaying(isPlaying(m_player1));
}

void ORVPlayController::mediaPlayerTimeChanged(ORVMediaPlayer* player) {
    noteWhatPlayerShows(player);
    updateVideoViewVisibility();
    m_preparingPlayNext = false;
    if (!m_stopVideoLoadingView) {
        hideLoading();
        chooseAudioAuto();
    }
    m_playInfo->setIsPlaying(isPlaying(m_player1));
    if (m_moving) {
        m_timeChangeCounter = -1;
        if (m_movingPosition > 0.0) m_playInfo->setPosition(m_movingPosition);
        return;
    }
    if (player != m_player1) return;
    m_timeChangeCounter = (m_timeChangeCounter + 1) % 3;
    if (m_timeChangeCounter == 0) m_playInfo->setPosition(m_player1->position());
}

// ---- Play, pause and the table ------------------------------------------

void ORVPlayController::clickPlayButton() {
    if (!hasMedia(m_player1)) return;
    if (m_playInfo->isPlaying()) {
        for (ORVMediaPlayer* player : {m_player1, m_player2}) {
            if (isPlaying(player)) player->pause();
        }
        return;
    }
    if (m_player1->position() >= kAtTheEnd) {
        const double slider = std::min(m_playInfo->position(), 1.0);
        if (slider >= kAtTheEnd) {
            giveNoMediaTo(m_player1);
            giveNoMediaTo(m_player2);
            playAtIndex(m_mediaIndex);
            return;
        }
        const auto target = static_cast<std::int64_t>(slider * mainMediaLengthSeconds() * 1000.0);
        forEachPlayerWithMedia([target](ORVMediaPlayer* player) { player->setTime(VLCTime::timeWithInt(target)); });
        afterInSameStart(0.1, [this] { playBoth(); });
        return;
    }
    m_player1->play();
    if (hasMedia(m_player2)) {
        m_player2->play();
        syncVideoPositionDelay(0.3);
    }
}

void ORVPlayController::changeAndPlay(std::int64_t selectedRow) {
    logFormatted("selectedRow=%ld,mediaIndex=%ld,isPlaying=%d,count=%ld", static_cast<long>(selectedRow),
                 static_cast<long>(m_mediaIndex), m_playInfo->isPlaying() ? 1 : 0,
                 static_cast<long>(m_mediaList->count()));
    // Also the row last played once its players were emptied (a stop, a
    // new card, a file that could not be played): it is started afresh.
    if (selectedRow != m_mediaIndex || !hasMedia(m_player1)) {
        playAtIndex(std::max<std::int64_t>(selectedRow, 0));
        return;
    }
    if (isPausedOrHeld(m_player1)) forEachPlayerWithMedia([](ORVMediaPlayer* player) { player->setPosition(0.0f); });
    m_player1->play();
    if (hasMedia(m_player2)) {
        m_player2->play();
        syncVideoPositionDelay(0.1);
    }
}

void ORVPlayController::syncVideoPositionDelay(double seconds) {
    if (!hasMedia(m_player1) || !hasMedia(m_player2)) {
        m_moving = false;
        return;
    }
    afterInSameStart(seconds, [this] {
        m_moving = false;
        if (hasMedia(m_player2)) alignPlayersAtTheFirstOnesTime();
    });
}

// Moving the second player alone puts it behind by its seek and buffering
// delay (a third of a second and more); moving both to the same time makes
// them pay the same delay and come out in step.
void ORVPlayController::alignPlayersAtTheFirstOnesTime() {
    const VLCTime time = m_player1->time();
    // Not under way yet: both were just started or moved together, and
    // moving the second alone would only put it behind by its seek.
    if (time.intValue() <= 0) return;
    const std::int64_t secondLength = m_player2->media() ? m_player2->media()->length().intValue() : 0;
    if (secondLength <= 0 || time.intValue() >= secondLength) {
        m_player2->setPosition(m_player1->position());
        return;
    }
    // Moved and let go together, they already show the same time: another
    // seek would only stop both pictures once more.
    if (std::llabs(m_player2->time().intValue() - time.intValue()) < kInStepMs) return;
    m_player1->setTime(time);
    m_player2->setTime(time);
}

// ---- Loading indicator ---------------------------------------------------

void ORVPlayController::showLoading() {
    m_stopVideoLoadingView = false;
    m_progress = 0.0;
    m_host->showLoadingProgress(true, m_progress);
    // A newer start restarts the count; the older chain then ends quietly.
    const std::uint64_t chain = ++m_loadingChain;
    after(kLoadingStepMs / 1000.0, [this, chain] { updateLoadingWindow(kLoadingLimitSeconds, chain); });
}

void ORVPlayController::updateLoadingWindow(double seconds, std::uint64_t chain) {
    if (chain != m_loadingChain) return;
    const double step = kLoadingStepMs / 1000.0;
    m_progress += 100.0 / (seconds / step);
    m_host->showLoadingProgress(true, m_progress);
    if (m_progress < 100.0 && !m_stopVideoLoadingView) {
        after(step, [this, seconds, chain] { updateLoadingWindow(seconds, chain); });
        return;
    }
    m_host->showLoadingProgress(false, 0.0);
    m_stopVideoLoadingView = true;
}

void ORVPlayController::hideLoading() { m_stopVideoLoadingView = true; }

// ---- Seeking, speed, size ------------------------------------------------

void ORVPlayController::videoPositionSliderMoved(double sliderValue) {
    m_playInfo->setPosition(sliderValue);
    logFormatted("[%s] position slider moved:%lf <=> %lf", "D ", m_playInfo->position(), sliderValue);
    m_playInfo->setIsPlaying(isPlaying(m_player1));
    if (m_moving) return;
    if (sliderValue >= kAtTheEnd) {
        forEachPlayerWithMedia(moveToItsEnd);
        return;
    }
    m_moving = true;
    m_movingPosition = sliderValue;
    forEachPlayerWithMedia(
        [sliderValue](ORVMediaPlayer* player) { player->setPosition(static_cast<float>(sliderValue)); });
    syncVideoPositionDelay(0.3);
}

void ORVPlayController::jumpForward() {
    logFormatted("[%s] _player1.time=%s,remainingTime.stringValue=%s", "D ",
                 m_player1->time().stringValue().c_str(), m_player1->remainingTime().stringValue().c_str());
    if (m_moving || !hasMedia(m_player1)) return;
    if (m_player1->remainingTime().intValue() / 1000 > -kJumpSeconds) {
        forEachPlayerWithMedia(moveToItsEnd);
        return;
    }
    m_moving = true;
    m_movingPosition = m_playInfo->position() + kJumpSeconds / mainMediaLengthSeconds();
    m_playInfo->setPosition(m_movingPosition);
    m_player1->jumpForward(kJumpSeconds);
    syncVideoPositionDelay(0.3);
}

void ORVPlayController::jumpBackward() {
    if (m_moving || !hasMedia(m_player1)) return;
    if (m_player1->time().intValue() < kJumpSeconds * 1000) {
        forEachPlayerWithMedia([](ORVMediaPlayer* player) { player->setTime(VLCTime::nullTime()); });
    } else {
        m_moving = true;
        m_movingPosition = std::min(m_playInfo->position(), 1.0);
        m_player1->jumpBackward(kJumpSeconds);
        syncVideoPositionDelay(0.3);
    }
    updateAudioUI();
}

void ORVPlayController::increaseSpeed() {
    if (m_playInfo->speed() + 1.0 > kMaxSpeed) return;
    for (ORVMediaPlayer* player : {m_player1, m_player2}) player->setRate(player->rate() + 1.0f);
    m_playInfo->setSpeed(m_playInfo->speed() + 1.0);
    // A new rate reaches the two players' clocks at different moments.
    if (isPlaying(m_player1)) syncVideoPositionDelay(0.3);
}

void ORVPlayController::decreaseSpeed() {
    if (m_playInfo->speed() <= kMinSpeed) return;
    for (ORVMediaPlayer* player : {m_player1, m_player2}) player->setRate(player->rate() - 1.0f);
    m_playInfo->setSpeed(m_playInfo->speed() - 1.0);
    if (isPlaying(m_player1)) syncVideoPositionDelay(0.3);
}

void ORVPlayController::sizeUp() {
    if (m_player1->isPlaying()) m_host->setVideoScaleIndex(1);
}

void ORVPlayController::sizeDown() {
    if (m_player1->isPlaying()) m_host->setVideoScaleIndex(-1);
}

void ORVPlayController::updatePlayInfoScale() {
    if (!m_player1->isPlaying() || !m_player1->hasVideoOut()) return;
    const int videoHeight = m_player1->videoSize().height();
    if (videoHeight <= 0) return;
    m_playInfo->setScale(m_host->videoContainerHeight() / videoHeight);
}

// ---- Sound ---------------------------------------------------------------

void ORVPlayController::setVolume(int volume) {
    m_volume = std::clamp(volume, 0, kVolumeMax);
    m_muted = false;
    emit volumeChanged(m_volume);
}

void ORVPlayController::toggleMute() {
    m_muted = !m_muted;
    updateAudioUI();
}

void ORVPlayController::volumeUp() { setVolume(std::min(m_volume + kVolumeStep, kVolumeMax)); }

void ORVPlayController::volumeDown() { setVolume(std::max(m_volume - kVolumeStep, 0)); }

void ORVPlayController::volumeSliderMoved(int value) { setVolume(value); }

void ORVPlayController::chooseAudioAuto() {
    int direction = ORVMediaDirectionUnknown;
    if (hasAudio(m_player1)) {
        direction = directionOf(m_player1);
    } else if (hasAudio(m_player2)) {
        direction = directionOf(m_player2);
    }
    m_playInfo->setAudioMediaDirection(direction);
}

void ORVPlayController::toggleAudioChoice(bool rear) {
    m_playInfo->setAudioMediaDirection(rear ? ORVMediaDirectionRear : ORVMediaDirectionFront);
}

void ORVPlayController::updateAudioUI() {
    const int direction = m_playInfo->audioMediaDirection();
    const bool sideChosen = direction == ORVMediaDirectionFront || direction == ORVMediaDirectionRear;
    m_audioToggleOn = direction == ORVMediaDirectionRear;
    if (direction != ORVMediaDirectionFront && direction != ORVMediaDirectionRear) m_audioToggleOn = false;
    m_host->showAudioChoice(sideChosen, m_audioToggleOn);

    ORVMediaPlayer* heard = nullptr;
    if (sideChosen) {
        if (directionOf(m_player1) == direction) {
            heard = m_player1;
        } else if (directionOf(m_player2) == direction) {
            heard = m_player2;
        }
    }
    for (ORVMediaPlayer* player : {m_player1, m_player2}) {
        if (player == heard && !m_muted) {
            player->setMute(false);
            player->setVolume(m_volume);
        } else {
            player->setMute(true);
        }
    }
    m_host->showVolume(m_volume, m_muted);
}

// ---- Swap ----------------------------------------------------------------

void ORVPlayController::swapPlayer() {
    if (!isPlaying(m_player1) || !isPlaying(m_player2) || m_swapping) return;
    m_swapping = true;
    const float position = m_player1->position();
    m_player1->pause();
    m_player2->pause();

    std::shared_ptr<VLCMedia> first = m_player1->media();
    m_player1->setMedia(m_player2->media());
    m_player2->setMedia(first);
    m_player1->play();
    m_player2->play();
    updateLogos();
    emit playingMediaChanged();

    m_moving = true;
    m_movingPosition = m_player1->position();
    m_host->animateSwap();
    m_player1->setMute(true);
    m_player2->setMute(true);

    afterInSameStart(0.8, [this, position] {
        m_moving = false;
        forEachPlayerWithMedia([position](ORVMediaPlayer* player) { player->setPosition(position); });
    });
    after(1.7, [this] {
        m_swapping = false;
        updateAudioUI();
    });
}

void ORVPlayController::updateLogos() {
    const QString mainLogo = directionOf(m_player1) == ORVMediaDirectionRear ? QStringLiteral("v1_rear_logo")
                                                                             : QStringLiteral("v1_front_logo");
    const QString secondLogo = directionOf(m_player2) == ORVMediaDirectionFront ? QStringLiteral("v2_front_logo")
                                                                                : QStringLiteral("v2_rear_logo");
    m_host->setVideoLogos(mainLogo, secondLogo);
}

// ---- Helpers -------------------------------------------------------------

std::shared_ptr<ORVMedia> ORVPlayController::playingMedia() const {
    if (!hasMedia(m_player1) || m_mediaIndex < 0) return nullptr;
    return m_mediaList->mediaAtIndex(static_cast<size_t>(m_mediaIndex));
}

std::int64_t ORVPlayController::mainMediaLengthMs() const {
    return hasMedia(m_player1) ? m_player1->media()->length().intValue() : 0;
}

double ORVPlayController::mainMediaLengthSeconds() const {
    if (!hasMedia(m_player1)) return 0.0;
    return static_cast<double>(m_player1->media()->length().intValue()) / 1000.0;
}

void ORVPlayController::forEachPlayerWithMedia(const std::function<void(ORVMediaPlayer*)>& step) {
    for (ORVMediaPlayer* player : {m_player1, m_player2}) {
        if (hasMedia(player)) step(player);
    }
}

void ORVPlayController::after(double seconds, std::function<void()> step) {
    m_delayedSteps->after(static_cast<int>(seconds * 1000.0 + 0.5),
                          [alive = std::weak_ptr<bool>(m_alive), step = std::move(step)] {
                              const auto stillHere = alive.lock();
                              if (stillHere && *stillHere) step();
                          });
}

void ORVPlayController::afterInSameStart(double seconds, std::function<void()> step) {
    after(seconds, [this, start = m_startNumber, step = std::move(step)] {
        if (start == m_startNumber) {
            step();
        } else {
            m_moving = false;
        }
    });
}

}  // namespace zentrova
