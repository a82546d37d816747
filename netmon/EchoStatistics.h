#pragma once
// The running figures of a series of echoes to one host, as a network
// engineer reads them: sent, lost, the share lost, and the last, average,
// best and worst round trip with its standard deviation. Round trips come
// in microseconds; the figures are milliseconds. Averages and deviations
// are over the answered echoes only, so they always lie between best and
// worst.

#include <cstdint>

namespace tessaly::netmon {

class EchoStatistics {
public:
    void recordAnswered(std::uint32_t roundTripUs);
    void recordLost();

    int sent() const { return sent_; }
    int lost() const { return lost_; }
    int answered() const { return sent_ - lost_; }
    // lost * 100 / sent; 0 before any echo.
    double lossPercent() const;

    // Milliseconds; 0 while no echo has been answered.
    double lastMs() const { return last_ / 1000.0; }
    double averageMs() const { return mean_ / 1000.0; }
    double bestMs() const { return best_ / 1000.0; }
    double worstMs() const { return worst_ / 1000.0; }
    // The sample standard deviation (divisor answered - 1); 0 below two
    // answered echoes.
    double stdevMs() const;

private:
    int sent_ = 0;
    int lost_ = 0;
    std::uint32_t last_ = 0;
    std::uint32_t best_ = 0;
    std::uint32_t worst_ = 0;
    double mean_ = 0;             // microseconds
    double squaredSpread_ = 0;    // sum of squared differences from the mean, running
};

} // namespace tessaly::netmon
