#pragma once
// One-shot timers on the game thread. The dealer, the bots and the turn
// clocks run on them; the event loop (server/net) serves them, and tests
// drive a manual clock instead of waiting.

#include <chrono>
#include <cstdint>
#include <functional>

namespace tessaly::house {

using Millis = std::chrono::milliseconds;
using TimerId = std::uint64_t;

class Timers {
public:
    virtual ~Timers() = default;
    // Runs work once after delay (0: as soon as the loop is free again, after
    // work already due). Timers due at the same moment run in the order they
    // were set.
    virtual TimerId after(Millis delay, std::function<void()> work) = 0;
    // Cancelling a timer that has run or was never set does nothing.
    virtual void cancel(TimerId id) = 0;
    virtual std::chrono::steady_clock::time_point now() const = 0;
};

// A timer that cancels itself when it goes or is set again.
class Timer {
public:
    explicit Timer(Timers& timers) : timers_(timers) {}
    ~Timer() { stop(); }
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;

    void start(Millis delay, std::function<void()> work)
    {
        stop();
        id_ = timers_.after(delay, [this, w = std::move(work)] {
            id_ = 0;
            w();
        });
    }
    void stop()
    {
        if (id_)
            timers_.cancel(id_);
        id_ = 0;
    }
    bool active() const { return id_ != 0; }

private:
    Timers& timers_;
    TimerId id_ = 0;
};

} // namespace tessaly::house
