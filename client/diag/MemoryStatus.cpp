#include "client/diag/MemoryStatus.h"

#include "client/diag/ProcFiles.h"

namespace tessaly {

std::uint64_t userAddressSpaceBytes()
{
#if defined(__x86_64__)
    return std::uint64_t{1} << 47;   // four-level paging: 128 TiB for user space
#else
    return std::uint64_t{1} << 48;
#endif
}

MemoryStatus memoryStatusOf(std::string_view meminfo, std::uint64_t mappedBytes)
{
    MemoryStatus status;
    const auto kib = [&](std::string_view key) { return keyedNumber(meminfo, key).value_or(0) * 1024; };
    status.totalPhysical = kib("MemTotal");
    status.freePhysical = keyedNumber(meminfo, "MemAvailable") ? kib("MemAvailable") : kib("MemFree");
    if (status.freePhysical > status.totalPhysical)
        status.freePhysical = status.totalPhysical;
    if (status.totalPhysical > 0)
        status.loadPercent = static_cast<unsigned>((status.totalPhysical - status.freePhysical) * 100
                                                   / status.totalPhysical);
    status.totalPaging = kib("SwapTotal");
    status.freePaging = kib("SwapFree");
    status.totalVirtual = userAddressSpaceBytes();
    status.freeVirtual = mappedBytes < status.totalVirtual ? status.totalVirtual - mappedBytes : 0;
    return status;
}

} // namespace tessaly
