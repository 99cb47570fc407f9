#pragma once

#include <QMetaObject>
#include <QObject>

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <utility>

namespace zentrova {

// Hands values from a worker thread to a receiver on its own thread, with
// at most one delivery pending: a worker reporting progress thousands of
// times a second does not flood the event loop, and the receiver always
// sees the latest value. The receiver must outlive the threads that post
// (join them before it goes); a delivery still pending then is dropped with it.
template <typename T>
class LatestValuePost {
public:
    LatestValuePost(QObject* receiver, std::function<void(const T&)> deliver)
        : m_state(std::make_shared<State>()) {
        m_state->receiver = receiver;
        m_state->deliver = std::move(deliver);
    }

    // Any thread.
    void post(T value) const {
        {
            std::lock_guard<std::mutex> guard(m_state->lock);
            m_state->value = std::move(value);
        }
        if (m_state->pending.exchange(true)) return;
        QMetaObject::invokeMethod(
            m_state->receiver, [state = m_state] { state->deliverLatest(); }, Qt::QueuedConnection);
    }

private:
    struct State {
        QObject* receiver = nullptr;
        std::function<void(const T&)> deliver;
        std::mutex lock;
        T value{};
        std::atomic<bool> pending{false};

        void deliverLatest() {
            T latest;
            {
                std::lock_guard<std::mutex> guard(lock);
                latest = value;
                pending = false;
            }
            deliver(latest);
        }
    };

    std::shared_ptr<State> m_state;
};

}  // namespace zentrova
