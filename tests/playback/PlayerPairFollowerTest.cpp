#include "playback/PlayerPairFollower.h"

#include "playback/PlayerPacing.h"
#include "support/ManualDelayedSteps.h"
#include "support/ScriptedMediaPlayer.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

namespace zentrova {
namespace {

using Anchor = DisplayTimeline::Anchor;
using test::ManualDelayedSteps;
using test::ScriptedMediaPlayer;

struct Pair {
    Pair() {
        for (ScriptedMediaPlayer* player : {&first, &second}) {
            player->playing = true;
            player->anchor = Anchor{1, 1000.0};
        }
    }
    ScriptedMediaPlayer first;
    ScriptedMediaPlayer second;
    ManualDelayedSteps steps;
};

TEST(PlayerPairFollowerTest, TheOneAheadWaitsForTheOtherWithinWhatCanBeFollowed) {
    struct Case {
        const char* name;
        double firstAtZeroMs;
        double secondAtZeroMs;
        float rate;
        std::vector<int> firstWaits;
        std::vector<int> secondWaits;
    } cases[] = {
        {"the first ahead waits", 1000, 1020, 1.0f, {20}, {}},
        {"the second ahead waits", 1035, 1000, 1.0f, {}, {35}},
        {"apart by less than the tolerance, nobody waits", 1000, 1005, 1.0f, {}, {}},
        {"at double speed they are followed", 1000, 1020, 2.0f, {20}, {}},
        {"at double speed the tolerance is in media time", 1000, 1005, 2.0f, {5}, {}},
        {"faster than double speed they are not", 1000, 1020, 2.5f, {}, {}},
        {"a wait of 600 ms at most", 1000, 1600, 1.0f, {600}, {}},
        {"farther apart they were not moved together", 1000, 1601, 1.0f, {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Pair pair;
        pair.first.anchor = Anchor{1, c.firstAtZeroMs};
        pair.second.anchor = Anchor{1, c.secondAtZeroMs};
        pair.first.playRate = pair.second.playRate = c.rate;
        PlayerPairFollower follower(pair.first, pair.second, pair.steps);
        pair.steps.advance(PlayerPairFollower::kLookEveryMs - 1);
        EXPECT_TRUE(pair.first.holds.empty() && pair.second.holds.empty()) << "it looks every 50 ms";
        pair.steps.advance(1);
        EXPECT_EQ(pair.first.holds, c.firstWaits);
        EXPECT_EQ(pair.second.holds, c.secondWaits);
    }
}

TEST(PlayerPairFollowerTest, NobodyWaitsUnlessBothPlayWithoutWaitingAndShowWhereTheyAre) {
    struct Case {
        const char* name;
        void (*change)(Pair&);
    } cases[] = {
        {"the first is paused", [](Pair& p) { p.first.playing = false; }},
        {"the second is paused", [](Pair& p) { p.second.playing = false; }},
        {"the first already waits", [](Pair& p) { p.first.holding = true; }},
        {"the second already waits", [](Pair& p) { p.second.holding = true; }},
        {"the first has shown too few pictures", [](Pair& p) { p.first.anchor.reset(); }},
        {"the second has shown too few pictures", [](Pair& p) { p.second.anchor.reset(); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Pair pair;
        pair.second.anchor = Anchor{1, 1040.0};
        c.change(pair);
        PlayerPairFollower follower(pair.first, pair.second, pair.steps);
        pair.steps.advance(10 * PlayerPairFollower::kLookEveryMs);
        EXPECT_TRUE(pair.first.holds.empty());
        EXPECT_TRUE(pair.second.holds.empty());
    }
}

TEST(PlayerPairFollowerTest, OneWaitPerPairOfMoves) {
    Pair pair;
    pair.second.anchor = Anchor{1, 1040.0};
    PlayerPairFollower follower(pair.first, pair.second, pair.steps);
    pair.steps.advance(PlayerPairFollower::kLookEveryMs);
    ASSERT_EQ(pair.first.holds, std::vector<int>{40});
    pair.first.holding = false;
    pair.steps.advance(10 * PlayerPairFollower::kLookEveryMs);
    EXPECT_EQ(pair.first.holds.size(), 1u) << "the same moves are not corrected twice";

    pair.first.anchor = Anchor{2, 2000.0};
    pair.second.anchor = Anchor{2, 2025.0};
    pair.steps.advance(PlayerPairFollower::kLookEveryMs);
    EXPECT_EQ(pair.first.holds, (std::vector<int>{40, 25})) << "a new move is followed again";
}

// A scripted player with real pacing, to see that the follower pairs them.
class PacedScriptedPlayer : public ScriptedMediaPlayer, private PlayerPacing::Output {
public:
    explicit PacedScriptedPlayer(ManualDelayedSteps& steps)
        : m_pacing(*this, steps, [&steps] { return static_cast<double>(steps.now()); }) {}
    PlayerPacing* pacing() override { return &m_pacing; }
    bool paused = false;

private:
    void setOutputPaused(bool value) override { paused = value; }
    void seekOutputTo(std::int64_t) override {}
    double outputRate() const override { return 1.0; }
    PlayerPacing m_pacing;
};

TEST(PlayerPairFollowerTest, PairsThePlayersSoThatTwoMovedTogetherAreLetGoTogether) {
    ManualDelayedSteps steps;
    PacedScriptedPlayer first(steps);
    PacedScriptedPlayer second(steps);
    PlayerPairFollower follower(first, second, steps);
    first.pacing()->settleMoveTo(3000);
    second.pacing()->settleMoveTo(3000);
    // The first shows its new place; a partner it does not know would let it go.
    for (std::uint64_t picture : {1, 1, 2}) {
        if (!first.pacing()->pictureShown(0)) continue;
        const auto news = first.pacing()->settlingPictureShown(picture, 0);
        if (news != PausedMoveWatch::News::Nothing) first.pacing()->settlingNews(news);
    }
    EXPECT_TRUE(first.pacing()->isSettling()) << "it waits for its partner";
    EXPECT_TRUE(first.paused);
}

}  // namespace
}  // namespace zentrova
