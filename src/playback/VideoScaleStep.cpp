#include "playback/VideoScaleStep.h"

namespace zentrova {

VideoScaleStep VideoScaleStep::decide(int step, Size window, bool fullScreen, Size screen, Size minimum) {
    Size proposed{window.width + step * minimum.width / 5, window.height + step * minimum.height / 5};
    if (step > 0) {
        if (fullScreen) return {};
        if (proposed.width > screen.width || proposed.height > screen.height - kScreenHeightReserve) {
            return {Action::EnterFullScreen, {}};
        }
    } else if (fullScreen) {
        return {Action::LeaveFullScreen, {}};
    }
    if (proposed.width < minimum.width || proposed.height < minimum.height) proposed = minimum;
    return {Action::Resize, proposed};
}

}  // namespace zentrova
