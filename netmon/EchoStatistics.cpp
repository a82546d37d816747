#include "netmon/EchoStatistics.h"

#include <algorithm>
#include <cmath>

namespace tessaly::netmon {

void EchoStatistics::recordAnswered(std::uint32_t roundTripUs)
{
    const int before = answered();
    ++sent_;
    last_ = roundTripUs;
    best_ = before == 0 ? roundTripUs : std::min(best_, roundTripUs);
    worst_ = before == 0 ? roundTripUs : std::max(worst_, roundTripUs);
    // One pass over the series: no sum of squares to overflow or cancel.
    const double delta = roundTripUs - mean_;
    mean_ += delta / (before + 1);
    squaredSpread_ += delta * (roundTripUs - mean_);
}

void EchoStatistics::recordLost()
{
    ++sent_;
    ++lost_;
}

double EchoStatistics::lossPercent() const
{
    return sent_ == 0 ? 0.0 : lost_ * 100.0 / sent_;
}

double EchoStatistics::stdevMs() const
{
    return answered() < 2 ? 0.0 : std::sqrt(squaredSpread_ / (answered() - 1)) / 1000.0;
}

} // namespace tessaly::netmon
