// The drawing budgets of the toolkit: a busy table frame draws eighteen chip
// stacks within its 28 ms period, and the link banner repaints every 20 ms.

#include <benchmark/benchmark.h>

#include <QPainter>

#include "bench/QtBenchMain.h"
#include "client/ui/ChipRack.h"
#include "client/ui/LinkTicker.h"
#include "tests/support/ScriptedMessageBoxes.h"

namespace {

void FrameOfEighteenChipStacks(benchmark::State& state)
{
    tessaly::ScriptedMessageBoxes boxes;
    tessaly::ChipRack rack;
    rack.load(boxes);
    if (!boxes.shown.empty()) {
        state.SkipWithError("chip pictures missing: run from the install directory");
        return;
    }
    QImage frame(800, 600, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        QPainter painter(&frame);
        for (int stack = 0; stack < 18; ++stack)
            tessaly::DrawChipStack(painter, rack, 40 + (stack % 6) * 120, 150 + (stack / 6) * 140, 1234.56f + float(stack));
        painter.end();
        benchmark::DoNotOptimize(frame.bits());
    }
}
BENCHMARK(FrameOfEighteenChipStacks)->Unit(benchmark::kMillisecond);

void BannerRepaint(benchmark::State& state)
{
    tessaly::LinkTicker ticker;
    ticker.resize(797, 20);
    ticker.addItem("http://www.tessaly.test/", "Welcome to Tessaly, Good Luck!!");
    ticker.addItem("http://www.tessaly.test/stickers.php", "Show your support by displaying one of our Banners!");
    ticker.addItem("", "Sit & Go + Multi Table Tournaments coming soon !!");
    ticker.start(true);
    QImage target(797, 20, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        ticker.render(&target);
        benchmark::DoNotOptimize(target.bits());
    }
}
BENCHMARK(BannerRepaint)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    return runQtBenchmarks(argc, argv);
}
