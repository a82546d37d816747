#pragma once
// A clock that moves only when the test says so, and records of what the
// house would have sent.

#include "server/game/Room.h"
#include "server/game/Timers.h"
#include "server/protocol/Catalogue.h"

#include <map>
#include <string>
#include <vector>

namespace tessaly::house::test {

class ManualTimers : public Timers {
public:
    TimerId after(Millis delay, std::function<void()> work) override
    {
        const TimerId id = next_++;
        queue_.emplace(std::make_pair(now_ + std::max(delay, Millis(0)), id), std::move(work));
        return id;
    }
    void cancel(TimerId id) override
    {
        for (auto it = queue_.begin(); it != queue_.end(); ++it) {
            if (it->first.second == id) {
                queue_.erase(it);
                return;
            }
        }
    }
    std::chrono::steady_clock::time_point now() const override { return now_; }

    // Runs the earliest timer, moving the clock to it; false when none is set.
    bool step()
    {
        if (queue_.empty())
            return false;
        auto it = queue_.begin();
        now_ = std::max(now_, it->first.first);
        auto work = std::move(it->second);
        queue_.erase(it);
        work();
        return true;
    }
    // Runs every timer due within the next `span`.
    void advance(Millis span)
    {
        const auto until = now_ + span;
        while (!queue_.empty() && queue_.begin()->first.first <= until)
            step();
        now_ = until;
    }
    std::size_t pending() const { return queue_.size(); }

private:
    std::chrono::steady_clock::time_point now_{};
    TimerId next_ = 1;
    std::map<std::pair<std::chrono::steady_clock::time_point, TimerId>, std::function<void()>> queue_;
};

// Keeps every line per connection and checks each against the catalogue.
class RecordingOutput : public RoomOutput {
public:
    void send(ConnId conn, const std::string& line) override
    {
        if (const std::string why = catalogueError(line); !why.empty())
            faults.push_back(why + ": " + line);
        sent[conn].push_back(line);
    }
    void close(ConnId conn) override { closed.push_back(conn); }

    // Lines to conn that start with keyword, in order.
    std::vector<std::string> with(ConnId conn, const std::string& keyword) const
    {
        std::vector<std::string> out;
        const auto it = sent.find(conn);
        if (it == sent.end())
            return out;
        for (const std::string& l : it->second) {
            if (l.rfind(keyword, 0) == 0)
                out.push_back(l);
        }
        return out;
    }

    std::map<ConnId, std::vector<std::string>> sent;
    std::vector<std::string> faults;
    std::vector<ConnId> closed;
};

} // namespace tessaly::house::test
