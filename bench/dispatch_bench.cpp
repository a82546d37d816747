// Dispatch throughput (lines per second) and line assembly throughput beside
// a plain memchr scan of the same bytes, over a realistic mixed stream.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "bench/ServerStream.h"
#include "client/net/LineAssembler.h"
#include "client/net/LineSender.h"
#include "client/dispatch/Dispatcher.h"
#include "client/table/ClientState.h"
#include "platform/MessageBoxes.h"
#include "platform/SoundPort.h"
#include "platform/sys/Process.h"

namespace {

using namespace tessaly;

constexpr std::size_t kLines = 120000;

const std::vector<std::string>& streamLines()
{
    static const std::vector<std::string> lines = bench::ServerStream::lines(kLines);
    return lines;
}

const std::string& streamBytes()
{
    static const std::string bytes = bench::ServerStream::bytes(streamLines());
    return bytes;
}

// Ports that do nothing, so only the dispatcher's own work is timed.
struct QuietPorts final : LineSender, SoundPort, MessageBoxes, ProcessExit {
    void sendLine(std::string_view) override {}
    void PlaySoundFile(std::string_view) override {}
    BoxAnswer show(const BoxRequest&) override { return BoxAnswer::Ok; }
    void exitProcess(int) override {}
};

void BM_DispatchStream(benchmark::State& bench)
{
    const auto& lines = streamLines();
    auto state = std::make_unique<ClientState>();
    QuietPorts ports;
    Dispatcher dispatcher(*state, {ports, ports, ports, ports});
    for (auto _ : bench) {
        for (const std::string& line : lines)
            dispatcher.dispatchLine(line);
        benchmark::ClobberMemory();
    }
    bench.SetItemsProcessed(static_cast<std::int64_t>(bench.iterations() * lines.size()));
    bench.counters["lines"] = static_cast<double>(lines.size());
}
BENCHMARK(BM_DispatchStream)->Unit(benchmark::kMillisecond);

void BM_AssembleStream(benchmark::State& bench)
{
    const std::string& bytes = streamBytes();
    LineAssembler assembler;
    std::size_t lines = 0;
    for (auto _ : bench) {
        for (std::size_t at = 0; at < bytes.size(); at += kReceiveChunkSize) {
            const std::size_t n = std::min(kReceiveChunkSize, bytes.size() - at);
            assembler.feed(bytes.data() + at, n, [&](char*, std::size_t) { ++lines; });
        }
    }
    benchmark::DoNotOptimize(lines);
    bench.SetBytesProcessed(static_cast<std::int64_t>(bench.iterations() * bytes.size()));
}
BENCHMARK(BM_AssembleStream);

// The limit: finding every carriage return in the same chunks, nothing else.
void BM_MemchrScan(benchmark::State& bench)
{
    const std::string& bytes = streamBytes();
    std::size_t lines = 0;
    for (auto _ : bench) {
        for (std::size_t at = 0; at < bytes.size(); at += kReceiveChunkSize) {
            const char* p = bytes.data() + at;
            const char* end = p + std::min(kReceiveChunkSize, bytes.size() - at);
            while (const void* cr = std::memchr(p, '\r', static_cast<std::size_t>(end - p))) {
                ++lines;
                p = static_cast<const char*>(cr) + 1;
            }
        }
    }
    benchmark::DoNotOptimize(lines);
    bench.SetBytesProcessed(static_cast<std::int64_t>(bench.iterations() * bytes.size()));
}
BENCHMARK(BM_MemchrScan);

} // namespace

BENCHMARK_MAIN();
