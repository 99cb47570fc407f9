#pragma once

#include "playback/ORVMediaPlayer.h"

#include <QPointer>

#include <atomic>
#include <mutex>
#include <vector>

struct libvlc_media_player_t;
struct libvlc_event_t;

namespace zentrova {

class VLCVideoView;

// A media player on libVLC 3, drawing through video callbacks into its view.
// libVLC pauses at the end of a file (it is started with --play-and-pause);
// that pause, which nobody asked for, is reported as the end: state Paused,
// position 1.0 and time equal to the length.
class VlcMediaPlayer : public ORVMediaPlayer {
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

private:
    static void onEvent(const libvlc_event_t* event, void* opaque);
    static unsigned onFormat(void** opaque, char* chroma, unsigned* width, unsigned* height, unsigned* pitches,
                             unsigned* lines);
    static void onCleanup(void* opaque);
    static void* onLock(void* opaque, void** planes);
    static void onUnlock(void* opaque, void* picture, void* const* planes);
    static void onDisplay(void* opaque, void* picture);

    void handleEvent(int type);
    void setState(VLCMediaPlayerState state);
    void applyAudioSettings();
    VLCTime length() const;
    void leaveEnd();

    libvlc_media_player_t* m_player = nullptr;
    QPointer<VLCVideoView> m_view;
    std::shared_ptr<VLCMedia> m_media;
    VLCMediaPlayerState m_state = VLCMediaPlayerState::Stopped;
    bool m_pauseRequested = false;
    bool m_heldAtEnd = false;
    bool m_muted = false;
    int m_volume = 100;

    // Frame buffer written by the decoder thread.
    std::mutex m_frameMutex;
    std::vector<unsigned char> m_buffer;
    unsigned m_pitch = 0;
    unsigned m_bufferWidth = 0;
    unsigned m_bufferLines = 0;
    std::atomic<int> m_visibleWidth{0};
    std::atomic<int> m_visibleHeight{0};
};

}  // namespace zentrova
