#pragma once
// The records of the documented minidump file ("MDMP"), byte for byte:
// little-endian, packed, as crash tools and debuggers read them.

#include <cstdint>

namespace tessaly::minidump {

inline constexpr std::uint32_t kSignature = 0x504d444d;   // "MDMP"
inline constexpr std::uint32_t kVersion = 0xa793;

enum StreamType : std::uint32_t {
    ThreadListStream = 3,
    ModuleListStream = 4,
    MemoryListStream = 5,
    ExceptionStream = 6,
    SystemInfoStream = 7,
    // The Linux streams: the kernel's texts, copied as they are.
    LinuxCpuInfoStream = 0x47670003,
    LinuxProcStatusStream = 0x47670004,
    LinuxMapsStream = 0x47670009,
};

inline constexpr std::uint16_t kArchitectureAmd64 = 9;
inline constexpr std::uint32_t kPlatformLinux = 0x8201;
inline constexpr std::uint32_t kCvElfBuildId = 0x4c457042;   // "BpEL" followed by the build ID
inline constexpr std::uint32_t kContextAmd64 = 0x00100000;
// Control, integer, segment and floating-point registers are present.
inline constexpr std::uint32_t kContextAmd64Full = kContextAmd64 | 0x1 | 0x2 | 0x4 | 0x8;
inline constexpr std::uint32_t kFixedFileInfoSignature = 0xfeef04bd;

#pragma pack(push, 1)
struct Header {
    std::uint32_t signature, version, streamCount, directoryRva, checksum, timeDateStamp;
    std::uint64_t flags;
};
struct Directory {
    std::uint32_t type, size, rva;
};
struct Location {
    std::uint32_t size, rva;
};
struct MemoryDescriptor {
    std::uint64_t start;
    Location memory;
};
struct Thread {
    std::uint32_t id, suspendCount, priorityClass, priority;
    std::uint64_t teb;
    MemoryDescriptor stack;
    Location context;
};
struct FixedFileInfo {
    std::uint32_t signature, structVersion, fileVersionHigh, fileVersionLow, productVersionHigh,
        productVersionLow, flagsMask, flags, os, type, subtype, dateHigh, dateLow;
};
struct Module {
    std::uint64_t base;
    std::uint32_t size, checksum, timeDateStamp, nameRva;
    FixedFileInfo version;
    Location cvRecord, miscRecord;
    std::uint64_t reserved0, reserved1;
};
struct SystemInfo {
    std::uint16_t architecture, level, revision;
    std::uint8_t processors, productType;
    std::uint32_t major, minor, build, platform, servicePackRva;
    std::uint16_t suiteMask, reserved;
    std::uint32_t vendor[3], versionInformation, featureInformation, amdExtendedFeatures;
};
struct ExceptionRecord {
    std::uint32_t code, flags;
    std::uint64_t record, address;
    std::uint32_t parameterCount, unusedAlignment;
    std::uint64_t information[15];
};
struct ExceptionInfo {
    std::uint32_t threadId, alignment;
    ExceptionRecord exception;
    Location context;
};
struct ContextAmd64 {
    std::uint64_t home[6];
    std::uint32_t contextFlags, mxCsr;
    std::uint16_t cs, ds, es, fs, gs, ss;
    std::uint32_t eflags;
    std::uint64_t dr0, dr1, dr2, dr3, dr6, dr7;
    std::uint64_t rax, rcx, rdx, rbx, rsp, rbp, rsi, rdi, r8, r9, r10, r11, r12, r13, r14, r15;
    std::uint64_t rip;
    std::uint8_t floatingSave[512];   // the FXSAVE area
    std::uint8_t vectorRegisters[26 * 16];
    std::uint64_t vectorControl, debugControl, lastBranchToRip, lastBranchFromRip, lastExceptionToRip,
        lastExceptionFromRip;
};
#pragma pack(pop)

static_assert(sizeof(Header) == 32);
static_assert(sizeof(Directory) == 12);
static_assert(sizeof(Thread) == 48);
static_assert(sizeof(Module) == 108);
static_assert(sizeof(SystemInfo) == 56);
static_assert(sizeof(ExceptionInfo) == 168);
static_assert(sizeof(ContextAmd64) == 1232);

} // namespace tessaly::minidump
