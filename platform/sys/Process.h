#pragma once
// Ending this process and starting other programs, behind interfaces that
// tests replace with recorders.

#include <string>
#include <vector>

namespace tessaly {

class ProcessExit {
public:
    virtual ~ProcessExit() = default;
    // Ends the process at once with the code: no teardown of windows or
    // sockets. A test's replacement records the code and returns.
    virtual void exitProcess(int code) = 0;
};

class ProcessLauncher {
public:
    virtual ~ProcessLauncher() = default;
    // Starts the program detached from this one; false when it cannot start.
    virtual bool start(const std::string& program, const std::vector<std::string>& arguments) = 0;
};

class SystemProcessExit final : public ProcessExit {
public:
    void exitProcess(int code) override;
};

class DetachedProcessLauncher final : public ProcessLauncher {
public:
    bool start(const std::string& program, const std::vector<std::string>& arguments) override;
};

} // namespace tessaly
