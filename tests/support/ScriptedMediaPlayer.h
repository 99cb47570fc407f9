#pragma once

#include "playback/FollowablePlayer.h"
#include "playback/ORVMediaPlayer.h"

#include <algorithm>
#include <optional>
#include <vector>

namespace zentrova::test {

// A player whose state the test sets by hand; it remembers what was asked
// of it. Times follow the position over the media's length.
class ScriptedMediaPlayer : public ORVMediaPlayer, public FollowablePlayer {
public:
    std::shared_ptr<VLCMedia> loaded;
    VLCMediaPlayerState playerState = VLCMediaPlayerState::Stopped;
    bool playing = false;
    float playPosition = 0.0f;
    float playRate = 1.0f;
    bool muted = false;
    int playVolume = 100;
    bool withSound = true;
    bool videoOut = true;
    QSize size{320, 180};
    // play() asks; the player says it plays only when the test reports it.
    bool playRequested = false;
    int plays = 0;
    int pauses = 0;
    // As libVLC: it stops playing at once, but the state changes only with
    // the notice that the test reports.
    bool pauseNoticeLater = false;
    std::int64_t lengthMs = 60000;
    int timesSet = 0;

    void setMedia(std::shared_ptr<VLCMedia> media) override {
        loaded = std::move(media);
        if (loaded) loaded->setLength(VLCTime::timeWithInt(lengthMs));
        playPosition = 0.0f;
        playing = false;
        playRequested = false;
    }
    std::shared_ptr<VLCMedia> media() const override { return loaded; }

    void play() override {
        ++plays;
        if (!loaded) return;
        playRequested = true;
        playerState = VLCMediaPlayerState::Opening;
    }
    void pause() override {
        ++pauses;
        playing = false;
        playRequested = false;
        if (loaded && !pauseNoticeLater) playerState = VLCMediaPlayerState::Paused;
    }
    void stop() override {
        playing = false;
        playRequested = false;
        playerState = VLCMediaPlayerState::Stopped;
    }
    bool isPlaying() const override { return playing; }
    VLCMediaPlayerState state() const override { return playerState; }

    float position() const override { return playPosition; }
    void setPosition(float position) override { playPosition = std::clamp(position, 0.0f, 1.0f); }
    VLCTime time() const override {
        return VLCTime::timeWithInt(static_cast<std::int64_t>(playPosition * static_cast<double>(lengthMs)));
    }
    void setTime(VLCTime time) override {
        ++timesSet;
        setPosition(lengthMs > 0 ? static_cast<float>(static_cast<double>(time.intValue()) / lengthMs) : 0.0f);
    }
    VLCTime remainingTime() const override { return VLCTime::timeWithInt(time().intValue() - lengthMs); }

    float rate() const override { return playRate; }
    void setRate(float rate) override { playRate = rate; }
    void jumpForward(int seconds) override { setTime(VLCTime::timeWithInt(time().intValue() + seconds * 1000)); }
    void jumpBackward(int seconds) override { setTime(VLCTime::timeWithInt(time().intValue() - seconds * 1000)); }

    bool hasVideoOut() const override { return loaded && videoOut; }
    QSize videoSize() const override { return size; }

    void setMute(bool mute) override { muted = mute; }
    bool isMuted() const override { return muted; }
    void setVolume(int volume) override { playVolume = volume; }
    int volume() const override { return playVolume; }
    QList<int> audioTrackIndexes() const override { return loaded && withSound ? QList<int>{1} : QList<int>{}; }

    bool saveVideoSnapshotAt(const QString&, int, int) override { return false; }

    // What the follower sees, and the waits it asked for.
    std::optional<DisplayTimeline::Anchor> anchor;
    bool holding = false;
    std::vector<int> holds;
    bool isHolding() const override { return holding; }
    std::optional<DisplayTimeline::Anchor> displayAnchor() const override { return anchor; }
    void holdFor(int milliseconds) override {
        holds.push_back(milliseconds);
        holding = true;
    }
    PlayerPacing* pacing() override { return nullptr; }

    // The player starts to play and says so, as the real one does.
    void reportPlaying() {
        playing = true;
        playerState = VLCMediaPlayerState::Playing;
        emit mediaPlayerStateChanged(this);
    }
    void reportHeldAtEnd() {
        playing = false;
        playRequested = false;
        playPosition = 1.0f;
        playerState = VLCMediaPlayerState::Paused;
        emit mediaPlayerStateChanged(this);
    }
    void reportState(VLCMediaPlayerState state) {
        playerState = state;
        playing = state == VLCMediaPlayerState::Playing;
        emit mediaPlayerStateChanged(this);
    }
    void reportTime(float position) {
        playPosition = position;
        emit mediaPlayerTimeChanged(this);
    }
};

}  // namespace zentrova::test
