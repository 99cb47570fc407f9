#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "playback/DelayedSteps.h"
#include "playback/ORVMediaPlayer.h"
#include "playback/ORVPlayInfo.h"

namespace zentrova {

class ORVBlackBoxData;
class ORVMedia;
class ORVMediaList;
class ORVPlayControlHost;

// Plays a recording's two files together: the chosen file in the main
// player, the other file of its pair in the second one, in step, with the
// telemetry of the front file extracted before play starts. Also the play
// controls that act on both players (jumps, speed, volume, sound, swap).
class ORVPlayController : public QObject {
    Q_OBJECT
    Q_PROPERTY(int volume READ volume WRITE setVolume NOTIFY volumeChanged)
public:
    using Telemetry = std::shared_ptr<const ORVBlackBoxData>;
    using TelemetryExtractor = std::function<Telemetry(const std::string& frontPath)>;
    // Runs work away from the main thread, then hands its result to done on
    // the main thread. Tests may do both at once, or later by hand.
    using BackgroundRunner =
        std::function<void(std::function<Telemetry()> work, std::function<void(Telemetry)> done)>;
    // The runner of the application: a thread of its own that nobody waits
    // for, so that quitting never waits on a read that hangs; the answer is
    // queued to receiver's thread and dropped once receiver is gone.
    static BackgroundRunner detachedThreadRunner(QObject& receiver);

    struct Parts {
        ORVMediaPlayer* player1 = nullptr;
        ORVMediaPlayer* player2 = nullptr;
        ORVMediaList* mediaList = nullptr;
        ORVPlayControlHost* host = nullptr;
        std::shared_ptr<DelayedSteps> delayedSteps;
        TelemetryExtractor extractTelemetry;
        BackgroundRunner runInBackground;
        // Asked once a second while a player plays, and once after: playing
        // leaves freed memory behind that the allocator would keep.
        std::function<void()> returnFreedMemory;
    };

    static constexpr int kVolumeAtStart = 70;
    static constexpr int kVolumeMax = 200;
    static constexpr int kVolumeStep = 10;
    static constexpr int kLoadingStepMs = 300;
    static constexpr double kLoadingLimitSeconds = 15.0;
    // A start whose players neither play nor give up by then has failed.
    static constexpr double kStartLimitSeconds = kLoadingLimitSeconds;

    ORVPlayController(Parts parts, QObject* parent = nullptr);
    ~ORVPlayController() override;

    ORVPlayInfo* playInfo() const { return m_playInfo; }
    ORVMediaPlayer* player1() const { return m_player1; }
    ORVMediaPlayer* player2() const { return m_player2; }
    std::int64_t mediaIndex() const { return m_mediaIndex; }
    bool waitingForPlayStart() const { return m_waitingForPlayStart; }
    bool preparingPlayNext() const { return m_preparingPlayNext; }
    bool moving() const { return m_moving; }
    double movingPosition() const { return m_movingPosition; }
    bool swapping() const { return m_swapping; }
    bool stopVideoLoadingView() const { return m_stopVideoLoadingView; }
    double progress() const { return m_progress; }
    int volume() const { return m_volume; }
    bool muted() const { return m_muted; }
    bool audioToggleOn() const { return m_audioToggleOn; }
    Telemetry telemetry() const { return m_telemetry; }
    // The recording in the players, none while they are empty.
    std::shared_ptr<ORVMedia> playingMedia() const;
    // The main file's length; 0 while it is not known.
    std::int64_t mainMediaLengthMs() const;

    bool playAtIndex(std::int64_t index);
    bool playNext();
    void stopPlay();
    void hideLoading();

    static bool isPlaying(const ORVMediaPlayer* player);
    static bool hasAudio(const ORVMediaPlayer* player);

public slots:
    // User commands.
    void changeAndPlay(std::int64_t selectedRow);
    void clickPlayButton();
    void videoPositionSliderMoved(double sliderValue);
    void jumpForward();
    void jumpBackward();
    void increaseSpeed();
    void decreaseSpeed();
    // A change of the volume also turns the sound on again.
    void setVolume(int volume);
    void toggleMute();
    void volumeUp();
    void volumeDown();
    void volumeSliderMoved(int value);
    void toggleAudioChoice(bool rear);
    void swapPlayer();
    void sizeUp();
    void sizeDown();

    void chooseAudioAuto();
    void updateAudioUI();
    void updatePlayInfoScale();

signals:
    void volumeChanged(int volume);
    // The players were given another recording, or emptied.
    void playingMediaChanged();

private:
    void mediaPlayerStateChanged(ORVMediaPlayer* player);
    void mediaPlayerTimeChanged(ORVMediaPlayer* player);
    // Loads the recording at mediaIndex; the reason when its main file
    // cannot be handed to a player.
    std::optional<QString> updateVideoUI();
    // Whether player, by what it just reported, will not play its file.
    bool cannotPlay(ORVMediaPlayer* player);
    void noteWhatPlayerShows(const ORVMediaPlayer* player);
    void startTookTooLong(std::uint64_t start);
    void recordingCannotBePlayed(const QString& fileName, const QString& reason);
    void secondFileCannotBePlayed(const QString& reason);
    void updateVideoViewVisibility();
    void showVideoViews(bool first, bool second);
    void startOrUpdateAudio();
    void didStartPlayer();
    void didFinishPlay();
    void startTimerPlayNext();
    void everySecond();
    void timerPlayNext();
    void returnFreedMemoryAfterPlaying();
    void syncVideoPositionDelay(double seconds);
    void alignPlayersAtTheFirstOnesTime();
    void initMediaControlView();
    void extractTelemetryThenPlay(std::uint64_t start, std::string frontPath);
    void beginPlay(std::uint64_t start, Telemetry telemetry);
    void clearStartWatch();
    void showLoading();
    void updateLoadingWindow(double seconds, std::uint64_t chain);
    void updateLogos();
    void playBoth();
    double mainMediaLengthSeconds() const;
    void after(double seconds, std::function<void()> step);
    // As after, but dropped when another recording was started meanwhile.
    void afterInSameStart(double seconds, std::function<void()> step);
    void forEachPlayerWithMedia(const std::function<void(ORVMediaPlayer*)>& step);

    ORVMediaPlayer* m_player1;
    ORVMediaPlayer* m_player2;
    ORVMediaList* m_mediaList;
    ORVPlayControlHost* m_host;
    std::shared_ptr<DelayedSteps> m_delayedSteps;
    TelemetryExtractor m_extractTelemetry;
    BackgroundRunner m_runInBackground;
    std::function<void()> m_returnFreedMemory;
    ORVPlayInfo* m_playInfo;

    std::int64_t m_mediaIndex = -1;
    bool m_waitingForPlayStart = false;
    bool m_preparingPlayNext = false;
    bool m_moving = false;
    double m_movingPosition = 0.0;
    bool m_swapping = false;
    bool m_stopVideoLoadingView = true;
    double m_progress = 0.0;
    int m_volume = kVolumeAtStart;
    bool m_muted = false;
    bool m_audioToggleOn = false;
    std::int32_t m_timeChangeCounter = -1;
    // Each start and stop gets a new number, so that an extraction that
    // finishes after its recording was stopped or replaced starts nothing.
    std::uint64_t m_startNumber = 0;
    std::uint64_t m_loadingChain = 0;
    // Set once the players of the current recording were asked to play.
    // What each has shown since tells a file it cannot play (it gives up
    // before playing, or ends without any picture) from a pause or an end.
    bool m_startBegun = false;
    struct Shown {
        bool playing = false;
        bool picture = false;
    };
    // What the host was last told to show.
    std::pair<bool, bool> m_viewsShown{false, false};
    Shown m_player1Shown;
    Shown m_player2Shown;
    std::unique_ptr<DelayedSteps::Repeating> m_playStopTimer;
    bool m_playedInTheLastSecond = false;
    Telemetry m_telemetry;
    // Delayed steps are dropped once the controller is gone.
    std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);
};

}  // namespace zentrova
