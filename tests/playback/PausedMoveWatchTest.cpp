#include "playback/PausedMoveWatch.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

using namespace zentrova;

namespace {

using News = PausedMoveWatch::News;
using Step = PausedMoveWatch::Step;

// One thing that happens to a watched player: a call, or a picture shown
// (digest) with the news it should give.
struct Event {
    enum Kind { Picture, SeekSent, LetGo } kind;
    std::uint64_t digest = 0;
    News news = News::Nothing;
};

Event picture(std::uint64_t digest, News news = News::Nothing) { return {Event::Picture, digest, news}; }
Event seek() { return {Event::SeekSent}; }
Event letGo() { return {Event::LetGo}; }

struct WatchCase {
    const char* name;
    std::vector<Event> events;
    Step finalStep;
};

}  // namespace

TEST(PausedMoveWatchTest, TellsThePauseHeldTheNewPlaceShownAndThePlayingOn) {
    const WatchCase cases[] = {
        {"a move from start to playing on",
         {picture(1), picture(1, News::PauseHeld), seek(), picture(1), picture(2, News::NewPictureShown), letGo(),
          picture(2), picture(3, News::PlayingOn), picture(4)},
         Step::Idle},
        {"an old picture shown after the pause was asked is not the pause",
         {picture(1), picture(2), picture(2, News::PauseHeld)},
         Step::PauseHeld},
        {"pictures before the seek is sent are the paused one shown again",
         {picture(1), picture(1, News::PauseHeld), picture(1), picture(1), seek(), picture(1)},
         Step::Seeking},
        {"moved again once sent on: waits for a picture again",
         {picture(1), picture(1, News::PauseHeld), seek(), picture(2, News::NewPictureShown), seek(), picture(1),
          picture(3, News::NewPictureShown)},
         Step::Settled},
        {"a seek sent before the pause held changes nothing",
         {picture(1), seek(), picture(1, News::PauseHeld)},
         Step::PauseHeld},
        {"let go without the new place: nothing more to tell",
         {picture(1), picture(1, News::PauseHeld), seek(), letGo(), picture(5), picture(6)},
         Step::Idle},
    };
    for (const WatchCase& c : cases) {
        SCOPED_TRACE(c.name);
        PausedMoveWatch watch;
        EXPECT_EQ(watch.displayed(7), News::Nothing) << "not watching before a pause";
        watch.pauseAsked();
        for (std::size_t i = 0; i < c.events.size(); ++i) {
            SCOPED_TRACE(i);
            const Event& event = c.events[i];
            switch (event.kind) {
            case Event::Picture: EXPECT_EQ(watch.displayed(event.digest), event.news); break;
            case Event::SeekSent: watch.seekSent(); break;
            case Event::LetGo: watch.letGo(); break;
            }
        }
        EXPECT_EQ(watch.step(), c.finalStep);
        EXPECT_EQ(watch.isActive(), c.finalStep != Step::Idle);
    }
}

TEST(PausedMoveWatchTest, DigestSeesEveryEighthLineAndTheWholeOfIt) {
    constexpr int kWidth = 13;  // bytes not a multiple of eight: the tail counts too
    constexpr int kHeight = 20;
    constexpr int kStride = 64;
    std::array<unsigned char, kStride * kHeight> pixels{};
    const std::uint64_t blank = PausedMoveWatch::digestOf(pixels.data(), kStride, kWidth * 4, kHeight);
    EXPECT_EQ(PausedMoveWatch::digestOf(pixels.data(), kStride, kWidth * 4, kHeight), blank) << "same picture";

    struct Change {
        const char* name;
        int line;
        int byte;
        bool seen;
    };
    const Change changes[] = {
        {"first line, first byte", 0, 0, true},
        {"eighth line, last byte of the picture", 8, kWidth * 4 - 1, true},
        {"sixteenth line, in the tail past the whole words", 16, 50, true},
        {"a line in between", 5, 3, false},
        {"the padding after the picture's bytes", 8, kWidth * 4 + 2, false},
    };
    for (const Change& change : changes) {
        SCOPED_TRACE(change.name);
        auto changed = pixels;
        changed[static_cast<std::size_t>(change.line * kStride + change.byte)] = 0x80;
        const std::uint64_t digest = PausedMoveWatch::digestOf(changed.data(), kStride, kWidth * 4, kHeight);
        EXPECT_EQ(digest != blank, change.seen);
    }
}
