#pragma once

namespace zentrova {

// What one window size step (+1 larger, -1 smaller, 0 at a start) does:
// steps of a fifth of the minimum size, full screen past the screen, and
// back out of full screen on any step that is not larger.
struct VideoScaleStep {
    enum class Action { Nothing, EnterFullScreen, LeaveFullScreen, Resize };

    struct Size {
        int width = 0;
        int height = 0;
        friend bool operator==(const Size&, const Size&) = default;
    };

    Action action = Action::Nothing;
    Size size;  // the new window size, for Resize

    // The screen height keeps this much free for the system's bars.
    static constexpr int kScreenHeightReserve = 100;

    static VideoScaleStep decide(int step, Size window, bool fullScreen, Size screen, Size minimum);
};

}  // namespace zentrova
