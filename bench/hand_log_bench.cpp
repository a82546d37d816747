// The hand log's budget: one event appended to a log that already keeps
// its 50 hands (a new hand drops the oldest whole hand; the slowest line is
// that one), against 0.2 ms.

#include <benchmark/benchmark.h>

#include <QElapsedTimer>
#include <QRect>
#include <QWidget>
#include <algorithm>

#include "bench/QtBenchMain.h"
#include "client/table/HandEvents.h"
#include "client/table/HandLog.h"

namespace {

using namespace tessaly;

// A hand of 30 lines: its start and 29 actions.
constexpr int kLinesPerHand = 30;

HandEvent eventNumber(int n)
{
    HandEvent e;
    if (n % kLinesPerHand == 0) {
        e.hand = n / kLinesPerHand + 1;
        return e;
    }
    e.kind = n % 3 == 0 ? HandEventKind::Raise : HandEventKind::Call;
    e.seat = n % kSeatCount;
    e.name = "Nimbus";
    e.amount = 0.6f * static_cast<float>(n % 7 + 1);
    return e;
}

void AppendEventToAFullHandLog(benchmark::State& state)
{
    QWidget window;
    HandLog log(window, QRect(0, 0, 800, 600), 1.0);
    window.show();
    int n = 0;
    for (; n < HandLog::kKeptHands * kLinesPerHand; ++n)
        log.append(eventNumber(n));
    qint64 slowest = 0;
    QElapsedTimer clock;
    for (auto _ : state) {
        const HandEvent e = eventNumber(n++);
        clock.start();
        log.append(e);
        slowest = std::max(slowest, clock.nsecsElapsed());
    }
    state.counters["slowest_ms"] = static_cast<double>(slowest) / 1e6;
}
BENCHMARK(AppendEventToAFullHandLog)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) { return runQtBenchmarks(argc, argv); }
