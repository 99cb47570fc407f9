#pragma once

#include <QObject>
#include <QPointer>

#include "playback/DelayedSteps.h"

namespace zentrova {

// Delayed steps on Qt timers of the main thread. Steps scheduled for a
// context object that has gone are dropped.
class QtDelayedSteps : public DelayedSteps {
public:
    explicit QtDelayedSteps(QObject* context) : m_context(context) {}

    void after(int milliseconds, std::function<void()> step) override;
    std::unique_ptr<Repeating> every(int milliseconds, std::function<void()> step) override;

private:
    QPointer<QObject> m_context;
};

}  // namespace zentrova
