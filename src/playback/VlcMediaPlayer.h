#pragma once

#include "playback/DecodeAheadLimit.h"
#include "playback/FollowablePlayer.h"
#include "playback/ORVMediaPlayer.h"
#include "playback/PlayerPacing.h"
#include "playback/QtDelayedSteps.h"
#include "playback/VideoFramePool.h"

#include <QPointer>

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>

struct libvlc_media_player_t;
struct libvlc_media_t;
struct libvlc_event_t;
struct libvlc_video_track_t;

namespace zentrova {

class VLCVideoView;

// A media player on libVLC 3, drawing through video callbacks into its view.
// libVLC pauses at the end of a file (it is started with --play-and-pause);
// that pause, which nobody asked for, is reported as the end: state Paused,
// position 1.0 and time equal to the length.
// Pictures are asked for in planar YUV at the video's own size, into the
// buffers of a frame pool that the view scales and converts from. Waits
// and moves while playing are paced by PlayerPacing.
class VlcMediaPlayer : public ORVMediaPlayer, public FollowablePlayer, private PlayerPacing::Output {
    Q_OBJECT
public:
    explicit VlcMediaPlayer(VLCVideoView* videoView, QObject* parent = nullptr);
    ~VlcMediaPlayer() override;

    bool isValid() const { return m_player != nullptr; }
    VLCVideoView* videoView() const { return m_view; }

    void setMedia(std::shared_ptr<VLCMedia> media) override;
    std::shared_ptr<VLCMedia> media() const override { return m_media; }

    void play() override;
    void pause() override;
    void stop() override;
    bool isPlaying() const override;
    VLCMediaPlayerState state() const override { return m_state; }

    float position() const override;
    void setPosition(float position) override;
    VLCTime time() const override;
    void setTime(VLCTime time) override;
    VLCTime remainingTime() const override;

    float rate() const override;
    void setRate(float rate) override;
    void jumpForward(int seconds) override;
    void jumpBackward(int seconds) override;

    bool hasVideoOut() const override;
    QSize videoSize() const override;

    void setMute(bool mute) override;
    bool isMuted() const override { return m_muted; }
    void setVolume(int volume) override;
    int volume() const override { return m_volume; }
    QList<int> audioTrackIndexes() const override;

    bool saveVideoSnapshotAt(const QString& path, int width, int height) override;

    bool isHeldAtEnd() const { return m_heldAtEnd; }
    // The size of the pictures being decoded; empty before the first.
    QSize pictureSize() const;

    std::optional<DisplayTimeline::Anchor> displayAnchor() const override;
    // Still playing for everybody: no state notice. A move, pause or stop
    // ends the wait at once.
    void holdFor(int milliseconds) override;
    bool isHolding() const override { return m_pacing.isHolding(); }
    // Moves made while playing pause the player until the new place's
    // picture is shown.
    bool isSettlingMove() const { return m_pacing.isSettling(); }
    PlayerPacing* pacing() override { return &m_pacing; }

private:
    static void onEvent(const libvlc_event_t* event, void* opaque);
    static unsigned onFormat(void** opaque, char* chroma, unsigned* width, unsigned* height, unsigned* pitches,
                             unsigned* lines);
    static void onCleanup(void* opaque);
    static void* onLock(void* opaque, void** planes);
    // On the decoder's thread, holding the frame lock: a decoder far ahead
    // of the pictures shown waits a little for a buffer to come back.
    void waitWhileFarAhead(std::unique_lock<std::mutex>& lock);
    static void onUnlock(void* opaque, void* picture, void* const* planes);
    static void onDisplay(void* opaque, void* picture);

    void setOutputPaused(bool paused) override;
    void seekOutputTo(std::int64_t milliseconds) override;
    double outputRate() const override;

    void handleEvent(int type);
    void setState(VLCMediaPlayerState state);
    void applyAudioSettings();
    VLCTime length() const;
    void leaveEnd();
    void presentNewFrame();
    VideoFramePool::Layout pictureLayoutOfMedia(const char* offeredChroma, unsigned offeredWidth,
                                                unsigned offeredHeight) const;
    std::optional<libvlc_video_track_t> videoTrackOfMedia() const;
    double frameIntervalMsOfMedia() const;
    bool canSettleMoveTo(std::int64_t targetMs) const;
    void watchSettlingPicture(const unsigned char* pixels, const VideoFramePool::Layout& layout, double shownMs);

    libvlc_media_player_t* m_player = nullptr;
    QPointer<VLCVideoView> m_view;
    std::shared_ptr<VLCMedia> m_media;
    VLCMediaPlayerState m_state = VLCMediaPlayerState::Stopped;
    bool m_pauseRequested = false;
    bool m_heldAtEnd = false;
    bool m_muted = false;
    int m_volume = 100;
    mutable double m_frameIntervalMs = 0;  // 0 until the file's rate is read

    QtDelayedSteps m_delayedSteps{this};
    PlayerPacing m_pacing;

    std::atomic<bool> m_frameNoticePending{false};

    // Shared with the decoder's thread.
    mutable std::mutex m_frameMutex;
    // Both under m_frameMutex: how many buffers the decoder may hold, and
    // the notice that it gave one back.
    DecodeAheadLimit m_aheadLimit;
    std::condition_variable m_bufferCameBack;
    libvlc_media_t* m_item = nullptr;
    std::shared_ptr<VideoFramePool> m_writingPool;
    std::shared_ptr<VideoFramePool> m_publishedPool;
};

}  // namespace zentrova
