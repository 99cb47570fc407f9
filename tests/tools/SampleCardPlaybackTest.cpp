#include "SmallSampleCard.h"

#include <gtest/gtest.h>

#include <vlc/vlc.h>

#include <chrono>
#include <thread>

namespace zentrova {
namespace {
using test::SmallSampleCard;

struct Playback {
    bool reachedPlaying = false;
    libvlc_time_t time = 0;
    unsigned width = 0, height = 0;
    int audioTracks = 0;
    bool failed = false;
};

// Plays the file with libVLC, without picture or sound output, until it has
// shown a second and a half of it (or ended, or failed).
Playback play(const std::string& path) {
    const char* arguments[] = {"--aout=dummy", "--vout=dummy", "--no-video-title-show", "--avcodec-hw=none", "-q"};
    libvlc_instance_t* instance = libvlc_new(5, arguments);
    Playback result;
    if (!instance) {
        result.failed = true;
        return result;
    }
    libvlc_media_t* media = libvlc_media_new_path(instance, path.c_str());
    libvlc_media_player_t* player = libvlc_media_player_new_from_media(media);
    libvlc_media_player_play(player);
    // A generous cap that only a broken file reaches.
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (std::chrono::steady_clock::now() < giveUp) {
        const libvlc_state_t state = libvlc_media_player_get_state(player);
        if (state == libvlc_Playing) result.reachedPlaying = true;
        if (state == libvlc_Error) result.failed = true;
        if (state == libvlc_Error || state == libvlc_Ended) break;
        result.time = libvlc_media_player_get_time(player);
        if (result.time >= 1500) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    libvlc_video_get_size(player, 0, &result.width, &result.height);
    result.audioTracks = libvlc_audio_get_track_count(player);
    libvlc_media_player_stop(player);
    libvlc_media_player_release(player);
    libvlc_media_release(media);
    libvlc_release(instance);
    return result;
}

TEST(SampleCardPlaybackTest, LibVlcPlaysFrontAndRearFiles) {
    const SmallSampleCard& card = SmallSampleCard::get();
    ASSERT_TRUE(card.result.card) << card.result.error;
    const samplecard::SampleRecording& both = card.card().recordings.front();
    ASSERT_FALSE(both.frontPath.empty());
    ASSERT_FALSE(both.rearPath.empty());

    const Playback front = play(both.frontPath);
    EXPECT_FALSE(front.failed);
    EXPECT_TRUE(front.reachedPlaying);
    EXPECT_GE(front.time, 1500);
    EXPECT_EQ(front.width, 160u);
    EXPECT_EQ(front.height, 90u);
    EXPECT_GE(front.audioTracks, 1);  // libVLC counts "Disable" as a track too

    const Playback rear = play(both.rearPath);
    EXPECT_FALSE(rear.failed);
    EXPECT_TRUE(rear.reachedPlaying);
    EXPECT_GE(rear.time, 1500);
}

}  // namespace
}  // namespace zentrova
