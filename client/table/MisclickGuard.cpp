#include "client/table/MisclickGuard.h"

#include <chrono>

namespace tessaly {

MisclickGuard::MisclickGuard(Clock clock) : clock_(std::move(clock)) {}

void MisclickGuard::meaningChanged(int control)
{
    changedAt_[control] = clock_();
}

bool MisclickGuard::accepts(int control) const
{
    const auto it = changedAt_.find(control);
    return it == changedAt_.end() || clock_() - it->second >= kHoldMs;
}

std::int64_t MisclickGuard::steadyMilliseconds()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

} // namespace tessaly
