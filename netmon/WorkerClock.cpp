#include "netmon/WorkerClock.h"

#include <chrono>

namespace tessaly::netmon {

std::int64_t SteadyWorkerClock::nowMs()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

bool SteadyWorkerClock::sleepUntil(std::int64_t deadlineMs, std::stop_token stop)
{
    const std::chrono::steady_clock::time_point deadline{std::chrono::milliseconds(deadlineMs)};
    std::unique_lock lock(mutex_);
    // Nothing but the stop request ends the wait early.
    wakeUp_.wait_until(lock, stop, deadline, [] { return false; });
    return !stop.stop_requested();
}

} // namespace tessaly::netmon
