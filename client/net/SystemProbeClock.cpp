#include "client/net/SystemProbeClock.h"

#include <ctime>

namespace tessaly {
namespace {

std::uint64_t monotonicNanoseconds()
{
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<std::uint64_t>(now.tv_sec) * 1000000000u + static_cast<std::uint64_t>(now.tv_nsec);
}

} // namespace

std::uint64_t SystemProbeClock::frequency()
{
    timespec resolution{};
    return ::clock_getres(CLOCK_MONOTONIC, &resolution) == 0 ? 1000000000u : 0;
}

std::uint64_t SystemProbeClock::counter()
{
    return monotonicNanoseconds();
}

std::uint32_t SystemProbeClock::tickCount()
{
    return static_cast<std::uint32_t>(monotonicNanoseconds() / 1000000u);
}

} // namespace tessaly
