#pragma once
// The process's mappings, read once from /proc/self/maps when the crash
// handler runs, and the rule that keeps private data out of a crash report:
// a stack word or register that is neither an address in the process nor
// a small number is blanked. Text (a password being typed, a chat line, the
// environment at the top of the main thread's stack) is neither, while the
// return addresses and frame pointers a debugger needs to walk the stack
// are addresses. Nothing here allocates; the table is fixed-size.

#include <cstddef>
#include <cstdint>

namespace tessaly {

struct MemoryRange {
    std::uint64_t start = 0;
    std::uint64_t end = 0;
    bool readable = false;
    bool executable = false;
};

class MemoryMap {
public:
    static constexpr std::size_t kMax = 8192;

    // Reads /proc/self/maps; mappings beyond kMax are left out, so words
    // that point into them are blanked.
    void load();
    // Adds a range above every range added so far.
    void add(const MemoryRange& range);

    // The mapping that holds the address; nullptr for none.
    const MemoryRange* containing(std::uint64_t address) const;
    // The readable mapping that holds the address; nullptr for none.
    const MemoryRange* readableAround(std::uint64_t address) const;

private:
    MemoryRange ranges_[kMax];
    std::size_t count_ = 0;
};

// What a blanked word reads as: no address, no text.
inline constexpr std::uint64_t kBlankedWord = 0xfefefefefefefefeULL;

// The word as a crash report may keep it: itself when it is an address
// inside a mapping or a number within 65,535 of zero, else kBlankedWord.
std::uint64_t reportableWord(std::uint64_t word, const MemoryMap& map);

// Applies reportableWord to every whole 8-byte word of bytes, which were
// copied from an 8-byte aligned address; a trailing partial word is blanked.
void blankPrivateWords(std::uint8_t* bytes, std::size_t size, const MemoryMap& map);

} // namespace tessaly
