#pragma once
// A realistic server stream for benchmarks: many hands at several tables,
// with dealer lines, player chat, prompts, bets, boards and pots, and a table
// list now and then. Deterministic for a given seed.

#include <cstdint>
#include <string>
#include <vector>

namespace tessaly::bench {

class ServerStream {
public:
    // At least minLines lines, each without its carriage return.
    static std::vector<std::string> lines(std::size_t minLines, std::uint32_t seed = 1);
    // The same lines as the server sends them: each ended by a carriage return.
    static std::string bytes(const std::vector<std::string>& lines);
};

} // namespace tessaly::bench
