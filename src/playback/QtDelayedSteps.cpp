#include "playback/QtDelayedSteps.h"

#include <QTimer>

namespace zentrova {
namespace {

class QtRepeating : public DelayedSteps::Repeating {
public:
    QtRepeating(int milliseconds, std::function<void()> step) {
        m_timer.setInterval(milliseconds);
        QObject::connect(&m_timer, &QTimer::timeout, [step = std::move(step)] { step(); });
        m_timer.start();
    }

private:
    QTimer m_timer;
};

}  // namespace

void QtDelayedSteps::after(int milliseconds, std::function<void()> step) {
    if (!m_context) return;
    QTimer::singleShot(milliseconds, m_context.data(), [step = std::move(step)] { step(); });
}

std::unique_ptr<DelayedSteps::Repeating> QtDelayedSteps::every(int milliseconds, std::function<void()> step) {
    return std::make_unique<QtRepeating>(milliseconds, std::move(step));
}

}  // namespace zentrova
