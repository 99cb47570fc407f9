#pragma once

#include <functional>
#include <memory>

namespace zentrova {

// Runs steps later on the main thread. The play control's timing goes
// through it so that tests can advance time by hand.
class DelayedSteps {
public:
    virtual ~DelayedSteps() = default;

    // Runs step once after the given milliseconds.
    virtual void after(int milliseconds, std::function<void()> step) = 0;

    // Runs step every interval until the returned handle is dropped.
    class Repeating {
    public:
        virtual ~Repeating() = default;
    };
    virtual std::unique_ptr<Repeating> every(int milliseconds, std::function<void()> step) = 0;
};

}  // namespace zentrova
