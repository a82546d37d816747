#pragma once
// The machine's memory as the crash report and the system information
// dialog show it, read from /proc/meminfo: pure and allocation-free.

#include <cstdint>
#include <string_view>

namespace tessaly {

struct MemoryStatus {
    unsigned loadPercent = 0;          // memory in use, of the physical total
    std::uint64_t totalPhysical = 0;   // bytes
    std::uint64_t freePhysical = 0;    // MemAvailable (else MemFree)
    std::uint64_t totalPaging = 0;     // swap
    std::uint64_t freePaging = 0;
    std::uint64_t totalVirtual = 0;    // the process's user address space
    std::uint64_t freeVirtual = 0;
};

// The size of a process's user address space on this processor.
std::uint64_t userAddressSpaceBytes();

// meminfo: the text of /proc/meminfo; mappedBytes: the bytes the process has
// mapped (what /proc/self/maps lists).
MemoryStatus memoryStatusOf(std::string_view meminfo, std::uint64_t mappedBytes);

// Bytes in mebibytes, rounded up (the crash report) or cut (the dialog).
inline std::uint64_t mebibytesUp(std::uint64_t bytes) { return (bytes + (1u << 20) - 1) >> 20; }
inline std::uint64_t mebibytesDown(std::uint64_t bytes) { return bytes >> 20; }

} // namespace tessaly
