#pragma once

#include "playback/DelayedSteps.h"

#include <algorithm>
#include <cstdint>
#include <map>
#include <memory>
#include <vector>

namespace zentrova::test {

// Delayed steps on a clock that only the test moves forward.
class ManualDelayedSteps : public DelayedSteps {
public:
    void after(int milliseconds, std::function<void()> step) override {
        m_pending.push_back({m_now + milliseconds, m_sequence++, std::move(step)});
    }

    std::unique_ptr<Repeating> every(int milliseconds, std::function<void()> step) override {
        auto timer = std::make_shared<Timer>(Timer{milliseconds, m_now + milliseconds, std::move(step), true});
        m_timers.push_back(timer);
        return std::make_unique<Handle>(timer);
    }

    // Runs every step due up to now + milliseconds, in time order.
    void advance(int milliseconds) {
        const std::int64_t end = m_now + milliseconds;
        while (true) {
            const std::int64_t next = nextDue();
            if (next > end) break;
            m_now = next;
            runDueAt(next);
        }
        m_now = end;
    }

    std::int64_t now() const { return m_now; }
    size_t liveTimers() const {
        return static_cast<size_t>(std::count_if(m_timers.begin(), m_timers.end(),
                                                 [](const auto& timer) { return timer->live; }));
    }

private:
    struct Pending {
        std::int64_t due;
        std::uint64_t sequence;
        std::function<void()> step;
    };
    struct Timer {
        int interval;
        std::int64_t due;
        std::function<void()> step;
        bool live;
    };
    class Handle : public Repeating {
    public:
        explicit Handle(std::shared_ptr<Timer> timer) : m_timer(std::move(timer)) {}
        ~Handle() override { m_timer->live = false; }

    private:
        std::shared_ptr<Timer> m_timer;
    };

    std::int64_t nextDue() const {
        std::int64_t next = INT64_MAX;
        for (const auto& pending : m_pending) next = std::min(next, pending.due);
        for (const auto& timer : m_timers) {
            if (timer->live) next = std::min(next, timer->due);
        }
        return next;
    }

    void runDueAt(std::int64_t time) {
        for (const auto& timer : std::vector<std::shared_ptr<Timer>>(m_timers)) {
            if (timer->live && timer->due == time) {
                timer->due += timer->interval;
                timer->step();
            }
        }
        while (true) {
            auto due = std::find_if(m_pending.begin(), m_pending.end(),
                                    [time](const Pending& pending) { return pending.due == time; });
            if (due == m_pending.end()) break;
            auto step = std::move(due->step);
            m_pending.erase(due);
            step();
        }
        std::erase_if(m_timers, [](const auto& timer) { return !timer->live; });
    }

    std::int64_t m_now = 0;
    std::uint64_t m_sequence = 0;
    std::vector<Pending> m_pending;
    std::vector<std::shared_ptr<Timer>> m_timers;
};

}  // namespace zentrova::test
