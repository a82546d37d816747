// The chat log's and the about picture's budgets: one line appended to a
// log that is already full (its oldest lines make room now and then; the
// slowest line is the one that cuts) against the 28 ms frame, and one step
// of the water at the about picture's 454 x 290 against its 30 ms timer.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTextEdit>
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "client/ui/ChatLog.h"
#include "client/ui/WaterRipple.h"

namespace {

void RippleStep(benchmark::State& state)
{
    constexpr int w = 454;
    constexpr int h = 290;
    std::vector<std::uint32_t> source(static_cast<std::size_t>(w * h));
    for (std::size_t i = 0; i < source.size(); ++i)
        source[i] = 0xFF000000u | static_cast<std::uint32_t>(i * 2654435761u >> 8);
    std::vector<std::uint32_t> target = source;
    tessaly::WaterRipple water;
    water.create(w, h);
    // A busy surface: a click's rings and a trail of small drops.
    water.drop(w / 2, h / 2, 50, 500, water.page());
    for (int i = 0; i < 30; ++i) {
        water.drop(20 + 12 * i, 60 + 5 * i, 5, 50, water.page());
        water.step(source.data(), target.data());
    }
    for (auto _ : state) {
        water.step(source.data(), target.data());
        benchmark::DoNotOptimize(target.data());
    }
}
BENCHMARK(RippleStep)->Unit(benchmark::kMicrosecond);

void AppendChatLineToAFullLog(benchmark::State& state)
{
    const tessaly::ChatPictureTable pictures(TESSALY_BENCH_DIST_DIR);
    const tessaly::ChatPictures shown{pictures, true};
    QTextEdit log;
    log.setReadOnly(true);
    log.resize(201, 55);
    log.show();
    const QColor blue(0, 0, 255);
    const QColor black(0, 0, 0);
    const std::string playerText = "nice hand :) I had [card][card] but :d and :h did not come, gg :D";
    const std::string dealerText = "ann wins with a pair of kings, collects 1,250 chips";
    int line = 0;
    const auto appendOne = [&] {
        if (line++ % 2 == 0)
            tessaly::AppendChatLine(log, shown, "ann: ", playerText, blue, blue, false);
        else
            tessaly::AppendChatLine(log, shown, "Dealer: ", dealerText, black, blue, true);
    };
    // Full: lines until the first cut at the top.
    for (int blocks = 0; log.document()->blockCount() >= blocks;) {
        blocks = log.document()->blockCount();
        appendOne();
    }
    // Every line is timed on its own too: the slowest is the one that cuts.
    qint64 slowest = 0;
    QElapsedTimer clock;
    for (auto _ : state) {
        clock.start();
        appendOne();
        slowest = std::max(slowest, clock.nsecsElapsed());
    }
    state.counters["slowest_ms"] = static_cast<double>(slowest) / 1e6;
    state.counters["lines"] = log.document()->blockCount();
}
BENCHMARK(AppendChatLineToAFullLog)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
