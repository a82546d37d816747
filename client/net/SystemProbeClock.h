#pragma once
// The latency probe's clock: the monotonic clock in nanoseconds.

#include "client/net/LatencyProbe.h"

namespace tessaly {

class SystemProbeClock final : public ProbeClock {
public:
    std::uint64_t frequency() override;
    std::uint64_t counter() override;
    std::uint32_t tickCount() override;
};

} // namespace tessaly
