#include <gtest/gtest.h>

#include "playback/ORVPlayControlHost.h"
#include "playback/ORVPlayController.h"
#include "recordings/ORVMediaList.h"
#include "support/HeldOpenFifo.h"
#include "support/ManualDelayedSteps.h"
#include "support/ScriptedMediaPlayer.h"
#include "support/TempDir.h"
#include "telemetry/ORVBlackBoxData.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <QThreadPool>

#include <atomic>
#include <functional>
#include <future>

namespace zentrova {
namespace {

using test::ManualDelayedSteps;
using test::ScriptedMediaPlayer;

struct RecordingHost : ORVPlayControlHost {
    std::int64_t selectedRow = -2;
    QString mainLogo, secondLogo;
    bool mainVisible = false, secondVisible = false, secondPresent = true;
    int telemetryShown = 0;
    int readoutResets = 0;
    std::vector<int> scaleSteps;
    bool loadingVisible = false;
    double loadingProgress = -1;
    bool audioChoiceVisible = true, audioChoiceRear = false;
    int volumeShown = -1;
    bool mutedShown = false;
    int swapAnimations = 0;
    std::vector<QString> messages;

    void selectRow(std::int64_t row) override { selectedRow = row; }
    void setVideoLogos(const QString& main, const QString& second) override {
        mainLogo = main;
        secondLogo = second;
    }
    void setVideoViewsVisible(bool main, bool second) override {
        mainVisible = main;
        secondVisible = second;
    }
    void setSecondVideoPresent(bool present) override {
        secondPresent = present;
        if (!present) audioChoiceVisible = false;
    }
    void showTelemetry(std::shared_ptr<const ORVBlackBoxData>) override { ++telemetryShown; }
    void resetTelemetryReadouts() override { ++readoutResets; }
    void setVideoScaleIndex(int step) override { scaleSteps.push_back(step); }
    void showLoadingProgress(bool visible, double progress) override {
        loadingVisible = visible;
        loadingProgress = progress;
    }
    void showAudioChoice(bool visible, bool rear) override {
        audioChoiceVisible = visible;
        audioChoiceRear = rear;
    }
    void showVolume(int volume, bool muted) override {
        volumeShown = volume;
        mutedShown = muted;
    }
    double videoContainerHeight() const override { return 360.0; }
    void animateSwap() override { ++swapAnimations; }
    void showPlayMessage(const QString& message) override { messages.push_back(message); }
};

// The card used throughout, in list order:
// 0 alwa 08:15 front, 1 alwa 08:15 rear, 2 motion 08:16 front only,
// 3 event 08:17 rear only, 4 alwa 08:18 front, 5 alwa 08:18 rear.
class PlayControllerTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* name : {"alwa_20190312_081500_F.MP4", "alwa_20190312_081500_R.MP4",
                                 "motion_20190312_081600_F.MP4", "event_20190312_081700_R.MP4",
                                 "alwa_20190312_081800_F.MP4", "alwa_20190312_081800_R.MP4"}) {
            card.touch(std::string("Normal/") + name);
        }
        list.setDirectoryPath(card.str());
        list.waitForScans();
        ASSERT_EQ(list.count(), 6u);
        makeController();
    }

    void makeController() {
        ORVPlayController::Parts parts;
        parts.player1 = &player1;
        parts.player2 = &player2;
        parts.mediaList = &list;
        parts.host = &host;
        parts.delayedSteps = steps;
        parts.extractTelemetry = [this](const std::string& path) {
            extractedPaths.push_back(path);
            return std::make_shared<ORVBlackBoxData>();
        };
        parts.runInBackground = [this](auto work, auto done) {
            if (holdExtraction) {
                heldWork.emplace_back(std::move(work), std::move(done));
            } else {
                done(work());
            }
        };
        parts.returnFreedMemory = [this] { ++memoryReturns; };
        controller = std::make_unique<ORVPlayController>(std::move(parts));
    }

    std::string fileOf(const ScriptedMediaPlayer& player) const {
        return player.loaded ? QFileInfoName(player.loaded->path()) : std::string();
    }
    static std::string QFileInfoName(const QString& path) { return path.section('/', -1).toStdString(); }

    // Start index and let both players report that they play.
    void startAndPlay(std::int64_t index) {
        ASSERT_TRUE(controller->playAtIndex(index));
        player1.reportPlaying();
        if (player2.loaded) player2.reportPlaying();
        ASSERT_FALSE(controller->waitingForPlayStart());
    }

    test::TempDir card;
    ORVMediaList list;
    ScriptedMediaPlayer player1, player2;
    RecordingHost host;
    std::shared_ptr<ManualDelayedSteps> steps = std::make_shared<ManualDelayedSteps>();
    std::vector<std::string> extractedPaths;
    int memoryReturns = 0;
    bool holdExtraction = false;
    std::vector<std::pair<std::function<ORVPlayController::Telemetry()>,
                          std::function<void(ORVPlayController::Telemetry)>>>
        heldWork;
    std::unique_ptr<ORVPlayController> controller;
};

TEST_F(PlayControllerTest, StartPutsTheChosenSideInTheLargeViewAndReadsTheFrontFile) {
    struct Case {
        std::int64_t index;
        std::string mainFile, secondFile, mainLogo, secondLogo, telemetryFile;
        bool secondPresent;
    } cases[] = {
        {0, "alwa_20190312_081500_F.MP4", "alwa_20190312_081500_R.MP4", "v1_front_logo", "v2_rear_logo",
         "alwa_20190312_081500_F.MP4", true},
        {1, "alwa_20190312_081500_R.MP4", "alwa_20190312_081500_F.MP4", "v1_rear_logo", "v2_front_logo",
         "alwa_20190312_081500_F.MP4", true},
        {2, "motion_20190312_081600_F.MP4", "", "v1_front_logo", "v2_rear_logo", "motion_20190312_081600_F.MP4",
         false},
        {3, "event_20190312_081700_R.MP4", "", "v1_rear_logo", "v2_front_logo", "", false},
        {-5, "alwa_20190312_081500_F.MP4", "alwa_20190312_081500_R.MP4", "v1_front_logo", "v2_rear_logo",
         "alwa_20190312_081500_F.MP4", true},
        {99, "alwa_20190312_081800_R.MP4", "alwa_20190312_081800_F.MP4", "v1_rear_logo", "v2_front_logo",
         "alwa_20190312_081800_F.MP4", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.index);
        extractedPaths.clear();
        controller->stopPlay();
        ASSERT_TRUE(controller->playAtIndex(c.index));
        EXPECT_EQ(fileOf(player1), c.mainFile);
        EXPECT_EQ(fileOf(player2), c.secondFile);
        EXPECT_EQ(host.mainLogo.toStdString(), c.mainLogo);
        EXPECT_EQ(host.secondLogo.toStdString(), c.secondLogo);
        EXPECT_EQ(host.secondPresent, c.secondPresent);
        EXPECT_EQ(host.selectedRow, controller->mediaIndex());
        if (c.telemetryFile.empty()) {
            EXPECT_TRUE(extractedPaths.empty());
        } else {
            ASSERT_EQ(extractedPaths.size(), 1u);
            EXPECT_EQ(QFileInfoName(QString::fromStdString(extractedPaths[0])), c.telemetryFile);
        }
        EXPECT_EQ(player1.plays > 0, true);
        EXPECT_EQ(player2.playRequested, !c.secondFile.empty());
    }
}

TEST_F(PlayControllerTest, ASecondStartBeforeTheFirstPlaysIsRefused) {
    ASSERT_TRUE(controller->playAtIndex(0));
    EXPECT_FALSE(controller->playAtIndex(2));
    EXPECT_EQ(controller->mediaIndex(), 0);
    player1.reportPlaying();
    EXPECT_TRUE(controller->waitingForPlayStart()) << "the second player has not started yet";
    player2.reportPlaying();
    EXPECT_FALSE(controller->waitingForPlayStart());
    EXPECT_TRUE(controller->playAtIndex(2));
}

TEST_F(PlayControllerTest, StopDuringTelemetryReadingStartsNothingAndRefusesNothing) {
    holdExtraction = true;
    ASSERT_TRUE(controller->playAtIndex(0));
    controller->stopPlay();
    EXPECT_FALSE(controller->waitingForPlayStart());
    ASSERT_EQ(heldWork.size(), 1u);
    const int playsBefore = player1.plays;
    heldWork[0].second(heldWork[0].first());
    EXPECT_EQ(player1.plays, playsBefore) << "a stopped start must not begin later";
    EXPECT_EQ(host.telemetryShown, 0);
    EXPECT_TRUE(controller->playAtIndex(2));
}

TEST_F(PlayControllerTest, AnOlderExtractionFinishingLateStartsNothing) {
    holdExtraction = true;
    ASSERT_TRUE(controller->playAtIndex(0));
    controller->stopPlay();
    ASSERT_TRUE(controller->playAtIndex(2));
    ASSERT_EQ(heldWork.size(), 2u);
    heldWork[1].second(heldWork[1].first());
    EXPECT_EQ(fileOf(player1), "motion_20190312_081600_F.MP4");
    const int plays = player1.plays;
    heldWork[0].second(heldWork[0].first());
    EXPECT_EQ(player1.plays, plays);
    EXPECT_EQ(host.telemetryShown, 1);
}

TEST_F(PlayControllerTest, AFileThatFailsToPlayReleasesTheStart) {
    ASSERT_TRUE(controller->playAtIndex(0));
    player1.reportState(VLCMediaPlayerState::Error);
    EXPECT_FALSE(controller->waitingForPlayStart());
    EXPECT_TRUE(controller->playAtIndex(2));
}

// What a player may do instead of playing a file it cannot show.
struct GivingUp {
    const char* what;
    std::function<void(ScriptedMediaPlayer&, ManualDelayedSteps&)> act;
    const char* reason;
};

const std::vector<GivingUp>& waysOfGivingUp() {
    static const std::vector<GivingUp> ways = {
        {"held at the end without playing", [](auto& player, auto&) { player.reportHeldAtEnd(); },
         "it ended before showing any picture"},
        {"ended without playing", [](auto& player, auto&) { player.reportState(VLCMediaPlayerState::Ended); },
         "it ended before showing any picture"},
        {"stopped without playing", [](auto& player, auto&) { player.reportState(VLCMediaPlayerState::Stopped); },
         "it ended before showing any picture"},
        {"failed", [](auto& player, auto&) { player.reportState(VLCMediaPlayerState::Error); },
         "the player could not read it"},
        {"nothing at all", [](auto&, auto& steps) { steps.advance(15000); }, "no picture after 15 seconds"},
    };
    return ways;
}

TEST_F(PlayControllerTest, AStartThatNeverPlaysIsToldAndTheNextRecordingFollows) {
    struct Start {
        std::int64_t index;
        const char* file;
        std::int64_t next;
    } starts[] = {{0, "alwa_20190312_081500_F.MP4", 2}, {2, "motion_20190312_081600_F.MP4", 3}};
    for (const GivingUp& way : waysOfGivingUp()) {
        for (const Start& start : starts) {
            SCOPED_TRACE(testing::Message() << way.what << ", row " << start.index);
            controller->stopPlay();
            host.messages.clear();
            ASSERT_TRUE(controller->playAtIndex(start.index));
            way.act(player1, *steps);
            EXPECT_FALSE(controller->waitingForPlayStart());
            ASSERT_EQ(host.messages.size(), 1u);
            EXPECT_EQ(host.messages[0].toStdString(), std::string(start.file) + " cannot be played: " + way.reason);
            EXPECT_EQ(player1.loaded, nullptr);
            EXPECT_EQ(player2.loaded, nullptr);
            EXPECT_FALSE(host.mainVisible);
            EXPECT_FALSE(controller->playInfo()->isPlaying());
            steps->advance(1000);
            EXPECT_EQ(controller->mediaIndex(), start.next) << "the automatic move goes on";
            EXPECT_TRUE(controller->waitingForPlayStart()) << "the next recording is starting";
        }
    }
}

TEST_F(PlayControllerTest, ASecondFileThatNeverPlaysLeavesTheMainOnePlayingAlone) {
    for (const GivingUp& way : waysOfGivingUp()) {
        SCOPED_TRACE(way.what);
        controller->stopPlay();
        host.messages.clear();
        ASSERT_TRUE(controller->playAtIndex(0));
        player1.reportPlaying();
        ASSERT_TRUE(controller->waitingForPlayStart());
        way.act(player2, *steps);
        EXPECT_FALSE(controller->waitingForPlayStart());
        ASSERT_EQ(host.messages.size(), 1u);
        EXPECT_EQ(host.messages[0].toStdString(), std::string("alwa_20190312_081500_R.MP4 cannot be played: ") + way.reason);
        EXPECT_EQ(fileOf(player1), "alwa_20190312_081500_F.MP4");
        EXPECT_EQ(player2.loaded, nullptr);
        EXPECT_FALSE(host.secondPresent);
        EXPECT_TRUE(controller->playInfo()->isPlaying());
        EXPECT_EQ(controller->mediaIndex(), 0);
    }
}

TEST_F(PlayControllerTest, WhatAPlayerDoesAfterItPlayedOrBeforeItWasAskedToIsNoFailure) {
    struct Case {
        const char* what;
        std::function<void()> act;
    };
    const Case cases[] = {
        {"the first pauses after playing while the second still starts",
         [this] {
             player1.reportPlaying();
             player1.reportState(VLCMediaPlayerState::Paused);
         }},
        {"the second reaches its end after playing, before the first plays",
         [this] {
             player2.reportPlaying();
             player2.reportHeldAtEnd();
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        controller->stopPlay();
        host.messages.clear();
        ASSERT_TRUE(controller->playAtIndex(0));
        c.act();
        EXPECT_TRUE(host.messages.empty());
        EXPECT_NE(player1.loaded, nullptr);
        EXPECT_NE(player2.loaded, nullptr);
    }

    // A notice of the stop that made way for the new files, arriving while
    // their telemetry is read.
    controller->stopPlay();
    holdExtraction = true;
    ASSERT_TRUE(controller->playAtIndex(0));
    player1.reportState(VLCMediaPlayerState::Stopped);
    EXPECT_TRUE(controller->waitingForPlayStart());
    EXPECT_TRUE(host.messages.empty());
    heldWork.back().second(heldWork.back().first());
    player1.reportPlaying();
    player2.reportPlaying();
    EXPECT_FALSE(controller->waitingForPlayStart());
    EXPECT_TRUE(host.messages.empty());
}

// The player may read a file without video through, saying it plays, and
// end it at once.
TEST_F(PlayControllerTest, AFileThatPlaysWithoutAnyPictureAndEndsIsToldAndPassedOver) {
    struct Case {
        const char* what;
        bool picture;
        std::function<void()> after;
        bool told;
    };
    const Case cases[] = {
        {"ends without a picture", false, [this] { player1.reportHeldAtEnd(); }, true},
        {"fails without a picture", false, [this] { player1.reportState(VLCMediaPlayerState::Error); }, true},
        {"paused by the user without a picture", false,
         [this] {
             player1.playPosition = 0.3f;
             player1.reportState(VLCMediaPlayerState::Paused);
         },
         false},
        {"ends after its pictures", true, [this] { player1.reportHeldAtEnd(); }, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        controller->stopPlay();
        host.messages.clear();
        player1.videoOut = c.picture;
        ASSERT_TRUE(controller->playAtIndex(2));
        player1.reportPlaying();
        ASSERT_FALSE(controller->waitingForPlayStart());
        c.after();
        EXPECT_EQ(host.messages.size(), c.told ? 1u : 0u);
        steps->advance(1000);
        EXPECT_EQ(controller->mediaIndex(), c.told ? 3 : 2);
    }
}

TEST_F(PlayControllerTest, TheRowOfAFileThatCouldNotPlayStartsAgainWhenChosen) {
    ASSERT_TRUE(controller->playAtIndex(2));
    player1.reportState(VLCMediaPlayerState::Error);
    ASSERT_EQ(player1.loaded, nullptr);
    controller->changeAndPlay(2);
    EXPECT_EQ(fileOf(player1), "motion_20190312_081600_F.MP4");
    EXPECT_TRUE(controller->waitingForPlayStart());
}

// Special files named like recordings are listed, but never handed to a
// player (it would wait for ever for a writer) nor read for telemetry.
class PlayControllerSpecialFileTest : public PlayControllerTest {
protected:
    void SetUp() override {}
};

TEST_F(PlayControllerSpecialFileTest, AFifoIsNeverHandedToAPlayer) {
    card.touch("Normal/alwa_20190312_081500_F.MP4");
    test::HeldOpenFifo rearFifo(card.path() / "Normal/alwa_20190312_081500_R.MP4");
    test::HeldOpenFifo frontFifo(card.path() / "Normal/motion_20190312_081600_F.MP4");
    card.touch("Normal/event_20190312_081700_F.MP4");
    ASSERT_TRUE(rearFifo.ok() && frontFifo.ok());
    list.setDirectoryPath(card.str());
    list.waitForScans();
    ASSERT_EQ(list.count(), 4u);
    makeController();

    struct Case {
        std::int64_t index;
        std::string mainFile, secondFile, message;
        std::vector<std::string> extracted;
        std::int64_t nextAfterASecond;
    } cases[] = {
        {0, "alwa_20190312_081500_F.MP4", "",
         "alwa_20190312_081500_R.MP4 cannot be played: not a regular file (a FIFO)", {"alwa_20190312_081500_F.MP4"}, 0},
        {1, "", "", "alwa_20190312_081500_R.MP4 cannot be played: not a regular file (a FIFO)", {}, 3},
        {2, "", "", "motion_20190312_081600_F.MP4 cannot be played: not a regular file (a FIFO)", {}, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.index);
        controller->stopPlay();
        host.messages.clear();
        extractedPaths.clear();
        EXPECT_EQ(controller->playAtIndex(c.index), !c.mainFile.empty());
        EXPECT_EQ(fileOf(player1), c.mainFile);
        EXPECT_EQ(fileOf(player2), c.secondFile);
        ASSERT_EQ(host.messages.size(), 1u);
        EXPECT_EQ(host.messages[0].toStdString(), c.message);
        std::vector<std::string> extracted;
        for (const std::string& path : extractedPaths) extracted.push_back(QFileInfoName(QString::fromStdString(path)));
        EXPECT_EQ(extracted, c.extracted);
        steps->advance(1000);
        EXPECT_EQ(controller->mediaIndex(), c.nextAfterASecond);
    }
}

TEST_F(PlayControllerTest, PositionFollowsTheFirstNoticeThenEveryThird) {
    startAndPlay(0);
    std::vector<double> shown;
    QObject::connect(controller->playInfo(), &ORVPlayInfo::positionChanged,
                     [&shown](double position) { shown.push_back(position); });
    for (float position : {0.1f, 0.2f, 0.3f, 0.4f, 0.5f, 0.6f, 0.7f}) player1.reportTime(position);
    player2.reportTime(0.9f);
    EXPECT_EQ(shown, (std::vector<double>{0.1f, 0.4f, 0.7f}));
}

TEST_F(PlayControllerTest, LoadingIndicatorEndsAtTheFirstTimeNoticeOrAfterFifteenSeconds) {
    ASSERT_TRUE(controller->playAtIndex(0));
    EXPECT_TRUE(host.loadingVisible);
    steps->advance(900);
    EXPECT_NEAR(host.loadingProgress, 6.0, 1e-9);
    player1.reportTime(0.01f);
    EXPECT_TRUE(controller->stopVideoLoadingView());
    steps->advance(300);
    EXPECT_FALSE(host.loadingVisible);

    controller->stopPlay();
    ASSERT_TRUE(controller->playAtIndex(2));
    steps->advance(14700);
    EXPECT_TRUE(host.loadingVisible);
    steps->advance(300);
    EXPECT_FALSE(host.loadingVisible);
    EXPECT_TRUE(controller->stopVideoLoadingView());
}

TEST_F(PlayControllerTest, EndOfFileMovesToTheNextRecording) {
    struct Case {
        std::int64_t from;
        std::int64_t expectedNext;  // -1: nothing starts
    } cases[] = {{0, 2}, {1, 3}, {2, 3}, {3, 4}, {4, -1}, {5, -1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.from);
        controller->stopPlay();
        startAndPlay(c.from);
        player1.reportHeldAtEnd();
        if (player2.loaded) player2.reportHeldAtEnd();
        steps->advance(1000);
        EXPECT_TRUE(controller->preparingPlayNext());
        steps->advance(1000);
        EXPECT_EQ(controller->mediaIndex(), c.expectedNext == -1 ? c.from : c.expectedNext);
        if (c.expectedNext != -1) {
            player1.reportPlaying();
            if (player2.loaded) player2.reportPlaying();
        }
    }
    EXPECT_EQ(steps->liveTimers(), 1u) << "each start replaces the end-of-file check";
}

TEST_F(PlayControllerTest, PlayAtTheEndOfTheLastRecordingStartsItAgain) {
    startAndPlay(4);
    player1.reportHeldAtEnd();
    player2.reportHeldAtEnd();
    controller->playInfo()->setPosition(1.0);
    steps->advance(3000);
    EXPECT_EQ(controller->mediaIndex(), 4);
    EXPECT_FALSE(controller->playInfo()->isPlaying());
    extractedPaths.clear();
    controller->clickPlayButton();
    EXPECT_TRUE(controller->waitingForPlayStart());
    EXPECT_EQ(extractedPaths.size(), 1u);
    EXPECT_EQ(player1.playPosition, 0.0f);
}

TEST_F(PlayControllerTest, PlayAtTheEndWithTheSliderBackSeeksThere) {
    startAndPlay(0);
    player1.reportHeldAtEnd();
    player2.reportHeldAtEnd();
    controller->playInfo()->setPosition(0.5);
    controller->clickPlayButton();
    EXPECT_FLOAT_EQ(player1.playPosition, 0.5f);
    EXPECT_FLOAT_EQ(player2.playPosition, 0.5f);
    EXPECT_FALSE(player1.playRequested);
    steps->advance(100);
    EXPECT_TRUE(player1.playRequested);
    EXPECT_TRUE(player2.playRequested);
}

TEST_F(PlayControllerTest, PauseAndPlayActOnBothPlayers) {
    startAndPlay(0);
    player1.reportTime(0.2f);
    ASSERT_TRUE(controller->playInfo()->isPlaying());
    controller->clickPlayButton();
    EXPECT_FALSE(player1.playing);
    EXPECT_FALSE(player2.playing);
    player1.reportState(VLCMediaPlayerState::Paused);
    controller->playInfo()->setIsPlaying(false);
    player2.playPosition = 0.1f;
    controller->clickPlayButton();
    EXPECT_TRUE(player1.playRequested);
    EXPECT_TRUE(player2.playRequested);
    steps->advance(300);
    EXPECT_FLOAT_EQ(player2.playPosition, 0.2f) << "the second player is brought back in step";
}

TEST_F(PlayControllerTest, SliderMovesSeekOrGoToTheEnd) {
    startAndPlay(0);
    controller->videoPositionSliderMoved(0.5);
    EXPECT_TRUE(controller->moving());
    EXPECT_FLOAT_EQ(player1.playPosition, 0.5f);
    player1.reportTime(0.1f);  // a stale notice while the seek settles
    EXPECT_DOUBLE_EQ(controller->playInfo()->position(), 0.5);
    controller->videoPositionSliderMoved(0.7);  // ignored while moving
    EXPECT_FLOAT_EQ(player1.playPosition, 0.1f);
    steps->advance(300);
    EXPECT_FALSE(controller->moving());

    controller->videoPositionSliderMoved(0.999);
    EXPECT_FLOAT_EQ(player1.playPosition, 1.0f);
    EXPECT_FLOAT_EQ(player2.playPosition, 1.0f);
    EXPECT_FALSE(controller->moving());
}

TEST_F(PlayControllerTest, JumpsNearTheEndsGoToTheEnds) {
    startAndPlay(0);  // 60 s files
    struct Case {
        float from;
        bool forward;
        float expected;
        bool moving;
    } cases[] = {
        {0.90f, true, 1.0f, false},   // 6 s left
        {0.50f, true, 40.0f / 60.0f, true},
        {0.10f, false, 0.0f, false},  // 6 s in
        {0.50f, false, 20.0f / 60.0f, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.from << (c.forward ? " forward" : " backward"));
        player1.playPosition = player2.playPosition = c.from;
        controller->playInfo()->setPosition(c.from);
        c.forward ? controller->jumpForward() : controller->jumpBackward();
        EXPECT_NEAR(player1.playPosition, c.expected, 1e-4);
        EXPECT_EQ(controller->moving(), c.moving);
        if (c.forward && c.moving) {
            EXPECT_NEAR(controller->playInfo()->position(), c.from + 10.0 / 60.0, 1e-6);
            player1.reportTime(0.2f);
            EXPECT_NEAR(controller->playInfo()->position(), c.from + 10.0 / 60.0, 1e-6) << "held while settling";
        }
        steps->advance(300);
        EXPECT_FALSE(controller->moving());
        EXPECT_NEAR(player2.playPosition, player1.playPosition, 1e-6);
    }
}

TEST_F(PlayControllerTest, KeepingInStepMovesBothPlayersToTheFirstOnesTime) {
    struct Case {
        const char* what;
        std::int64_t secondLengthMs;
        bool bySpeedChange;
        int firstTimesSet;
        float secondPosition;
        float secondBefore = 0.2f;
    };
    const Case cases[] = {
        {"same length: both seek to the same time", 60000, false, 1, 0.25f},
        {"speed change realigns too", 60000, true, 1, 0.25f},
        {"second file too short for the time: by position", 10000, false, 0, 0.25f},
        {"already in step: neither is moved again", 60000, false, 0, 0.25f, 0.25f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        player2.lengthMs = c.secondLengthMs;
        startAndPlay(0);
        player1.reportTime(0.25f);
        player2.playPosition = c.secondBefore;
        player1.timesSet = player2.timesSet = 0;
        if (c.bySpeedChange) {
            controller->increaseSpeed();
        } else {
            controller->videoPositionSliderMoved(0.25);
            player1.playPosition = 0.25f;
            player2.playPosition = c.secondBefore;
        }
        steps->advance(300);
        EXPECT_EQ(player1.timesSet, c.firstTimesSet);
        EXPECT_EQ(player2.timesSet, c.firstTimesSet);
        EXPECT_FLOAT_EQ(player2.playPosition, c.secondPosition);
        controller->stopPlay();
        if (c.bySpeedChange) controller->decreaseSpeed();
    }
}

// Playing the shown recording again from its end starts both from 0; the
// step that keeps them in step follows before the first has a time.
TEST_F(PlayControllerTest, KeepingInStepLeavesPlayersAloneWhileTheFirstHasNoTimeYet) {
    startAndPlay(0);
    player1.reportHeldAtEnd();
    player2.reportHeldAtEnd();
    player1.timesSet = player2.timesSet = 0;
    controller->changeAndPlay(0);
    ASSERT_FLOAT_EQ(player1.playPosition, 0.0f);
    player2.playPosition = 0.02f;  // the second already under way
    steps->advance(300);
    EXPECT_FLOAT_EQ(player2.playPosition, 0.02f) << "moving the second alone puts it behind by its seek";
    EXPECT_EQ(player1.timesSet + player2.timesSet, 0);
}

TEST_F(PlayControllerTest, SpeedAndVolumeStayInTheirRanges) {
    startAndPlay(0);
    controller->decreaseSpeed();
    EXPECT_DOUBLE_EQ(controller->playInfo()->speed(), 1.0);
    controller->increaseSpeed();
    controller->increaseSpeed();
    EXPECT_DOUBLE_EQ(controller->playInfo()->speed(), 2.0);
    EXPECT_FLOAT_EQ(player1.playRate, 2.0f);
    EXPECT_FLOAT_EQ(player2.playRate, 2.0f);
    controller->decreaseSpeed();
    EXPECT_FLOAT_EQ(player1.playRate, 1.0f);

    EXPECT_EQ(controller->volume(), 70);
    for (int i = 0; i < 20; ++i) controller->volumeUp();
    EXPECT_EQ(controller->volume(), 200);
    for (int i = 0; i < 25; ++i) controller->volumeDown();
    EXPECT_EQ(controller->volume(), 0);
    controller->volumeSliderMoved(130);
    EXPECT_EQ(host.volumeShown, 130);
    controller->volumeSliderMoved(900);
    EXPECT_EQ(controller->volume(), 200);
}

TEST_F(PlayControllerTest, SoundComesFromOneChosenSide) {
    struct Case {
        std::int64_t index;
        bool mainHasSound, secondHasSound;
        int expectedDirection;
        bool mainHeard, secondHeard, toggleVisible;
    } cases[] = {
        {0, true, false, ORVMediaDirectionFront, true, false, true},
        {1, false, true, ORVMediaDirectionFront, false, true, true},  // rear main is silent
        {1, true, true, ORVMediaDirectionRear, true, false, true},
        {2, false, false, ORVMediaDirectionUnknown, false, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.index);
        controller->stopPlay();
        player1.withSound = c.mainHasSound;
        player2.withSound = c.secondHasSound;
        ASSERT_TRUE(controller->playAtIndex(c.index));
        if (!player2.loaded) {
            EXPECT_FALSE(host.audioChoiceVisible) << "hidden while a single file loads";
        }
        player1.reportPlaying();
        if (player2.loaded) player2.reportPlaying();
        EXPECT_EQ(controller->playInfo()->audioMediaDirection(), c.expectedDirection);
        EXPECT_EQ(!player1.muted, c.mainHeard);
        EXPECT_EQ(!player2.muted, c.secondHeard);
        EXPECT_EQ(host.audioChoiceVisible, c.toggleVisible);
    }
    startAndPlay(2);  // front only: asking for the rear mutes both
    controller->toggleAudioChoice(true);
    EXPECT_TRUE(player1.muted);
    EXPECT_TRUE(player2.muted);
    EXPECT_TRUE(host.audioChoiceRear);
}

TEST_F(PlayControllerTest, TheViewsKeepTheLastPicturesUntilTheNextRecordingPlays) {
    struct Case {
        const char* what;
        std::int64_t next;
        std::function<void()> thenPlayers;
        bool expectedMainShown, expectedSecondShown;
    } cases[] = {
        {"the next with two files, not yet playing", 4, [] {}, true, true},
        {"the next, both opening", 4,
         [this] {
             player1.reportState(VLCMediaPlayerState::Opening);
             player2.reportState(VLCMediaPlayerState::Opening);
         },
         true, true},
        {"a next without a second file", 2, [this] { player1.reportState(VLCMediaPlayerState::Opening); }, true,
         false},
        {"the next cannot be played", 4, [this] { player1.reportState(VLCMediaPlayerState::Error); }, false, false},
        {"nothing arrives in time", 4, [this] { steps->advance(15000); }, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        controller->stopPlay();
        EXPECT_FALSE(host.mainVisible) << "a stop shows nothing";
        steps->advance(2000);
        startAndPlay(0);
        ASSERT_TRUE(host.mainVisible && host.secondVisible);
        player1.reportHeldAtEnd();
        player2.reportHeldAtEnd();
        ASSERT_TRUE(host.mainVisible && host.secondVisible) << "the last pictures held";
        ASSERT_TRUE(controller->playAtIndex(c.next));
        c.thenPlayers();
        EXPECT_EQ(host.mainVisible, c.expectedMainShown);
        EXPECT_EQ(host.secondVisible, c.expectedSecondShown);
    }
}

// Between a pause and its notice the player no longer plays but still says
// it does; a time notice sent before the pause arrives then too. Hiding the
// views there would throw away the pictures that print needs.
TEST_F(PlayControllerTest, APauseOnItsWayKeepsBothPicturesShown) {
    struct Case {
        const char* what;
        std::function<void()> meanwhile;
    } cases[] = {
        {"a time notice sent before the pause", [this] { player1.reportTime(0.4f); }},
        {"the second player's state notice", [this] { player2.reportState(VLCMediaPlayerState::Playing); }},
        {"the pause's own notices", [this] {
             player1.reportState(VLCMediaPlayerState::Paused);
             player2.reportState(VLCMediaPlayerState::Paused);
         }},
    };
    player1.pauseNoticeLater = player2.pauseNoticeLater = true;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        controller->stopPlay();
        steps->advance(2000);
        startAndPlay(0);
        player1.reportTime(0.3f);
        const int pausesBefore = player1.pauses;
        controller->clickPlayButton();
        ASSERT_EQ(player1.pauses, pausesBefore + 1);
        c.meanwhile();
        EXPECT_TRUE(host.mainVisible);
        EXPECT_TRUE(host.secondVisible);
    }
    controller->stopPlay();
    EXPECT_FALSE(host.mainVisible || host.secondVisible) << "a stop still shows nothing";
}

TEST_F(PlayControllerTest, FreedMemoryIsReturnedEachSecondOfPlayAndOnceAfter) {
    struct Case {
        const char* what;
        std::function<void()> afterTwoSeconds;
        int expectedReturns;  // in five seconds
    } cases[] = {
        {"playing on", [] {}, 5},
        {"paused", [this] { controller->clickPlayButton(); }, 3},
        {"stopped", [this] { controller->stopPlay(); }, 3},
        {"only the second player plays on", [this] { player1.reportState(VLCMediaPlayerState::Paused); }, 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        controller->stopPlay();
        steps->advance(3000);
        startAndPlay(0);
        memoryReturns = 0;
        steps->advance(2000);
        c.afterTwoSeconds();
        steps->advance(3000);
        EXPECT_EQ(memoryReturns, c.expectedReturns);
    }
}

TEST_F(PlayControllerTest, NothingIsReturnedWhileARecordingOnlyLoads) {
    ASSERT_TRUE(controller->playAtIndex(0));
    steps->advance(5000);
    EXPECT_EQ(memoryReturns, 0);
}

TEST_F(PlayControllerTest, MuteSilencesTheHeardSideUntilMutedAgainOrTheVolumeChanges) {
    struct Case {
        const char* what;
        std::function<void(ORVPlayController&)> after;
        bool expectedMuted;
        int expectedVolume;
    } cases[] = {
        {"muted", [](ORVPlayController&) {}, true, 70},
        {"muted again", [](ORVPlayController& c) { c.toggleMute(); }, false, 70},
        {"volume up", [](ORVPlayController& c) { c.volumeUp(); }, false, 80},
        {"volume slider", [](ORVPlayController& c) { c.volumeSliderMoved(30); }, false, 30},
        {"the other side chosen", [](ORVPlayController& c) { c.toggleAudioChoice(true); }, true, 70},
        {"the next recording", [this](ORVPlayController&) { startAndPlay(4); }, true, 70},
    };
    player1.withSound = true;
    player2.withSound = true;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        controller->stopPlay();
        controller->setVolume(70);
        startAndPlay(0);
        ASSERT_FALSE(player1.muted);
        controller->toggleMute();
        c.after(*controller);
        EXPECT_EQ(controller->muted(), c.expectedMuted);
        EXPECT_EQ(host.mutedShown, c.expectedMuted);
        EXPECT_EQ(host.volumeShown, c.expectedVolume);
        const ORVMediaPlayer& heard = controller->audioToggleOn() ? static_cast<ORVMediaPlayer&>(player2) : player1;
        EXPECT_EQ(heard.isMuted(), c.expectedMuted);
        if (!c.expectedMuted) {
            EXPECT_EQ(heard.volume(), c.expectedVolume);
        }
        EXPECT_TRUE(player1.muted || player2.muted) << "one side at most is heard";
    }
}

TEST_F(PlayControllerTest, SwapNeedsBothPlayingAndKeepsThePosition) {
    startAndPlay(2);
    controller->swapPlayer();
    EXPECT_FALSE(controller->swapping()) << "one file only";

    controller->stopPlay();
    startAndPlay(0);
    player1.playPosition = player2.playPosition = 0.4f;
    controller->swapPlayer();
    EXPECT_TRUE(controller->swapping());
    EXPECT_EQ(fileOf(player1), "alwa_20190312_081500_R.MP4");
    EXPECT_EQ(fileOf(player2), "alwa_20190312_081500_F.MP4");
    EXPECT_EQ(host.mainLogo, "v1_rear_logo");
    EXPECT_EQ(host.secondLogo, "v2_front_logo");
    EXPECT_TRUE(player1.muted && player2.muted);
    EXPECT_EQ(host.swapAnimations, 1);

    player1.playPosition = player2.playPosition = 0.4f;
    controller->swapPlayer();
    EXPECT_EQ(host.swapAnimations, 1) << "a second swap within 1.7 s is refused";
    player1.playPosition = player2.playPosition = 0.0f;
    steps->advance(800);
    EXPECT_FALSE(controller->moving());
    EXPECT_FLOAT_EQ(player1.playPosition, 0.4f);
    EXPECT_FLOAT_EQ(player2.playPosition, 0.4f);
    steps->advance(900);
    EXPECT_FALSE(controller->swapping());
    EXPECT_TRUE(player1.muted) << "the chosen side stays the front file, now in the small view";
    EXPECT_FALSE(player2.muted);
}

TEST_F(PlayControllerTest, ReplayOfTheLoadedRecordingRestartsFromTheStart) {
    startAndPlay(0);
    player1.reportHeldAtEnd();
    player2.reportHeldAtEnd();
    controller->changeAndPlay(0);
    EXPECT_FLOAT_EQ(player1.playPosition, 0.0f);
    EXPECT_FLOAT_EQ(player2.playPosition, 0.0f);
    EXPECT_TRUE(player1.playRequested);
    controller->changeAndPlay(4);
    EXPECT_EQ(controller->mediaIndex(), 4);
}

TEST_F(PlayControllerTest, ScaleAndSizeStepsFollowThePlayer) {
    startAndPlay(0);
    EXPECT_DOUBLE_EQ(controller->playInfo()->scale(), 2.0);  // 360 / 180
    EXPECT_EQ(host.scaleSteps, (std::vector<int>{0}));
    controller->sizeUp();
    controller->sizeDown();
    player1.playing = false;
    controller->sizeUp();
    EXPECT_EQ(host.scaleSteps, (std::vector<int>{0, 1, -1}));
}

// The telemetry of a recording is read on a thread that nothing waits for
// at the end: a read that hangs (a FIFO swapped in, a card that stopped
// answering) must not keep the application from quitting.
TEST(PlayControllerRunnerTest, WorkThatHangsKeepsNobodyWaitingAndNoAnswerReachesAReceiverThatIsGone) {
    static int argc = 1;
    static char name[] = "play_controller_tests";
    static char* argv[] = {name, nullptr};
    static QCoreApplication* app = QCoreApplication::instance() ? nullptr : new QCoreApplication(argc, argv);
    (void)app;
    for (const bool receiverStays : {true, false}) {
        SCOPED_TRACE(receiverStays ? "receiver stays" : "receiver gone");
        auto receiver = std::make_unique<QObject>();
        std::promise<void> release;
        std::shared_future<void> released = release.get_future().share();
        // The answer lives on only in an answer posted to the receiver.
        std::weak_ptr<const ORVBlackBoxData> answer;
        bool made = false;
        std::mutex answerMutex;
        QThread* answeredOn = nullptr;
        ORVPlayController::BackgroundRunner run = ORVPlayController::detachedThreadRunner(*receiver);
        run(
            [released, &answer, &made, &answerMutex] {
                released.wait();
                auto telemetry = std::make_shared<const ORVBlackBoxData>();
                const std::lock_guard lock(answerMutex);
                answer = telemetry;
                made = true;
                return telemetry;
            },
            [&answeredOn](ORVPlayController::Telemetry) { answeredOn = QThread::currentThread(); });
        EXPECT_TRUE(QThreadPool::globalInstance()->waitForDone(0)) << "quitting would wait for the hanging work";
        if (!receiverStays) receiver.reset();
        release.set_value();
        QElapsedTimer waited;
        waited.start();
        const auto settled = [&] {
            const std::lock_guard lock(answerMutex);
            return receiverStays ? answeredOn != nullptr : made && answer.expired();
        };
        while (!settled() && waited.elapsed() < 5000) {
            QCoreApplication::processEvents();
            QThread::msleep(5);
        }
        EXPECT_EQ(answeredOn, receiverStays ? QThread::currentThread() : nullptr);
    }
}

}  // namespace
}  // namespace zentrova
