#include "server/net/EventLoop.h"

#include <cerrno>
#include <csignal>
#include <poll.h>
#include <stdexcept>
#include <sys/eventfd.h>
#include <sys/signalfd.h>
#include <unistd.h>

namespace tessaly::house {

EventLoop::EventLoop()
{
    wakeFd_ = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    if (wakeFd_ < 0)
        throw std::runtime_error("eventfd failed");
}

EventLoop::~EventLoop()
{
    close(wakeFd_);
    if (signalFd_ >= 0)
        close(signalFd_);
}

TimerId EventLoop::after(Millis delay, std::function<void()> work)
{
    const TimerId id = nextTimer_++;
    const auto due = now() + std::max(delay, Millis(0));
    timers_.emplace(std::make_pair(due, id), std::move(work));
    timerDue_.emplace(id, due);
    return id;
}

void EventLoop::cancel(TimerId id)
{
    const auto it = timerDue_.find(id);
    if (it == timerDue_.end())
        return;
    timers_.erase(std::make_pair(it->second, id));
    timerDue_.erase(it);
}

std::chrono::steady_clock::time_point EventLoop::now() const
{
    return std::chrono::steady_clock::now();
}

void EventLoop::watch(int fd, bool wantWrite, Handler handler)
{
    watches_[fd] = Watch{wantWrite, std::move(handler)};
}

void EventLoop::setWantWrite(int fd, bool wantWrite)
{
    const auto it = watches_.find(fd);
    if (it != watches_.end())
        it->second.wantWrite = wantWrite;
}

void EventLoop::unwatch(int fd)
{
    watches_.erase(fd);
}

void EventLoop::post(std::function<void()> work)
{
    {
        std::lock_guard lock(postedMutex_);
        posted_.push_back(std::move(work));
    }
    const std::uint64_t one = 1;
    [[maybe_unused]] const ssize_t n = write(wakeFd_, &one, sizeof one);
}

void EventLoop::catchStopSignals(std::function<void()> onSignal)
{
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
    signalFd_ = signalfd(-1, &set, SFD_NONBLOCK | SFD_CLOEXEC);
    if (signalFd_ < 0)
        throw std::runtime_error("signalfd failed");
    onSignal_ = std::move(onSignal);
}

void EventLoop::stop()
{
    running_ = false;
}

void EventLoop::runPosted()
{
    std::uint64_t count;
    while (read(wakeFd_, &count, sizeof count) > 0) {
    }
    std::vector<std::function<void()>> work;
    {
        std::lock_guard lock(postedMutex_);
        work.swap(posted_);
    }
    for (auto& w : work)
        w();
}

void EventLoop::runDueTimers()
{
    // Only the timers due now: work that sets a zero-delay timer lets the
    // sockets in before that timer runs.
    const auto limit = now();
    std::vector<std::pair<TimerId, std::chrono::steady_clock::time_point>> due;
    for (auto it = timers_.begin(); it != timers_.end() && it->first.first <= limit; ++it)
        due.emplace_back(it->first.second, it->first.first);
    for (const auto& [id, at] : due) {
        const auto it = timers_.find(std::make_pair(at, id));
        if (it == timers_.end())
            continue; // cancelled by an earlier timer
        std::function<void()> work = std::move(it->second);
        timers_.erase(it);
        timerDue_.erase(id);
        work();
        if (!running_)
            return;
    }
}

void EventLoop::run()
{
    running_ = true;
    std::vector<pollfd> fds;
    std::vector<int> order;
    while (running_) {
        fds.clear();
        order.clear();
        fds.push_back({wakeFd_, POLLIN, 0});
        if (signalFd_ >= 0)
            fds.push_back({signalFd_, POLLIN, 0});
        const std::size_t fixed = fds.size();
        for (const auto& [fd, w] : watches_) {
            fds.push_back({fd, static_cast<short>(POLLIN | (w.wantWrite ? POLLOUT : 0)), 0});
            order.push_back(fd);
        }
        int timeout = -1;
        if (!timers_.empty()) {
            const auto wait = std::chrono::duration_cast<Millis>(timers_.begin()->first.first - now()).count();
            timeout = static_cast<int>(std::clamp<long long>(wait, 0, 60000));
        }
        const int n = poll(fds.data(), fds.size(), timeout);
        if (n < 0 && errno != EINTR)
            throw std::runtime_error("poll failed");
        if (n > 0) {
            if (fds[0].revents)
                runPosted();
            if (signalFd_ >= 0 && fds[1].revents) {
                signalfd_siginfo info;
                while (read(signalFd_, &info, sizeof info) > 0) {
                }
                if (onSignal_)
                    onSignal_();
            }
            for (std::size_t i = fixed; i < fds.size() && running_; ++i) {
                if (!fds[i].revents)
                    continue;
                const auto it = watches_.find(order[i - fixed]);
                if (it == watches_.end())
                    continue; // closed by an earlier handler
                Ready r;
                r.read = fds[i].revents & POLLIN;
                r.write = fds[i].revents & POLLOUT;
                r.error = fds[i].revents & (POLLERR | POLLHUP | POLLNVAL);
                Handler h = it->second.handler;
                h(r);
            }
        }
        if (running_)
            runDueTimers();
    }
}

} // namespace tessaly::house
