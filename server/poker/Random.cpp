#include "server/poker/Random.h"

#include "server/poker/Cards.h"

#include <sodium.h>

#include <cstring>
#include <numeric>
#include <stdexcept>

namespace tessaly::house {
namespace {

void ensureSodium()
{
    if (sodium_init() < 0)
        throw std::runtime_error("libsodium cannot be initialised");
}

} // namespace

RandomStream::RandomStream()
{
    ensureSodium();
    randombytes_buf(key_.data(), key_.size());
}

RandomStream::RandomStream(std::string_view seed)
{
    ensureSodium();
    crypto_generichash(key_.data(), key_.size(), reinterpret_cast<const unsigned char*>(seed.data()),
                       seed.size(), nullptr, 0);
}

RandomStream::RandomStream(Key, const std::array<unsigned char, 32>& key) : key_(key) {}

void RandomStream::refill()
{
    unsigned char nonce[crypto_stream_chacha20_NONCEBYTES] = {};
    static_assert(sizeof nonce == sizeof counter_);
    std::memcpy(nonce, &counter_, sizeof counter_);
    ++counter_;
    crypto_stream_chacha20(block_.data(), block_.size(), nonce, key_.data());
    used_ = 0;
}

std::uint32_t RandomStream::next32()
{
    if (used_ + 4 > block_.size())
        refill();
    std::uint32_t v;
    std::memcpy(&v, block_.data() + used_, 4);
    used_ += 4;
    return v;
}

std::uint32_t RandomStream::uniform(std::uint32_t bound)
{
    // Values below 2^32 mod bound would make the low results likelier.
    const std::uint32_t threshold = (0u - bound) % bound;
    for (;;) {
        const std::uint32_t r = next32();
        if (r >= threshold)
            return r % bound;
    }
}

double RandomStream::unit()
{
    const std::uint64_t hi = next32() >> 5, lo = next32() >> 6;
    return static_cast<double>((hi << 26) | lo) / 9007199254740992.0;
}

int RandomStream::between(int lo, int hi)
{
    return lo + static_cast<int>(uniform(static_cast<std::uint32_t>(hi - lo + 1)));
}

void RandomStream::mix(std::span<const unsigned char> bytes)
{
    std::array<unsigned char, 32> next{};
    crypto_generichash(next.data(), next.size(), bytes.data(), bytes.size(), key_.data(), key_.size());
    key_ = next;
    counter_ = 0;
    used_ = block_.size();
}

RandomStream RandomStream::derive(std::string_view label) const
{
    std::array<unsigned char, 32> key{};
    crypto_generichash(key.data(), key.size(), reinterpret_cast<const unsigned char*>(label.data()),
                       label.size(), key_.data(), key_.size());
    return RandomStream(Key{}, key);
}

std::vector<int> shuffledDeck(RandomStream& random)
{
    std::vector<int> deck(kDeckSize);
    std::iota(deck.begin(), deck.end(), 0);
    for (std::uint32_t i = kDeckSize - 1; i > 0; --i)
        std::swap(deck[i], deck[random.uniform(i + 1)]);
    return deck;
}

} // namespace tessaly::house
