#pragma once
// The workers' clock: milliseconds and a wait for a deadline that a stop
// request ends at once. The workers sleep for their deadlines; they never
// poll the clock.

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <stop_token>

namespace tessaly::netmon {

class WorkerClock {
public:
    virtual ~WorkerClock() = default;
    virtual std::int64_t nowMs() = 0;
    // Returns when the clock reaches the deadline (true) or a stop is
    // requested (false).
    virtual bool sleepUntil(std::int64_t deadlineMs, std::stop_token stop) = 0;
};

class SteadyWorkerClock final : public WorkerClock {
public:
    std::int64_t nowMs() override;
    bool sleepUntil(std::int64_t deadlineMs, std::stop_token stop) override;

private:
    std::mutex mutex_;
    std::condition_variable_any wakeUp_;
};

} // namespace tessaly::netmon
