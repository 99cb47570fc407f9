#include "playback/PlayerPacing.h"

#include "support/ManualDelayedSteps.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zentrova {
namespace {

using Calls = std::vector<std::string>;

// The player under the pacing: what was done to it, in order.
class RecordedOutput : public PlayerPacing::Output {
public:
    void setOutputPaused(bool paused) override { calls.push_back(paused ? "pause" : "play"); }
    void seekOutputTo(std::int64_t milliseconds) override { calls.push_back("seek " + std::to_string(milliseconds)); }
    double outputRate() const override { return rate; }

    Calls calls;
    double rate = 1.0;
};

// A player's pacing on a clock that only the test moves.
struct PacedPlayer {
    explicit PacedPlayer(test::ManualDelayedSteps& steps)
        : steps(steps), pacing(output, steps, [&steps] { return static_cast<double>(steps.now()); }) {}

    // A picture with the given contents is shown now, as the decoder's
    // thread reports it; its news reach the main thread at once.
    void show(std::uint64_t picture) {
        const double now = static_cast<double>(steps.now());
        if (!pacing.pictureShown(now)) return;
        const auto news = pacing.settlingPictureShown(picture, now);
        if (news != PausedMoveWatch::News::Nothing) pacing.settlingNews(news);
    }
    // Paused on picture `paused`, then sent on to show `arrived`.
    void settleOn(std::uint64_t paused, std::uint64_t arrived) {
        show(paused);
        show(paused);
        show(arrived);
    }

    test::ManualDelayedSteps& steps;
    RecordedOutput output;
    PlayerPacing pacing;
};

class PlayerPacingTest : public ::testing::Test {
protected:
    test::ManualDelayedSteps steps;
    PacedPlayer player{steps};
};

TEST_F(PlayerPacingTest, AWaitPausesForItsLengthAndSwallowsItsOwnTwoNotices) {
    player.pacing.holdFor(300);
    EXPECT_TRUE(player.pacing.isHolding());
    EXPECT_EQ(player.output.calls, Calls{"pause"});
    EXPECT_TRUE(player.pacing.swallowHoldNotice()) << "the wait's pause";
    EXPECT_TRUE(player.pacing.swallowHoldNotice()) << "the wait's play";
    EXPECT_FALSE(player.pacing.swallowHoldNotice()) << "any later notice is the player's own";
    player.pacing.holdFor(100);
    EXPECT_EQ(player.output.calls, Calls{"pause"}) << "one wait at a time";
    steps.advance(299);
    EXPECT_TRUE(player.pacing.isHolding());
    steps.advance(1);
    EXPECT_FALSE(player.pacing.isHolding());
    EXPECT_EQ(player.output.calls, (Calls{"pause", "play"}));
    player.pacing.holdFor(0);
    EXPECT_FALSE(player.pacing.isHolding()) << "a wait of nothing is none";
}

TEST_F(PlayerPacingTest, AMovePauseOrSettlingMoveEndsAWaitAndItsEndThenDoesNothing) {
    struct Case {
        const char* name;
        void (*interrupt)(PlayerPacing&);
        Calls calls;
        bool settling;
    } cases[] = {
        {"a move plays on at once from the new place", [](PlayerPacing& p) { p.noteMove(5000); },
         {"pause", "play"}, false},
        {"a pause keeps the player paused", [](PlayerPacing& p) { p.dropHold(); }, {"pause"}, false},
        {"a move while waiting settles from the wait's pause", [](PlayerPacing& p) { p.settleMoveTo(5000); },
         {"pause"}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::ManualDelayedSteps clock;
        PacedPlayer paced(clock);
        paced.pacing.holdFor(300);
        clock.advance(100);
        c.interrupt(paced.pacing);
        EXPECT_FALSE(paced.pacing.isHolding());
        EXPECT_EQ(paced.pacing.isSettling(), c.settling);
        clock.advance(400);
        EXPECT_EQ(paced.output.calls, c.calls) << "the wait's end plays nothing on";
    }
}

TEST_F(PlayerPacingTest, AMoveSettlesWhenTheNewPlacesPictureIsShownBeforeTheLimit) {
    player.pacing.settleMoveTo(4000);
    EXPECT_TRUE(player.pacing.isSettling());
    EXPECT_EQ(player.pacing.settleTargetMs(), 4000);
    EXPECT_EQ(player.output.calls, Calls{"pause"});
    steps.advance(40);
    player.show(1);
    EXPECT_EQ(player.output.calls, Calls{"pause"}) << "one picture does not show that the pause holds";
    steps.advance(40);
    player.show(1);
    EXPECT_EQ(player.output.calls, (Calls{"pause", "seek 4000"})) << "the same picture twice: paused";
    steps.advance(40);
    player.show(1);
    EXPECT_TRUE(player.pacing.isSettling()) << "the paused picture again is not the new place";
    steps.advance(200);
    player.show(2);
    EXPECT_FALSE(player.pacing.isSettling());
    EXPECT_EQ(player.output.calls, (Calls{"pause", "seek 4000", "play"}));
    steps.advance(PlayerPacing::kSettleLimitMs);
    EXPECT_EQ(player.output.calls.size(), 3u) << "the limit of a settled move does nothing";
}

TEST_F(PlayerPacingTest, AMoveWhosePictureNeverComesIsLetGoAtTheLimit) {
    player.pacing.settleMoveTo(4000);
    player.show(1);
    player.show(1);
    steps.advance(PlayerPacing::kSettleLimitMs - 1);
    EXPECT_TRUE(player.pacing.isSettling());
    steps.advance(1);
    EXPECT_FALSE(player.pacing.isSettling());
    EXPECT_EQ(player.output.calls, (Calls{"pause", "seek 4000", "play"}));
}

TEST_F(PlayerPacingTest, MovedAgainWhileSettlingGoesToTheLastTargetWithItsOwnLimit) {
    struct Case {
        const char* name;
        bool pauseHeldFirst;
        Calls calls;
    } cases[] = {
        {"before the pause held, the one seek takes the new target", false, {"pause", "seek 7000"}},
        {"after the seek, it is sent on again", true, {"pause", "seek 4000", "seek 7000"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::ManualDelayedSteps clock;
        PacedPlayer paced(clock);
        paced.pacing.settleMoveTo(4000);
        if (c.pauseHeldFirst) {
            paced.show(1);
            paced.show(1);
        }
        clock.advance(600);
        paced.pacing.settleMoveTo(7000);
        if (!c.pauseHeldFirst) {
            paced.show(1);
            paced.show(1);
        }
        EXPECT_EQ(paced.output.calls, c.calls);
        EXPECT_EQ(paced.pacing.settleTargetMs(), 7000);
        clock.advance(PlayerPacing::kSettleLimitMs - 1);
        EXPECT_TRUE(paced.pacing.isSettling()) << "the limit counts from the last move";
        clock.advance(1);
        EXPECT_FALSE(paced.pacing.isSettling());
    }
}

TEST_F(PlayerPacingTest, APauseWhileSettlingKeepsTheMoveAndNothingPlaysOnByItself) {
    struct Case {
        const char* name;
        bool pauseHeldFirst;
        Calls calls;
    } cases[] = {
        {"before the pause held, the seek is sent now", false, {"pause", "seek 1000"}},
        {"after the seek, none is sent again", true, {"pause", "seek 1000"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::ManualDelayedSteps clock;
        PacedPlayer paced(clock);
        paced.pacing.settleMoveTo(1000);
        if (c.pauseHeldFirst) {
            paced.show(1);
            paced.show(1);
        }
        paced.pacing.keepMoveThroughPause();
        EXPECT_FALSE(paced.pacing.isSettling());
        EXPECT_FALSE(paced.pacing.swallowHoldNotice()) << "the pause's own notice is seen";
        clock.advance(PlayerPacing::kSettleLimitMs + 100);
        paced.show(2);
        EXPECT_EQ(paced.output.calls, c.calls);
    }
}

TEST_F(PlayerPacingTest, TwoPairedPlayersMovedTogetherAreLetGoTogether) {
    PacedPlayer other(steps);
    PlayerPacing::pair(player.pacing, other.pacing);
    player.pacing.settleMoveTo(4000);
    other.pacing.settleMoveTo(4000);
    steps.advance(50);
    player.settleOn(1, 2);
    EXPECT_TRUE(player.pacing.isSettling()) << "the first to arrive waits for its partner";
    EXPECT_EQ(player.output.calls, (Calls{"pause", "seek 4000"}));
    steps.advance(70);
    other.settleOn(5, 6);
    EXPECT_FALSE(player.pacing.isSettling());
    EXPECT_FALSE(other.pacing.isSettling());
    EXPECT_EQ(player.output.calls.back(), "play");
    EXPECT_EQ(other.output.calls.back(), "play");
}

TEST_F(PlayerPacingTest, APartnerThatNeverArrivesOrGivesUpDoesNotKeepTheOtherWaiting) {
    struct Case {
        const char* name;
        int advanceMs;
        void (*partnerStep)(PlayerPacing&);
    } cases[] = {
        {"the partner's limit lets both go", PlayerPacing::kSettleLimitMs, nullptr},
        {"a stop of the partner lets the other go at once", 0, [](PlayerPacing& p) { p.dropAll(); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::ManualDelayedSteps clock;
        PacedPlayer first(clock);
        PacedPlayer second(clock);
        PlayerPacing::pair(first.pacing, second.pacing);
        first.pacing.settleMoveTo(3000);
        second.pacing.settleMoveTo(3000);
        first.settleOn(1, 2);
        ASSERT_TRUE(first.pacing.isSettling());
        if (c.partnerStep) c.partnerStep(second.pacing);
        clock.advance(c.advanceMs);
        EXPECT_FALSE(first.pacing.isSettling());
        EXPECT_FALSE(second.pacing.isSettling());
        EXPECT_EQ(first.output.calls.back(), "play");
    }
}

TEST_F(PlayerPacingTest, PicturesPlayedOnFromASettledMoveTellTheTimeAndTheAnchor) {
    constexpr double kFrameMs = 40;
    player.pacing.noteMove(0);
    player.pacing.settleMoveTo(4000);
    EXPECT_FALSE(player.pacing.displayAnchor(kFrameMs)) << "a settling move's pictures tell nothing";
    player.settleOn(1, 2);
    ASSERT_FALSE(player.pacing.isSettling());
    steps.advance(10);
    player.show(2);  // the new place's picture once more
    steps.advance(30);
    player.show(3);  // the first one played on: one picture after the target
    EXPECT_EQ(player.pacing.shownMediaMs(kFrameMs), 4040.0);
    steps.advance(100);
    EXPECT_EQ(player.pacing.shownMediaMs(kFrameMs), 4140.0);
    for (int picture = 4; picture < 4 + DisplayTimeline::kPicturesNeeded; ++picture) {
        player.show(static_cast<std::uint64_t>(picture));
        steps.advance(40);
    }
    const auto anchor = player.pacing.displayAnchor(kFrameMs);
    ASSERT_TRUE(anchor);
    EXPECT_EQ(anchor->wallMsAtMediaZero, 40.0 - 4040.0) << "the first picture played on was shown at 40 ms";
    steps.advance(static_cast<int>(DisplayTimeline::kMediaTimeKnownForMs));
    EXPECT_FALSE(player.pacing.shownMediaMs(kFrameMs)) << "later the player's own time is good again";
}

}  // namespace
}  // namespace zentrova
