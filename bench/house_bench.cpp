// The house's figures: seven-card evaluations per second on one core, and
// bot-only hands per second with no dealer pauses, every line checked
// against the catalogue and every chip counted after each hand.

#include "tests/server/BotRoom.h"

#include "server/poker/HandEvaluator.h"
#include "server/poker/Random.h"

#include <benchmark/benchmark.h>

namespace tessaly::house {
namespace {

void BM_EvaluateSeven(benchmark::State& state)
{
    RandomStream random("bench");
    constexpr std::size_t kHands = 1 << 16;
    std::vector<int> cards;
    cards.reserve(kHands * 7);
    for (std::size_t i = 0; i < kHands; ++i) {
        const std::vector<int> deck = shuffledDeck(random);
        cards.insert(cards.end(), deck.begin(), deck.begin() + 7);
    }
    std::size_t i = 0;
    HandValue sum = 0;
    for (auto _ : state) {
        sum += evaluateSeven(&cards[i * 7]);
        i = (i + 1) & (kHands - 1);
    }
    benchmark::DoNotOptimize(sum);
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_EvaluateSeven);

void BM_BotHands(benchmark::State& state)
{
    const std::int64_t hands = state.range(0);
    std::int64_t played = 0;
    for (auto _ : state) {
        test::BotRoom r(hands);
        std::int64_t counted = 0;
        while (!r.done && r.clock.step()) {
            if (r.room->stats().hands != counted) {
                counted = r.room->stats().hands;
                if (!r.conserved()) {
                    state.SkipWithError("chips are not conserved");
                    return;
                }
                r.output.sent[test::BotRoom::kWatcher].clear();
            }
        }
        if (!r.output.faults.empty()) {
            state.SkipWithError(r.output.faults.front().c_str());
            return;
        }
        played += r.room->stats().hands;
    }
    state.counters["hands/s"] = benchmark::Counter(static_cast<double>(played), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_BotHands)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace
} // namespace tessaly::house

BENCHMARK_MAIN();
