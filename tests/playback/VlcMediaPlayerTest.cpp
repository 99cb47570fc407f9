#include "playback/VLCLibrary.h"
#include "playback/PlayerPacing.h"
#include "playback/VLCTime.h"
#include "playback/VLCVideoView.h"
#include "playback/VlcMediaPlayer.h"
#include "support/PlayerTestApplication.h"
#include "support/SampleClip.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QImageReader>
#include <QStandardPaths>
#include <QTest>
#include <QThread>

#include <cstdlib>
#include <filesystem>

namespace zentrova {
namespace {

// Two-second clips made by ffmpeg into the build tree: one with sound, one silent.
class SampleFiles {
public:
    static const SampleFiles& get() {
        static SampleFiles files;
        return files;
    }
    QString withSound;
    QString silent;
    // Longer, with a key frame every fifth picture.
    QString frequentKeys;
    // Black with a white bar along the top and the bottom edge.
    QString edgeBars;
    bool ok = false;

private:
    SampleFiles() {
        const std::string dir = std::string(ZENTROVA_BIN_DIR) + "/../test-media/playback";
        std::filesystem::create_directories(dir);
        const std::string front = dir + "/alwa_20240101_120000_F.mp4";
        const std::string rear = dir + "/alwa_20240101_120000_R.mp4";
        const std::string video = " -f lavfi -i testsrc2=size=320x240:rate=25:duration=2 ";
        const std::string encode = " -c:v libx264 -pix_fmt yuv420p -t 2 ";
        const std::string keys = dir + "/alwa_20240101_120100_F.mp4";
        const std::string bars = dir + "/alwa_20240101_120200_F.mp4";
        const bool made =
            test::makeClipOnce(front, video + "-f lavfi -i sine=frequency=440:duration=2" + encode + "-c:a aac") &&
            test::makeClipOnce(rear, video + encode + "-an") &&
            test::makeClipOnce(keys, " -f lavfi -i testsrc2=size=320x240:rate=25:duration=8 -c:v libx264 "
                                     "-pix_fmt yuv420p -g 5 -an") &&
            test::makeClipOnce(bars, " -f lavfi -i color=c=black:s=320x240:r=25:d=2,"
                                     "drawbox=y=0:w=320:h=12:color=white:t=fill,"
                                     "drawbox=y=228:w=320:h=12:color=white:t=fill -c:v libx264 -pix_fmt yuv420p -an");
        withSound = QString::fromStdString(front);
        silent = QString::fromStdString(rear);
        frequentKeys = QString::fromStdString(keys);
        edgeBars = QString::fromStdString(bars);
        ok = made;
    }
};

class VlcMediaPlayerTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::playerTestApplication();
        ASSERT_TRUE(SampleFiles::get().ok) << "ffmpeg could not make the sample files";
        view = std::make_unique<VLCVideoView>();
        view->resize(320, 240);
        player = std::make_unique<VlcMediaPlayer>(view.get());
        ASSERT_TRUE(player->isValid());
        QObject::connect(player.get(), &ORVMediaPlayer::mediaPlayerStateChanged, [this](ORVMediaPlayer* sender) {
            EXPECT_EQ(sender, player.get());
            EXPECT_EQ(QThread::currentThread(), qApp->thread()) << "notices arrive on the main thread";
            states.push_back(sender->state());
        });
        QObject::connect(player.get(), &ORVMediaPlayer::mediaPlayerTimeChanged, [this](ORVMediaPlayer* sender) {
            EXPECT_EQ(sender, player.get());
            EXPECT_EQ(QThread::currentThread(), qApp->thread());
            ++timeNotices;
        });
    }
    void TearDown() override {
        player.reset();
        view.reset();
    }

    bool waitForState(VLCMediaPlayerState state, int ms = 10000) {
        return QTest::qWaitFor([&] { return player->state() == state; }, ms);
    }

    std::unique_ptr<VLCVideoView> view;
    std::unique_ptr<VlcMediaPlayer> player;
    std::vector<VLCMediaPlayerState> states;
    int timeNotices = 0;
};

TEST_F(VlcMediaPlayerTest, PlaysDrawsFramesAndHoldsTheLastFrameAtTheEnd) {
    player->setMedia(VLCMedia::mediaWithPath(SampleFiles::get().withSound));
    EXPECT_TRUE(player->media()->isFrontMedia());
    player->play();
    ASSERT_TRUE(waitForState(VLCMediaPlayerState::Playing));
    ASSERT_TRUE(QTest::qWaitFor([&] { return view->framesPresented() > 3 && timeNotices > 0; }, 10000));
    EXPECT_TRUE(player->isPlaying());
    EXPECT_TRUE(player->hasVideoOut());
    EXPECT_EQ(player->videoSize(), QSize(320, 240));
    EXPECT_EQ(view->currentFrame().size(), QSize(320, 240)) << "only the visible picture is kept";
    EXPECT_EQ(player->audioTrackIndexes().size(), 1);

    ASSERT_TRUE(QTest::qWaitFor([&] { return player->isHeldAtEnd(); }, 10000));
    EXPECT_EQ(player->state(), VLCMediaPlayerState::Paused);
    EXPECT_FLOAT_EQ(player->position(), 1.0f);
    EXPECT_EQ(player->time(), player->media()->length());
    EXPECT_EQ(player->remainingTime().stringValue(), "00:00");
    EXPECT_FALSE(player->isPlaying());
    EXPECT_FALSE(view->currentFrame().isNull()) << "the last frame stays shown";

    // Play again from the end starts over instead of losing the picture.
    player->play();
    ASSERT_TRUE(QTest::qWaitFor([&] { return player->isPlaying() && player->time().intValue() < 1500; }, 10000));
    EXPECT_FALSE(player->isHeldAtEnd());
}

TEST_F(VlcMediaPlayerTest, PauseIsNotTakenForTheEndAndSeeksGoWhereAsked) {
    player->setMedia(VLCMedia::mediaWithPath(SampleFiles::get().silent));
    EXPECT_TRUE(player->media()->isRearMedia());
    player->play();
    ASSERT_TRUE(waitForState(VLCMediaPlayerState::Playing));
    ASSERT_TRUE(QTest::qWaitFor([&] { return timeNotices > 0; }, 10000));
    EXPECT_TRUE(player->audioTrackIndexes().isEmpty()) << "a silent file has no audio track";
    player->pause();
    ASSERT_TRUE(waitForState(VLCMediaPlayerState::Paused));
    EXPECT_FALSE(player->isHeldAtEnd());
    EXPECT_LT(player->position(), 1.0f);

    player->setTime(VLCTime::timeWithInt(1200));
    ASSERT_TRUE(QTest::qWaitFor([&] { return std::abs(player->time().intValue() - 1200) < 100; }, 5000));
    player->play();
    ASSERT_TRUE(waitForState(VLCMediaPlayerState::Playing));
}

TEST_F(VlcMediaPlayerTest, KeepsVolumeAndMuteItselfAndSnapshotsAsJpeg) {
    player->setVolume(250);
    EXPECT_EQ(player->volume(), 200);
    player->setVolume(70);
    player->setMute(true);
    player->setMedia(VLCMedia::mediaWithPath(SampleFiles::get().withSound));
    player->play();
    ASSERT_TRUE(QTest::qWaitFor([&] { return view->framesPresented() > 2; }, 10000));
    EXPECT_EQ(player->volume(), 70);
    EXPECT_TRUE(player->isMuted());

    const QString path = QString::fromStdString(std::string(ZENTROVA_BIN_DIR) + "/../test-media/snapshot.jpg");
    QFile::remove(path);
    ASSERT_TRUE(player->saveVideoSnapshotAt(path, 0, 0));
    QImageReader reader(path);
    EXPECT_EQ(reader.format(), "jpeg");
    EXPECT_EQ(reader.size(), QSize(320, 240));
    player->stop();
    EXPECT_EQ(player->state(), VLCMediaPlayerState::Stopped);
    player->setMedia(nullptr);
    EXPECT_EQ(player->media(), nullptr);
    EXPECT_FLOAT_EQ(player->position(), 0.0f);
}

int greyAt(const QImage& image, int y) { return qGray(image.pixel(image.width() / 2, y)); }

TEST_F(VlcMediaPlayerTest, PicturesAreDecodedWholeStraightIntoTheViewsBuffersAndShownAtTheViewsSize) {
    view->resize(160, 120);
    player->setMedia(VLCMedia::mediaWithPath(SampleFiles::get().edgeBars));
    player->play();
    ASSERT_TRUE(QTest::qWaitFor([&] { return view->framesPresented() > 3; }, 10000));
    player->pause();
    ASSERT_TRUE(waitForState(VLCMediaPlayerState::Paused));
    EXPECT_EQ(player->pictureSize(), QSize(320, 240)) << "decoded at the video's own size";
    // The decoder keeps pictures it predicts from: holding more than one
    // buffer at once, it wrote into the view's buffers itself.
    EXPECT_GT(view->bufferUse().mostLentAtOnce, 1u) << "pictures were copied on their way to the view";
    const QImage frame = view->currentFrame();
    ASSERT_EQ(frame.size(), QSize(160, 120));
    // The decoder's buffer is taller than the picture: the picture is
    // scaled into the frame whole, not stretched with its bottom cut off.
    for (int y : {1, 4, 115, 118}) EXPECT_GT(greyAt(frame, y), 200) << "row " << y;
    for (int y : {9, 60, 110}) EXPECT_LT(greyAt(frame, y), 50) << "row " << y;

    const QString path = QString::fromStdString(std::string(ZENTROVA_BIN_DIR) + "/../test-media/whole.jpg");
    ASSERT_TRUE(player->saveVideoSnapshotAt(path, 0, 0));
    const QImage saved(path);
    ASSERT_EQ(saved.size(), QSize(320, 240)) << "snapshots keep the video's own size";
    for (int y : {2, 237}) EXPECT_GT(greyAt(saved, y), 200) << "row " << y;
    EXPECT_LT(greyAt(saved, 120), 50);
}

TEST_F(VlcMediaPlayerTest, PicturesFollowTheViewsSizeAtOnceWithoutRestartingTheOutput) {
    view->resize(160, 120);
    view->show();
    player->setMedia(VLCMedia::mediaWithPath(SampleFiles::get().frequentKeys));
    player->play();
    ASSERT_TRUE(QTest::qWaitFor([&] { return view->framesPresented() > 3; }, 10000));
    EXPECT_EQ(view->grab().size(), QSize(160, 120));
    const int converted = view->picturesConverted();

    view->resize(640, 480);
    const QImage large = view->grab().toImage();
    EXPECT_EQ(large.size(), QSize(640, 480));
    EXPECT_GT(view->picturesConverted(), converted) << "the picture on screen is converted again for the new size";
    const int shownAfterResize = view->framesPresented();
    ASSERT_TRUE(QTest::qWaitFor([&] { return view->framesPresented() > shownAfterResize + 5; }, 5000))
        << "pictures go on coming";
    EXPECT_EQ(player->pictureSize(), QSize(320, 240));
    EXPECT_EQ(view->currentFrame().size(), QSize(640, 480));
    EXPECT_TRUE(player->isPlaying());
    EXPECT_EQ(std::count(states.begin(), states.end(), VLCMediaPlayerState::Stopped), 0);
}

TEST_F(VlcMediaPlayerTest, AHiddenViewConvertsNoPictures) {
    view->hide();
    player->setMedia(VLCMedia::mediaWithPath(SampleFiles::get().silent));
    player->play();
    ASSERT_TRUE(QTest::qWaitFor([&] { return view->framesPresented() > 10; }, 10000));
    EXPECT_EQ(view->picturesConverted(), 0);
    view->show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return view->picturesConverted() > 0; }, 5000));
}

// What keeping two players in step relies on, on real libVLC: a wait plays
// on by itself, and nobody is told of its pause. How long the pictures
// stand still is PlayerPacing's, checked on a hand-moved clock.
TEST_F(VlcMediaPlayerTest, AWaitPlaysOnByItselfWithoutAStateNotice) {
    player->setMedia(VLCMedia::mediaWithPath(SampleFiles::get().silent));
    player->play();
    ASSERT_TRUE(waitForState(VLCMediaPlayerState::Playing));
    ASSERT_TRUE(QTest::qWaitFor([&] { return view->framesPresented() > 12; }, 10000));
    EXPECT_FALSE(player->displayAnchor()) << "where a start's pictures begin is unknown";
    player->setTime(VLCTime::timeWithInt(300));
    ASSERT_TRUE(QTest::qWaitFor([&] { return player->displayAnchor().has_value(); }, 10000));
    states.clear();

    player->holdFor(300);
    EXPECT_TRUE(player->isHolding());
    EXPECT_TRUE(player->isPlaying()) << "a wait is not a pause";
    EXPECT_FALSE(player->displayAnchor()) << "pictures after a wait do not compare with those before";
    ASSERT_TRUE(QTest::qWaitFor([&] { return !player->isHolding(); }, 5000));
    const int shownAfterWait = view->framesPresented();
    ASSERT_TRUE(QTest::qWaitFor([&] { return view->framesPresented() > shownAfterWait + 5; }, 5000));
    EXPECT_TRUE(states.empty()) << "no state notice for the wait";
    EXPECT_EQ(player->state(), VLCMediaPlayerState::Playing);

    // A pause asked for during a wait is a pause, reported as such.
    player->holdFor(300);
    player->pause();
    EXPECT_FALSE(player->isHolding());
    ASSERT_TRUE(waitForState(VLCMediaPlayerState::Paused));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !player->isPlaying(); }, 5000));
}

TEST_F(VlcMediaPlayerTest, AMoveWhilePlayingSettlesOnTheNewPlaceWithoutAStateNotice) {
    player->setMedia(VLCMedia::mediaWithPath(SampleFiles::get().frequentKeys));
    player->play();
    ASSERT_TRUE(waitForState(VLCMediaPlayerState::Playing));
    ASSERT_TRUE(QTest::qWaitFor([&] { return view->framesPresented() > 12; }, 10000));
    states.clear();

    player->setTime(VLCTime::timeWithInt(4000));
    EXPECT_TRUE(player->isSettlingMove());
    EXPECT_TRUE(player->isPlaying()) << "still playing for everybody";
    EXPECT_EQ(player->time().intValue(), 4000) << "reports where it goes, not the place it leaves";
    ASSERT_TRUE(QTest::qWaitFor([&] { return !player->isSettlingMove(); }, 10000));
    const int shownAtLetGo = view->framesPresented();
    ASSERT_TRUE(QTest::qWaitFor([&] { return view->framesPresented() > shownAtLetGo + 5; }, 5000));
    EXPECT_GE(player->time().intValue(), 4000) << "plays on from the target, not from the place it left";
    EXPECT_TRUE(states.empty()) << "no state notice for the move's pause";
    EXPECT_EQ(player->state(), VLCMediaPlayerState::Playing);
    ASSERT_TRUE(QTest::qWaitFor([&] { return player->displayAnchor().has_value(); }, 5000))
        << "the pictures played on from the new place tell where it is";

    // A pause asked for while a move settles is a pause, and the move holds.
    player->setTime(VLCTime::timeWithInt(1000));
    player->pause();
    EXPECT_FALSE(player->isSettlingMove());
    ASSERT_TRUE(waitForState(VLCMediaPlayerState::Paused));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !player->isPlaying(); }, 5000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return std::abs(player->time().intValue() - 1000) < 200; }, 5000))
        << "paused on the new place";
}

TEST_F(VlcMediaPlayerTest, TwoPairedPlayersMovedTogetherAreLetGoTogether) {
    VLCVideoView otherView;
    otherView.resize(320, 240);
    VlcMediaPlayer other(&otherView);
    PlayerPacing::pair(*player->pacing(), *other.pacing());
    player->setMedia(VLCMedia::mediaWithPath(SampleFiles::get().frequentKeys));
    other.setMedia(VLCMedia::mediaWithPath(SampleFiles::get().frequentKeys));
    player->play();
    other.play();
    ASSERT_TRUE(QTest::qWaitFor([&] { return view->framesPresented() > 12 && otherView.framesPresented() > 12; },
                                10000));
    for (int target : {5000, 2000}) {
        SCOPED_TRACE(target);
        player->setTime(VLCTime::timeWithInt(target));
        other.setTime(VLCTime::timeWithInt(target));
        ASSERT_TRUE(player->isSettlingMove() && other.isSettlingMove());
        bool togetherAtLetGo = false;
        ASSERT_TRUE(QTest::qWaitFor(
            [&] {
                if (player->isSettlingMove() && other.isSettlingMove()) return false;
                togetherAtLetGo = !player->isSettlingMove() && !other.isSettlingMove();
                return true;
            },
            10000));
        EXPECT_TRUE(togetherAtLetGo) << "neither plays on while the other still looks for its place";
        ASSERT_TRUE(QTest::qWaitFor([&] { return player->displayAnchor() && other.displayAnchor(); }, 5000))
            << "both tell where they are from the pictures played on";
    }
}

}  // namespace
}  // namespace zentrova
