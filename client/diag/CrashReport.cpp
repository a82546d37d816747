#include "client/diag/CrashReport.h"

#include <cstring>
#include <sys/stat.h>

namespace tessaly {
namespace {

constexpr std::size_t kStackDumpMax = 12288;
constexpr std::size_t kWordsPerLine = 4;
constexpr std::size_t kWordBytes = 8;

// Days since 1970-01-01 to a civil date (proleptic Gregorian).
void civilFromDays(std::int64_t days, int& year, unsigned& month, unsigned& day)
{
    days += 719468;
    const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const auto doe = static_cast<unsigned>(days - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    day = doy - (153 * mp + 2) / 5 + 1;
    month = mp < 10 ? mp + 3 : mp - 9;
    year = static_cast<int>(static_cast<std::int64_t>(yoe) + era * 400 + (month <= 2 ? 1 : 0));
}

void writeSystemDetails(ReportBuffer& out, const CrashStartInfo& start, const CrashFacts& facts,
                        const MemoryStatus& memory)
{
    char time[64];
    formatReportTime(time, sizeof time, facts.unixTime, start.utcOffsetSeconds);
    out.add("Error occurred at %s.\r\n", {time});
    out.add("%s, run by %s.\r\n", {start.programPath, start.userName});
    out.add("Operating system:  %s (%s).\r\n", {start.systemName, start.systemNumbers});
    out.add("%d processor(s), type %d.\r\n", {start.processorCount, start.processorType});
    out.add("%d%% memory in use.\r\n", {memory.loadPercent});
    out.add("%d MBytes physical memory.\r\n", {mebibytesUp(memory.totalPhysical)});
    out.add("%d MBytes physical memory free.\r\n", {mebibytesUp(memory.freePhysical)});
    out.add("%d MBytes paging file.\r\n", {mebibytesUp(memory.totalPaging)});
    out.add("%d MBytes paging file free.\r\n", {mebibytesUp(memory.freePaging)});
    out.add("%d MBytes user address space.\r\n", {mebibytesUp(memory.totalVirtual)});
    out.add("%d MBytes user address space free.\r\n", {mebibytesUp(memory.freeVirtual)});
}

void writeRegisters(ReportBuffer& out, const CpuRegisters& r, const MemoryMap& map)
{
    const auto word = [&map](std::uint64_t value) { return reportableWord(value, map); };
    out.add("\r\nContext:\r\n");
    out.add("RDI:    0x%016x  RSI: 0x%016x  RAX:   0x%016x\r\n", {word(r.rdi), word(r.rsi), word(r.rax)});
    out.add("RBX:    0x%016x  RCX: 0x%016x  RDX:   0x%016x\r\n", {word(r.rbx), word(r.rcx), word(r.rdx)});
    out.add("RIP:    0x%016x  RBP: 0x%016x  CS:    0x%08x\r\n", {r.rip, word(r.rbp), r.cs});
    out.add("EFLAGS: 0x%016x  RSP: 0x%016x  SS:    0x%08x\r\n", {r.eflags, r.rsp, r.ss});
}

// Only code: an instruction pointer gone astray into data shows no bytes.
void writeCodeBytes(ReportBuffer& out, std::uint64_t ip, const MemoryMap& map)
{
    out.add("\r\nBytes at CS:RIP:\r\n");
    for (std::uint64_t i = 0; i < 16; ++i) {
        const MemoryRange* code = map.readableAround(ip + i);
        std::uint8_t byte = 0;
        if (code && code->executable && readMemory(&byte, ip + i, 1))
            out.add("%02x ", {byte});
        else
            out.add("?? ");
    }
}

void writeStack(ReportBuffer& out, std::uint64_t sp, const MemoryMap& map)
{
    static std::uint8_t stack[kStackDumpMax];
    out.add("\r\n\r\nStack:\r\n");
    const MemoryRange* mapping = map.readableAround(sp);
    const std::uint64_t size = mapping ? (mapping->end - sp < kStackDumpMax ? mapping->end - sp : kStackDumpMax) : 0;
    if (!mapping || !readMemory(stack, sp, size)) {
        out.add("Exception encountered during stack dump.\r\n");
    } else {
        blankPrivateWords(stack, size, map);
        writeStackLines(out, sp, stack, size);
    }
    out.add("\r\n");
}

void hexText(const std::uint8_t* bytes, std::size_t size, char* out)
{
    const char* digits = "0123456789abcdef";
    for (std::size_t i = 0; i < size; ++i) {
        out[2 * i] = digits[bytes[i] >> 4];
        out[2 * i + 1] = digits[bytes[i] & 15];
    }
    out[2 * size] = '\0';
}

void writeModule(ReportBuffer& out, int number, const LoadedModule& module, const CrashStartInfo& start)
{
    out.add("Module %d\r\n", {number});
    out.add("%s\r\n", {module.path});
    out.add("Image Base: 0x%016x  Image Size: 0x%08x\r\n", {module.base, module.end - module.base});
    char buildId[2 * LoadedModule::kBuildIdMax + 1];
    hexText(module.buildId, module.buildIdSize, buildId);
    out.add("Build ID:   %s\r\n", {buildId});
    struct stat file {};
    char time[64] = "";
    if (::stat(module.path, &file) == 0)
        formatReportTime(time, sizeof time, file.st_mtim.tv_sec, start.utcOffsetSeconds);
    out.add("File Size:  %-10d  File Time:  %s\r\n", {static_cast<long long>(file.st_size), time});
    out.add("Version Information:\r\n");
    // Only the program's own module has a version block; libraries show none.
    const bool own = std::strcmp(module.path, start.programPath) == 0;
    const ProgramIdentity none{};
    const ProgramIdentity& id = own ? start.identity : none;
    out.add("   Company:    %s\r\n", {id.company});
    out.add("   Product:    %s\r\n", {id.product});
    out.add("   FileDesc:   %s\r\n", {id.fileDescription});
    if (own) {
        out.add("   FileVer:    %d.%d.%d.%d\r\n", {id.version[0], id.version[1], id.version[2], id.version[3]});
        out.add("   ProdVer:    %d.%d.%d.%d\r\n", {id.version[0], id.version[1], id.version[2], id.version[3]});
    } else {
        out.add("   FileVer:    \r\n");
        out.add("   ProdVer:    \r\n");
    }
    out.add("\r\n");
}

} // namespace

std::size_t formatReportTime(char* out, std::size_t capacity, std::int64_t unixTime, long utcOffsetSeconds)
{
    const std::int64_t local = unixTime + utcOffsetSeconds;
    std::int64_t days = local / 86400;
    std::int64_t seconds = local % 86400;
    if (seconds < 0) {
        seconds += 86400;
        --days;
    }
    int year = 0;
    unsigned month = 0;
    unsigned day = 0;
    civilFromDays(days, year, month, day);
    const auto hour = static_cast<unsigned>(seconds / 3600);
    const auto minute = static_cast<unsigned>(seconds / 60 % 60);
    const auto second = static_cast<unsigned>(seconds % 60 / 2 * 2);
    return formatText(out, capacity, "%d/%d/%d %02d:%02d:%02d", {month, day, year, hour, minute, second});
}

void writeStackLines(ReportBuffer& out, std::uint64_t first, const std::uint8_t* bytes, std::size_t size)
{
    const std::size_t words = size / kWordBytes;
    for (std::size_t line = 0; line < words; line += kWordsPerLine) {
        const std::size_t count = words - line < kWordsPerLine ? words - line : kWordsPerLine;
        out.add("0x%016x: ", {first + line * kWordBytes});
        for (std::size_t w = 0; w < count; ++w) {
            std::uint64_t word = 0;
            std::memcpy(&word, bytes + (line + w) * kWordBytes, kWordBytes);
            out.add("%016x ", {word});
        }
        for (std::size_t w = count; w < kWordsPerLine; ++w)
            out.add("                 ");
        char text[kWordsPerLine * kWordBytes + 1];
        const std::size_t n = count * kWordBytes;
        for (std::size_t i = 0; i < n; ++i) {
            const std::uint8_t c = bytes[line * kWordBytes + i];
            text[i] = c >= 32 && c <= 126 ? static_cast<char>(c) : '.';
        }
        text[n] = '\0';
        out.add("%s\r\n", {text});
    }
}

void writeCrashReport(ReportBuffer& out, const CrashStartInfo& start, const CrashFacts& facts,
                      const ModuleTable& modules, const MemoryStatus& memory, const MemoryMap& map)
{
    const CpuRegisters& r = facts.registers;
    const LoadedModule* faulting = modules.containing(r.rip);
    out.add("%s caused %s (0x%08x) \r\nin module %s at %04x:%016x.\r\n\r\n",
            {start.crasherName, exceptionDescription(facts.code), facts.code,
             faulting ? faulting->path : "Unknown", r.cs, r.rip});
    out.add("Exception handler called in %s.\r\n", {start.location});
    writeSystemDetails(out, start, facts, memory);
    if (facts.code == kAccessViolation)
        out.add("%s location %016x caused an access violation.\r\n",
                {facts.writeAccess ? "Write to" : "Read from", facts.signal.address});
    writeRegisters(out, r, map);
    writeCodeBytes(out, r.rip, map);
    writeStack(out, r.rsp, map);
    for (std::size_t i = 0; i < modules.size(); ++i)
        writeModule(out, static_cast<int>(i + 1), modules[i], start);
    out.add("\r\n===== [end of %s] =====\r\n", {"ERRORLOG.TXT"});
}

} // namespace tessaly
