#pragma once
// The machine as the system information dialog and the crash report show
// it, read from Linux's own files: the kernel's version, the distribution's
// name, the processors, memory and the first display adapter. Each source
// has a pure parser; readSystemInfo() reads them all under a root folder,
// so tests point it at sample trees.

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "client/diag/MemoryStatus.h"

namespace tessaly {

struct KernelVersion {
    unsigned major = 0;
    unsigned minor = 0;
    unsigned patch = 0;
};

// The whole of a small text file; empty when it cannot be read.
std::string readTextFile(const std::filesystem::path& path);

// "6.1.0-18-amd64" -> 6, 1, 0; missing parts are 0.
KernelVersion parseKernelRelease(std::string_view release);

// PRETTY_NAME of an os-release text, unquoted; empty when there is none.
std::string osReleasePrettyName(std::string_view osRelease);

// The count of processors in a kernel CPU list such as "0-3,6,8-9" (/sys's
// cpu/online); 0 for an empty or malformed list.
unsigned cpuListCount(std::string_view list);

// The highest "cpu MHz" of /proc/cpuinfo; 0 when it has none.
double cpuinfoMaxMHz(std::string_view cpuinfo);

// The first "model name" of /proc/cpuinfo, tabs trimmed from both ends
// (blanks kept); empty when it has none.
std::string cpuModelName(std::string_view cpuinfo);

// The feature field's text from the first "flags" (x86) or "Features" (ARM)
// line: "  " then "FPU " or "No FPU (!) ", then each of "3DNow ", "MMX ",
// "SSE ", "SSE2 ", "RDTSC ", "PAE " the processor has.
std::string cpuFeatureText(std::string_view cpuinfo);

// The name of a PCI device in the PCI ID database's text: "vendor device"
// ("Intel Corporation HD Graphics 620"); "vendor Device 5917" for a device
// the database does not list, "Device 8086:5917" for an unknown vendor.
std::string pciDeviceName(std::string_view pciIds, unsigned vendor, unsigned device);

// The dialog's fields, formatted.
struct SystemInfoTexts {
    std::string version;      // 101
    std::string processors;   // 102
    std::string cpuType;      // 103
    std::string features;     // 104
    std::string memoryLoad;   // 105
    std::string physical;     // 106
    std::string virtualMemory;   // 107
    std::string graphics;     // 108
};

std::string versionText(const KernelVersion& kernel, std::string_view prettyName);
std::string processorCountText(unsigned count);
std::string cpuTypeText(double megahertz, std::string_view modelName);
std::string memoryLoadText(unsigned percent);
std::string memoryAmountText(std::uint64_t freeBytes, std::uint64_t totalBytes);

// What readSystemInfo reads, before formatting.
struct SystemFacts {
    KernelVersion kernel{};
    std::string kernelRelease;   // "6.1.0-18-amd64"
    std::string prettyName;
    unsigned processors = 0;
    double megahertz = 0;
    std::string modelName;
    std::string features;
    std::string graphics;        // empty: no display adapter
    MemoryStatus memory{};
};

// Reads the machine under root ("/" for this one): proc/sys/kernel/osrelease,
// etc/os-release (else usr/lib/os-release), sys/devices/system/cpu/online,
// each cpu's cpufreq/cpuinfo_max_freq (else proc/cpuinfo's "cpu MHz"),
// proc/cpuinfo, proc/meminfo, and the first sys/class/drm/cardN's PCI IDs
// looked up in the PCI ID database under root. mappedBytes: the process's
// mapped bytes, for the free virtual address space.
SystemFacts readSystemFacts(const std::filesystem::path& root, std::uint64_t mappedBytes);
SystemInfoTexts systemInfoTexts(const SystemFacts& facts);

} // namespace tessaly
