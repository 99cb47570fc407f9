#include <gtest/gtest.h>

#include "playback/VideoScaleStep.h"

namespace zentrova {
namespace {

using Action = VideoScaleStep::Action;
using Size = VideoScaleStep::Size;

constexpr Size kMinimum{1020, 640};
constexpr Size kScreen{1600, 1000};

TEST(VideoScaleStepTest, StepsAFifthOfTheMinimumAndSwitchesFullScreenAtTheScreen) {
    struct Case {
        const char* name;
        int step;
        Size window;
        bool fullScreen;
        Action action;
        Size size;
    } cases[] = {
        {"up one step", 1, {1020, 640}, false, Action::Resize, {1224, 768}},
        {"up to the height limit", 1, {1020, 772}, false, Action::Resize, {1224, 900}},
        {"higher than screen less 100", 1, {1020, 773}, false, Action::EnterFullScreen, {}},
        {"wider than the screen", 1, {1397, 640}, false, Action::EnterFullScreen, {}},
        {"up in full screen does nothing", 1, {1600, 1000}, true, Action::Nothing, {}},
        {"down one step", -1, {1428, 896}, false, Action::Resize, {1224, 768}},
        {"down below the minimum", -1, {1100, 700}, false, Action::Resize, kMinimum},
        {"down in full screen leaves it", -1, {1600, 1000}, true, Action::LeaveFullScreen, {}},
        {"start in full screen leaves it", 0, {1600, 1000}, true, Action::LeaveFullScreen, {}},
        {"start keeps the size", 0, {1224, 768}, false, Action::Resize, {1224, 768}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const VideoScaleStep decision = VideoScaleStep::decide(c.step, c.window, c.fullScreen, kScreen, kMinimum);
        EXPECT_EQ(decision.action, c.action);
        if (c.action == Action::Resize) {
            EXPECT_EQ(decision.size, c.size);
        }
    }
}

}  // namespace
}  // namespace zentrova
