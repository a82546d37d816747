#pragma once
// Passwords are kept only as libsodium's salted, memory-hard hash strings.
// Both operations take a noticeable fraction of a second on purpose, so the
// game thread hands them to PasswordWork.

#include <functional>
#include <memory>
#include <string>

namespace tessaly::house {

std::string hashPassword(const std::string& password);
bool verifyPassword(const std::string& hash, const std::string& password);

class PasswordWork {
public:
    virtual ~PasswordWork() = default;
    // done runs on the game thread.
    virtual void hash(std::string password, std::function<void(std::string)> done) = 0;
    virtual void verify(std::string hash, std::string password, std::function<void(bool)> done) = 0;
};

// Runs the work at once on the calling thread (tests).
class InlinePasswordWork : public PasswordWork {
public:
    void hash(std::string password, std::function<void(std::string)> done) override;
    void verify(std::string hash, std::string password, std::function<void(bool)> done) override;
};

// One worker thread; each result is handed back through post, which must
// run its argument on the game thread.
class ThreadPasswordWork : public PasswordWork {
public:
    explicit ThreadPasswordWork(std::function<void(std::function<void()>)> post);
    ~ThreadPasswordWork() override;
    void hash(std::string password, std::function<void(std::string)> done) override;
    void verify(std::string hash, std::string password, std::function<void(bool)> done) override;

private:
    struct Worker;
    std::unique_ptr<Worker> worker_;
};

} // namespace tessaly::house
