#pragma once
// Scripted stand-ins for the network monitor's services: an echo port that
// answers by a rule and records every request, clocks driven by the test,
// and a name service with fixed answers.

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "netmon/MonitorServices.h"
#include "netmon/MonitorTexts.h"

namespace tessaly::testing {

inline std::uint32_t ipv4(int a, int b, int c, int d)
{
    const unsigned char bytes[4] = {static_cast<unsigned char>(a), static_cast<unsigned char>(b),
                                    static_cast<unsigned char>(c), static_cast<unsigned char>(d)};
    std::uint32_t address = 0;
    std::memcpy(&address, bytes, 4);
    return address;
}

struct EchoRequest {
    std::uint32_t address;
    std::uint8_t ttl;
    std::vector<std::uint8_t> data;
    std::int64_t sentMs;   // on the port's clock; 0 without one
};

// Answers each request by `rule` (default: the destination answers in
// 10 ms); a "timed out" outcome is never answered. With a clock, an answer
// arrives when the clock reaches its send time plus its round trip, and a
// wait for it moves the clock there; without one, at once. Safe to share
// between worker threads; `onEcho` runs inside each send, for tests that
// act while a worker waits for its answer.
class ScriptedEchoPort final : public EchoPort {
public:
    using Rule = std::function<EchoResult(std::uint32_t address, std::uint8_t ttl)>;

    explicit ScriptedEchoPort(Rule rule = {}, netmon::WorkerClock* clock = nullptr)
        : rule_(std::move(rule)), clock_(clock)
    {
    }

    EchoSent send(std::uint32_t address, std::uint8_t ttl, std::span<const std::uint8_t> data) override
    {
        const std::int64_t now = clock_ == nullptr ? 0 : clock_->nowMs();
        const EchoResult result = outcome(address, ttl, data, now);
        const std::lock_guard lock(mutex_);
        const EchoSent sent{++sequence_, ipstatus::kSuccess};
        if (result.status != ipstatus::kReqTimedOut)
            queued_.push_back({now + result.roundTripUs / 1000, {sent.sequence, result}});
        return sent;
    }

    // Records a request and gives what the rule says of it.
    EchoResult outcome(std::uint32_t address, std::uint8_t ttl, std::span<const std::uint8_t> data,
                       std::int64_t now = 0)
    {
        Rule rule;
        std::function<void()> during;
        {
            const std::lock_guard lock(mutex_);
            requests_.push_back({address, ttl, {data.begin(), data.end()}, now});
            rule = rule_;
            during = onEcho;
        }
        if (during)
            during();
        return rule ? rule(address, ttl) : EchoResult{ipstatus::kSuccess, address, 10000};
    }

    std::optional<EchoAnswer> receive(std::uint32_t timeoutMs, std::stop_token stop) override
    {
        std::unique_lock lock(mutex_);
        if (queued_.empty())
            return std::nullopt;
        const auto first = std::min_element(queued_.begin(), queued_.end(),
                                            [](const Queued& a, const Queued& b) { return a.dueMs < b.dueMs; });
        const Queued answer = *first;
        if (clock_ != nullptr) {
            const std::int64_t now = clock_->nowMs();
            if (answer.dueMs > now + timeoutMs)
                return std::nullopt;
            lock.unlock();
            if (answer.dueMs > now && !clock_->sleepUntil(answer.dueMs, stop))
                return std::nullopt;
            lock.lock();
        }
        std::erase_if(queued_, [&](const Queued& q) { return q.answer.sequence == answer.answer.sequence; });
        return answer.answer;
    }

    void setRule(Rule rule)
    {
        const std::lock_guard lock(mutex_);
        rule_ = std::move(rule);
    }
    std::vector<EchoRequest> requests() const
    {
        const std::lock_guard lock(mutex_);
        return requests_;
    }

    std::function<void()> onEcho;

private:
    struct Queued {
        std::int64_t dueMs;
        EchoAnswer answer;
    };
    mutable std::mutex mutex_;
    Rule rule_;
    netmon::WorkerClock* clock_;
    std::uint16_t sequence_ = 0;
    std::vector<EchoRequest> requests_;
    std::vector<Queued> queued_;
};

// A path of routers: hop n (1-based) is answered by routers[n-1] with "time
// exceeded" in 5n ms, the hop after the last router by the destination;
// silent routers (address 0) let the echo time out.
inline ScriptedEchoPort::Rule routeRule(std::vector<std::uint32_t> routers, bool destinationAnswers = true)
{
    return [routers = std::move(routers), destinationAnswers](std::uint32_t address, std::uint8_t ttl) {
        if (ttl <= routers.size()) {
            const std::uint32_t router = routers[ttl - 1u];
            if (router == 0)
                return EchoResult{ipstatus::kReqTimedOut, 0, 0};
            return EchoResult{ipstatus::kTtlExpiredTransit, router, 5000u * ttl};
        }
        if (!destinationAnswers)
            return EchoResult{ipstatus::kReqTimedOut, 0, 0};
        return EchoResult{ipstatus::kSuccess, address, 5000u * ttl};
    };
}

// A sleep jumps the clock to its deadline at once.
class JumpingClock final : public netmon::WorkerClock {
public:
    std::int64_t nowMs() override
    {
        const std::lock_guard lock(mutex_);
        ++reads;
        return now;
    }
    bool sleepUntil(std::int64_t deadlineMs, std::stop_token stop) override
    {
        const std::lock_guard lock(mutex_);
        deadlines.push_back(deadlineMs);
        now = std::max(now, deadlineMs);
        return !stop.stop_requested();
    }

    std::mutex mutex_;   // for the report, whose two workers share it

    std::int64_t now = 1000;
    int reads = 0;
    std::vector<std::int64_t> deadlines;
};

// For workers on their own threads: sleepers wait until the test advances
// the clock past their deadline, or until they are stopped.
class ManualClock final : public netmon::WorkerClock {
public:
    std::int64_t nowMs() override
    {
        const std::lock_guard lock(mutex_);
        return now_;
    }
    bool sleepUntil(std::int64_t deadlineMs, std::stop_token stop) override
    {
        std::unique_lock lock(mutex_);
        ++sleepers_;
        changed_.notify_all();
        const bool reached = changed_.wait(lock, stop, [&] { return now_ >= deadlineMs; });
        --sleepers_;
        changed_.notify_all();
        return reached && !stop.stop_requested();
    }
    void advance(std::int64_t ms)
    {
        const std::lock_guard lock(mutex_);
        now_ += ms;
        changed_.notify_all();
    }
    int sleepers()
    {
        const std::lock_guard lock(mutex_);
        return sleepers_;
    }
    // Waits (without running Qt events) until `count` workers sleep.
    bool waitForSleepers(int count, std::chrono::milliseconds limit = std::chrono::seconds(5))
    {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, limit, [&] { return sleepers_ == count; });
    }

private:
    std::mutex mutex_;
    std::condition_variable_any changed_;
    std::int64_t now_ = 1000;
    int sleepers_ = 0;
};

// Fixed lookups: names map to addresses; every address has the name
// "host-a.b.c.d" unless listed as nameless.
class FixedNames final : public netmon::NameService {
public:
    std::optional<std::uint32_t> resolve(const std::string& host) override
    {
        const auto found = addresses.find(host);
        return found == addresses.end() ? std::nullopt : std::optional<std::uint32_t>(found->second);
    }
    std::string reverse(std::uint32_t address) override
    {
        ++lookups;
        for (const std::uint32_t n : nameless)
            if (n == address)
                return {};
        return "host-" + netmon::dottedAddress(address);
    }

    std::map<std::string, std::uint32_t> addresses;
    std::vector<std::uint32_t> nameless;
    std::atomic<int> lookups{0};
};

} // namespace tessaly::testing
