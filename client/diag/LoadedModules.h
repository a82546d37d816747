#pragma once
// The process's own memory as the crash handler sees it: copies that do not
// fault on unreadable addresses, the loaded ELF objects from /proc/self/maps
// with their GNU build IDs, and the total size of the mappings. Nothing here
// allocates; the tables are fixed-size.

#include <cstddef>
#include <cstdint>

namespace tessaly {

// Copies size bytes at address into out without touching unreadable pages;
// false when any byte cannot be read.
bool readMemory(void* out, std::uint64_t address, std::size_t size);

struct LoadedModule {
    static constexpr std::size_t kPathMax = 512;
    static constexpr std::size_t kBuildIdMax = 32;
    std::uint64_t base = 0;   // where the ELF header is mapped
    std::uint64_t end = 0;    // end of the object's last mapping
    char path[kPathMax]{};
    std::uint8_t buildId[kBuildIdMax]{};
    std::size_t buildIdSize = 0;
};

class ModuleTable {
public:
    static constexpr std::size_t kMax = 384;

    // Reads /proc/self/maps: every file mapped from offset 0 with an ELF
    // header starts a module; later mappings of the same file extend it.
    void load();

    std::size_t size() const { return count_; }
    const LoadedModule& operator[](std::size_t i) const { return modules_[i]; }
    // The module whose range holds the address; nullptr for none.
    const LoadedModule* containing(std::uint64_t address) const;

private:
    LoadedModule modules_[kMax];
    std::size_t count_ = 0;
};

// The GNU build ID of the ELF object mapped at base, read from its program
// headers' notes in memory; the count of bytes copied into out (0: none).
std::size_t readBuildId(std::uint64_t base, std::uint8_t* out, std::size_t capacity);

// Total bytes of every mapping in /proc/self/maps.
std::uint64_t mappedBytes();

} // namespace tessaly
