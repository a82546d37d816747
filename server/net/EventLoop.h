#pragma once
// The game thread's loop: poll(2) over the sockets, the timers, work posted
// from other threads and the stop signals, all on one thread.

#include "server/game/Timers.h"

#include <functional>
#include <map>
#include <mutex>
#include <vector>

namespace tessaly::house {

class EventLoop : public Timers {
public:
    // Events of a watched descriptor: readable, writable, hung up or failed.
    struct Ready {
        bool read = false;
        bool write = false;
        bool error = false;
    };
    using Handler = std::function<void(Ready)>;

    EventLoop();
    ~EventLoop() override;
    EventLoop(const EventLoop&) = delete;
    EventLoop& operator=(const EventLoop&) = delete;

    TimerId after(Millis delay, std::function<void()> work) override;
    void cancel(TimerId id) override;
    std::chrono::steady_clock::time_point now() const override;

    void watch(int fd, bool wantWrite, Handler handler);
    void setWantWrite(int fd, bool wantWrite);
    void unwatch(int fd);

    // From any thread: runs work on the loop's thread.
    void post(std::function<void()> work);

    // SIGINT and SIGTERM end run() (they are blocked in every thread; call
    // before starting any other thread).
    void catchStopSignals(std::function<void()> onSignal);

    void run();
    void stop();

private:
    void runDueTimers();
    void runPosted();

    struct Watch {
        bool wantWrite;
        Handler handler;
    };
    std::map<int, Watch> watches_;
    std::map<std::pair<std::chrono::steady_clock::time_point, TimerId>, std::function<void()>> timers_;
    std::map<TimerId, std::chrono::steady_clock::time_point> timerDue_;
    TimerId nextTimer_ = 1;
    int wakeFd_ = -1;
    int signalFd_ = -1;
    std::function<void()> onSignal_;
    std::mutex postedMutex_;
    std::vector<std::function<void()>> posted_;
    bool running_ = false;
};

} // namespace tessaly::house
