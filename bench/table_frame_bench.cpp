// Frame time of a full 10-seat table in the middle of a hand (ten boxes,
// hole cards up and down, the board, seven pots, ten bets, the announcement
// and the turn marker), against the table window's 28 ms frame period: at
// scale 1 and at scale 2, and at scale 1 in a window the user made 2.5 times
// as large, with a change to the record every iteration so every frame is
// drawn and compared with the one before. The goal at 2.5 times: 2 ms.

#include <benchmark/benchmark.h>

#include "bench/QtBenchMain.h"
#include "client/table/TableFrame.h"
#include "tests/support/RecordingSound.h"
#include "tests/support/ScriptedMessageBoxes.h"
#include "tests/support/TableScenes.h"

namespace {

void FullTableFrame(benchmark::State& state)
{
    const double scale = static_cast<double>(state.range(0));
    const double zoom = static_cast<double>(state.range(1)) / 10.0;
    tessaly::ScriptedMessageBoxes boxes;
    tessaly::RecordingSound sound;
    tessaly::TableFrame frame;
    frame.load(boxes, nullptr, 10);
    if (!boxes.shown.empty()) {
        state.SkipWithError("pictures missing: run from the install directory");
        return;
    }
    tessaly::TableState table = tessaly::scenes::midHand(10);
    const QSize client(static_cast<int>(798 * scale * zoom), static_cast<int>(544 * scale * zoom));
    for (auto _ : state) {
        // The announcement starts again and the turn marker blinks: the
        // record changed, so the frame is drawn, and the marker's place
        // reaches the screen.
        table.historyPending = 1;
        table.actionLabelFade[0] = 255;
        table.blinkWord = table.blinkWord == 0 ? 1 : 0;
        if (!frame.render(table, sound, client, {scale, scale}, zoom))
            state.SkipWithError("frame not drawn");
        benchmark::DoNotOptimize(frame.image().cacheKey());
    }
}
BENCHMARK(FullTableFrame)
    ->Args({1, 10})
    ->Args({2, 10})
    ->Args({1, 25})
    ->ArgNames({"scale", "zoom_tenths"})
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    return runQtBenchmarks(argc, argv);
}
