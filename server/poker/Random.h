#pragma once
// A cryptographic random stream: ChaCha20 keyed from the system's random
// source, or from a seed when the house runs deterministically for tests.
// Client entropy is folded into the key with a keyed hash, so it can only
// add unpredictability, never take it away.

#include <array>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace tessaly::house {

class RandomStream {
public:
    // Keyed from the system's random source.
    RandomStream();
    // Keyed from a seed text: the same seed gives the same stream.
    explicit RandomStream(std::string_view seed);

    std::uint32_t next32();
    // Uniform in [0, bound), without modulo bias; bound > 0.
    std::uint32_t uniform(std::uint32_t bound);
    // Uniform in [0, 1).
    double unit();
    // Uniform in [lo, hi], lo <= hi.
    int between(int lo, int hi);
    bool chance(double p) { return unit() < p; }

    void mix(std::span<const unsigned char> bytes);
    // A stream of its own for a sub-purpose (a table, a bot), derived from
    // this one's key and a label.
    RandomStream derive(std::string_view label) const;

private:
    struct Key {};
    RandomStream(Key, const std::array<unsigned char, 32>& key);
    void refill();

    std::array<unsigned char, 32> key_{};
    std::uint64_t counter_ = 0;
    std::array<unsigned char, 256> block_{};
    std::size_t used_ = 256;
};

// Fisher-Yates over a full deck of wire codes.
std::vector<int> shuffledDeck(RandomStream& random);

} // namespace tessaly::house
