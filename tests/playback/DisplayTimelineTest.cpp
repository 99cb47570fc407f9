#include "playback/DisplayTimeline.h"
#include "playback/OffsetCorrection.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

using namespace zentrova;

namespace {

constexpr double kInterval = 1000.0 / 30.0;

struct TimelineCase {
    const char* name;
    double targetMs;
    double rate;
    std::vector<double> shownMs;  // after a move at wall time 0
    std::optional<double> atZeroMs;
};

}  // namespace

TEST(DisplayTimelineTest, FindsWhenMediaTimeZeroWouldHaveBeenShown) {
    const double slot = kInterval;
    const double fast = kInterval / 2;
    auto run = [](double start, double step, int count) {
        std::vector<double> times;
        for (int i = 0; i < count; ++i) times.push_back(start + i * step);
        return times;
    };
    auto join = [](std::vector<double> a, const std::vector<double>& b) {
        a.insert(a.end(), b.begin(), b.end());
        return a;
    };
    std::vector<double> lateAndDropped = run(200, slot, 12);
    lateAndDropped[3] += 12;               // late
    lateAndDropped.erase(lateAndDropped.begin() + 6);  // dropped: later ones keep their slots
    const TimelineCase cases[] = {
        {"punctual pictures from the target on", 1000, 1.0, run(200, slot, 10), 200 - 1000},
        {"a late picture and a dropped one change nothing", 1000, 1.0, lateAndDropped, 200 - 1000},
        {"all a little late: the most punctual counts", 0, 1.0, join({207}, run(200 + slot + 3, slot, 9)), 203},
        {"the old picture shown right after the move is left out", 0, 1.0, join({10}, run(300, slot, 9)), 300},
        {"the old picture shown again while decoding is left out", 0, 1.0,
         join({90, 170, 240}, run(300, slot, 9)), 300},
        {"at twice the speed pictures come twice as often", 2000, 2.0, run(150, fast, 10), 150 - 1000},
        {"too few pictures yet", 0, 1.0, run(200, slot, DisplayTimeline::kPicturesNeeded - 1), std::nullopt},
        {"a gap later on changes nothing", 0, 1.0, join(run(200, slot, 9), run(600, slot, 4)), 200},
        {"no pictures in a row yet", 0, 1.0, {90, 170, 250, 330, 410, 490, 570, 650, 730}, std::nullopt},
    };
    for (const TimelineCase& c : cases) {
        SCOPED_TRACE(c.name);
        DisplayTimeline timeline;
        timeline.moved(0, c.targetMs, c.rate);
        for (double shown : c.shownMs) timeline.displayed(shown);
        const auto anchor = timeline.anchor(kInterval);
        ASSERT_EQ(anchor.has_value(), c.atZeroMs.has_value());
        if (!anchor) continue;
        EXPECT_NEAR(anchor->wallMsAtMediaZero, *c.atZeroMs, 1e-6);
        EXPECT_EQ(anchor->move, timeline.move());
    }
}

TEST(DisplayTimelineTest, APauseOrANewMoveStartsOver) {
    DisplayTimeline timeline;
    EXPECT_FALSE(timeline.anchor(kInterval)) << "never moved";
    timeline.moved(0, 0, 1.0);
    for (int i = 0; i < 10; ++i) timeline.displayed(100 + i * kInterval);
    ASSERT_TRUE(timeline.anchor(kInterval));
    const std::uint64_t firstMove = timeline.move();

    timeline.invalidate();
    EXPECT_FALSE(timeline.anchor(kInterval));
    for (int i = 0; i < 10; ++i) timeline.displayed(1000 + i * kInterval);
    EXPECT_FALSE(timeline.anchor(kInterval)) << "pictures after a pause tell nothing";

    timeline.moved(2000, 5000, 1.0);
    EXPECT_GT(timeline.move(), firstMove);
    for (int i = 0; i < 10; ++i) timeline.displayed(2100 + i * kInterval);
    ASSERT_TRUE(timeline.anchor(kInterval));
    EXPECT_NEAR(timeline.anchor(kInterval)->wallMsAtMediaZero, 2100 - 5000, 1e-6);
    EXPECT_FALSE(timeline.anchor(0)) << "no frame rate, no anchor";
}

// Played on from a paused picture, every picture shown is the next one,
// however soon it comes: the first is one frame after the target.
TEST(DisplayTimelineTest, PlayingOnFromAPausedPictureCountsEveryPicture) {
    struct Case {
        const char* name;
        double rate;
        double firstShownMs;
        double stepMs;
    };
    const Case cases[] = {
        {"at normal speed, the first picture soon after", 1.0, 1005, kInterval},
        {"at twice the speed", 2.0, 1003, kInterval / 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DisplayTimeline timeline;
        timeline.playedOnFrom(1000, 6000, c.rate);
        for (int i = 0; i < 10; ++i) timeline.displayed(c.firstShownMs + i * c.stepMs);
        const auto anchor = timeline.anchor(kInterval);
        ASSERT_TRUE(anchor);
        EXPECT_NEAR(anchor->wallMsAtMediaZero, c.firstShownMs - (6000 + kInterval) / c.rate, 1e-6);
    }
}

// libVLC's own time lags behind after a move: the pictures tell it, for a
// player played on from its target's picture only.
TEST(DisplayTimelineTest, KnowsTheMediaTimeShortlyAfterPlayingOn) {
    enum class Start { PlayedOn, Guessed, PlayedOnThenPaused };
    struct Case {
        const char* name;
        Start start;
        double rate;
        int pictures;  // shown from wall time 1005 on, one per slot
        double holdFromMs;  // a wait of 100 ms from then, when above 0
        double askedAtMs;
        std::optional<double> mediaMs;
    };
    const double first = 6000 + kInterval;  // the first picture's time
    const Case cases[] = {
        {"the first picture is one frame after the target", Start::PlayedOn, 1.0, 1, 0, 1005, first},
        {"and the time runs on with the wall clock", Start::PlayedOn, 1.0, 6, 0, 1205, first + 200},
        {"twice as fast at 2x", Start::PlayedOn, 2.0, 12, 0, 1105, first + 200},
        {"nothing shown yet", Start::PlayedOn, 1.0, 0, 0, 1005, std::nullopt},
        {"long after, the player's own time is good again", Start::PlayedOn, 1.0, 40, 0, 2006, std::nullopt},
        {"pictures of a guessed move tell no time", Start::Guessed, 1.0, 10, 0, 1205, std::nullopt},
        {"a pause ends it", Start::PlayedOnThenPaused, 1.0, 6, 0, 1205, std::nullopt},
        {"it stands still while it waits", Start::PlayedOn, 1.0, 6, 1200, 1250, first + 195},
        {"and runs on after the wait", Start::PlayedOn, 2.0, 6, 1200, 1400, first + 2 * 295},
        {"known for a while after the wait", Start::PlayedOn, 1.0, 6, 1200, 2250, first + 1145},
        {"a wait before any picture tells nothing", Start::PlayedOn, 1.0, 0, 1000, 1250, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DisplayTimeline timeline;
        if (c.start == Start::Guessed) {
            timeline.moved(1000, 6000, c.rate);
        } else {
            timeline.playedOnFrom(1000, 6000, c.rate);
        }
        for (int i = 0; i < c.pictures; ++i) timeline.displayed(1005 + i * kInterval / c.rate);
        if (c.start == Start::PlayedOnThenPaused) timeline.invalidate();
        if (c.holdFromMs > 0) {
            timeline.heldFor(c.holdFromMs, 100);
            EXPECT_FALSE(timeline.anchor(kInterval)) << "the pictures after a wait fit no slots";
            timeline.displayed(c.holdFromMs + 150);
        }
        const auto mediaMs = timeline.mediaMsAt(c.askedAtMs, kInterval);
        ASSERT_EQ(mediaMs.has_value(), c.mediaMs.has_value());
        if (mediaMs) {
            EXPECT_NEAR(*mediaMs, *c.mediaMs, 1e-6);
        }
    }
}

TEST(OffsetCorrectionTest, TheOneAheadWaitsForTheOther) {
    struct Case {
        const char* name;
        double firstAtZero;
        double secondAtZero;
        double rate;
        std::optional<OffsetCorrection> expected;
    };
    const Case cases[] = {
        {"second shows later: the first waits", 1000, 1090, 1.0, OffsetCorrection{true, 90}},
        {"first shows later: the second waits", 1120, 1000, 1.0, OffsetCorrection{false, 120}},
        {"within a quarter frame", 1000, 1007, 1.0, std::nullopt},
        {"at 2x the same wall gap is twice the media gap", 1000, 1005, 2.0, OffsetCorrection{true, 5}},
        {"too far apart to have moved together", 0, 700, 1.0, std::nullopt},
        {"no rate", 0, 100, 0.0, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto correction = OffsetCorrection::between(c.firstAtZero, c.secondAtZero, c.rate);
        ASSERT_EQ(correction.has_value(), c.expected.has_value());
        if (!correction) continue;
        EXPECT_EQ(correction->firstWaits, c.expected->firstWaits);
        EXPECT_NEAR(correction->waitMs, c.expected->waitMs, 1e-9);
    }
}
