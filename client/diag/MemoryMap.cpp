#include "client/diag/MemoryMap.h"

#include <cstring>

#include "client/diag/ProcFiles.h"

namespace tessaly {
namespace {

constexpr std::uint64_t kSmallNumber = 0xFFFF;

} // namespace

void MemoryMap::load()
{
    count_ = 0;
    LineReader maps("/proc/self/maps");
    std::string_view line;
    while (maps.next(line))
        if (const auto entry = parseMapsLine(line))
            add({entry->start, entry->end, entry->readable, entry->executable});
}

void MemoryMap::add(const MemoryRange& range)
{
    if (count_ < kMax)
        ranges_[count_++] = range;
}

const MemoryRange* MemoryMap::containing(std::uint64_t address) const
{
    // The kernel lists mappings in address order: a binary search.
    std::size_t low = 0;
    std::size_t high = count_;
    while (low < high) {
        const std::size_t middle = low + (high - low) / 2;
        if (ranges_[middle].end <= address)
            low = middle + 1;
        else
            high = middle;
    }
    return low < count_ && ranges_[low].start <= address ? &ranges_[low] : nullptr;
}

const MemoryRange* MemoryMap::readableAround(std::uint64_t address) const
{
    const MemoryRange* range = containing(address);
    return range && range->readable ? range : nullptr;
}

std::uint64_t reportableWord(std::uint64_t word, const MemoryMap& map)
{
    if (word <= kSmallNumber || word >= ~kSmallNumber || map.containing(word))
        return word;
    return kBlankedWord;
}

void blankPrivateWords(std::uint8_t* bytes, std::size_t size, const MemoryMap& map)
{
    const std::size_t whole = size / 8 * 8;
    for (std::size_t at = 0; at < whole; at += 8) {
        std::uint64_t word = 0;
        std::memcpy(&word, bytes + at, 8);
        word = reportableWord(word, map);
        std::memcpy(bytes + at, &word, 8);
    }
    std::memset(bytes + whole, 0xFE, size - whole);
}

} // namespace tessaly
