#include "server/db/PasswordHash.h"

#include <sodium.h>

#include <condition_variable>
#include <deque>
#include <mutex>
#include <stdexcept>
#include <thread>

namespace tessaly::house {

std::string hashPassword(const std::string& password)
{
    if (sodium_init() < 0)
        throw std::runtime_error("libsodium cannot be initialised");
    char out[crypto_pwhash_STRBYTES];
    if (crypto_pwhash_str(out, password.data(), password.size(), crypto_pwhash_OPSLIMIT_INTERACTIVE,
                          crypto_pwhash_MEMLIMIT_INTERACTIVE) != 0)
        throw std::runtime_error("out of memory while hashing a password");
    return out;
}

bool verifyPassword(const std::string& hash, const std::string& password)
{
    if (hash.empty() || hash.size() >= crypto_pwhash_STRBYTES || sodium_init() < 0)
        return false;
    return crypto_pwhash_str_verify(hash.c_str(), password.data(), password.size()) == 0;
}

void InlinePasswordWork::hash(std::string password, std::function<void(std::string)> done)
{
    done(hashPassword(password));
}

void InlinePasswordWork::verify(std::string hash, std::string password, std::function<void(bool)> done)
{
    done(verifyPassword(hash, password));
}

struct ThreadPasswordWork::Worker {
    std::function<void(std::function<void()>)> post;
    std::mutex mutex;
    std::condition_variable wake;
    std::deque<std::function<void()>> jobs;
    bool stopping = false;
    std::thread thread;

    void run()
    {
        for (;;) {
            std::function<void()> job;
            {
                std::unique_lock lock(mutex);
                wake.wait(lock, [&] { return stopping || !jobs.empty(); });
                if (stopping)
                    return;
                job = std::move(jobs.front());
                jobs.pop_front();
            }
            job();
        }
    }
    void push(std::function<void()> job)
    {
        {
            std::lock_guard lock(mutex);
            jobs.push_back(std::move(job));
        }
        wake.notify_one();
    }
};

ThreadPasswordWork::ThreadPasswordWork(std::function<void(std::function<void()>)> post)
    : worker_(std::make_unique<Worker>())
{
    worker_->post = std::move(post);
    worker_->thread = std::thread([w = worker_.get()] { w->run(); });
}

ThreadPasswordWork::~ThreadPasswordWork()
{
    {
        std::lock_guard lock(worker_->mutex);
        worker_->stopping = true;
    }
    worker_->wake.notify_one();
    worker_->thread.join();
}

void ThreadPasswordWork::hash(std::string password, std::function<void(std::string)> done)
{
    worker_->push([w = worker_.get(), password = std::move(password), done = std::move(done)]() mutable {
        std::string h = hashPassword(password);
        w->post([done = std::move(done), h = std::move(h)] { done(h); });
    });
}

void ThreadPasswordWork::verify(std::string hash, std::string password, std::function<void(bool)> done)
{
    worker_->push([w = worker_.get(), hash = std::move(hash), password = std::move(password),
                   done = std::move(done)]() mutable {
        const bool ok = verifyPassword(hash, password);
        w->post([done = std::move(done), ok] { done(ok); });
    });
}

} // namespace tessaly::house
