#include "client/diag/Minidump.h"

#include <cerrno>
#include <cpuid.h>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

#include "client/diag/CpuContext.h"
#include "client/diag/CrashFormat.h"
#include "client/diag/LoadedModules.h"

namespace tessaly {
namespace {

using namespace minidump;

constexpr std::uint32_t kStreamCount = 8;
constexpr std::uint64_t kRedZone = 128;     // below the stack pointer, in use by leaf functions
constexpr std::uint64_t kCodeAround = 256;  // bytes of code either side of the instruction pointer

// Appends records to the file and knows where each one lands.
class DumpFile {
public:
    explicit DumpFile(int fd) : fd_(fd) {}

    bool ok() const { return ok_; }
    std::uint32_t offset() const { return offset_; }

    void seek(std::uint32_t offset)
    {
        ok_ = ok_ && ::lseek(fd_, offset, SEEK_SET) == static_cast<off_t>(offset);
        offset_ = offset;
    }
    std::uint32_t append(const void* data, std::size_t size)
    {
        const std::uint32_t at = offset_;
        ok_ = ok_ && writeAll(fd_, data, size);
        offset_ += static_cast<std::uint32_t>(size);
        return at;
    }
    // Copies memory of this process; unreadable pages are written as zeros.
    // With a map, only words that blankPrivateWords keeps are copied.
    Location appendMemory(std::uint64_t address, std::uint64_t size, const MemoryMap* blankWith = nullptr)
    {
        static std::uint8_t chunk[4096];
        const std::uint32_t at = offset_;
        for (std::uint64_t done = 0; done < size;) {
            const std::uint64_t n = size - done < sizeof chunk ? size - done : sizeof chunk;
            if (!readMemory(chunk, address + done, n))
                std::memset(chunk, 0, n);
            else if (blankWith)
                blankPrivateWords(chunk, n, *blankWith);
            append(chunk, n);
            done += n;
        }
        return {static_cast<std::uint32_t>(size), at};
    }
    Location appendFile(const char* path)
    {
        static char chunk[16384];
        const std::uint32_t at = offset_;
        const int in = ::open(path, O_RDONLY | O_CLOEXEC);
        if (in < 0)
            return {0, at};
        ssize_t n;
        while ((n = ::read(in, chunk, sizeof chunk)) > 0 || (n < 0 && errno == EINTR))
            if (n > 0)
                append(chunk, static_cast<std::size_t>(n));
        ::close(in);
        return {offset_ - at, at};
    }
    // A length-prefixed UTF-16 text; UTF-8 input, characters beyond the
    // basic plane become U+FFFD.
    std::uint32_t appendString(const char* text)
    {
        static std::uint16_t units[LoadedModule::kPathMax + 1];
        std::size_t n = 0;
        for (const auto* p = reinterpret_cast<const unsigned char*>(text); *p && n < LoadedModule::kPathMax;) {
            std::uint32_t c = *p++;
            int more = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
            c &= more == 3 ? 0x07 : more == 2 ? 0x0F : more == 1 ? 0x1F : 0x7F;
            for (; more > 0 && (*p & 0xC0) == 0x80; --more)
                c = (c << 6) | (*p++ & 0x3F);
            units[n++] = c > 0xFFFF || more > 0 ? 0xFFFD : static_cast<std::uint16_t>(c);
        }
        units[n] = 0;
        const auto bytes = static_cast<std::uint32_t>(n * 2);
        const std::uint32_t at = append(&bytes, sizeof bytes);
        append(units, (n + 1) * 2);
        return at;
    }

private:
    int fd_;
    std::uint32_t offset_ = 0;
    bool ok_ = true;
};

// The stack's bytes to keep: from just below the stack pointer, at a word
// boundary, to the end of its mapping. After a stack overflow the pointer
// may sit in the guard gap; then the mapping just above it is the stack.
void stackRange(const MemoryMap& map, std::uint64_t sp, std::uint64_t most, std::uint64_t& start, std::uint64_t& end)
{
    const MemoryRange* mapping = map.readableAround(sp);
    if (!mapping)
        mapping = map.readableAround(sp + kStackGuardDistance);
    if (!mapping) {
        start = end = sp;
        return;
    }
    start = (sp - kRedZone > mapping->start ? sp - kRedZone : mapping->start) & ~std::uint64_t{7};
    end = mapping->end - start > most ? start + most : mapping->end;
}

Location writeModuleList(DumpFile& file, const DumpFacts& facts)
{
    static Module records[ModuleTable::kMax];
    const ModuleTable& modules = *facts.modules;
    for (std::size_t i = 0; i < modules.size(); ++i) {
        const LoadedModule& m = modules[i];
        Module& r = records[i];
        r = Module{};
        r.base = m.base;
        r.size = static_cast<std::uint32_t>(m.end - m.base);
        r.nameRva = file.appendString(m.path);
        if (std::strcmp(m.path, facts.start->programPath) == 0) {
            const unsigned* v = facts.start->identity.version;
            r.version.signature = kFixedFileInfoSignature;
            r.version.structVersion = 0x10000;
            r.version.fileVersionHigh = r.version.productVersionHigh = v[0] << 16 | v[1];
            r.version.fileVersionLow = r.version.productVersionLow = v[2] << 16 | v[3];
        }
        if (m.buildIdSize > 0) {
            const std::uint32_t at = file.append(&kCvElfBuildId, sizeof kCvElfBuildId);
            file.append(m.buildId, m.buildIdSize);
            r.cvRecord = {static_cast<std::uint32_t>(sizeof kCvElfBuildId + m.buildIdSize), at};
        }
    }
    const auto count = static_cast<std::uint32_t>(modules.size());
    const std::uint32_t at = file.append(&count, sizeof count);
    file.append(records, count * sizeof(Module));
    return {file.offset() - at, at};
}

Location writeSystemInfo(DumpFile& file, const DumpFacts& facts)
{
    SystemInfo info{};
    info.architecture = kArchitectureAmd64;
    info.processors = static_cast<std::uint8_t>(facts.start->processorCount > 255 ? 255
                                                                                  : facts.start->processorCount);
    info.major = facts.kernelVersion[0];
    info.minor = facts.kernelVersion[1];
    info.build = facts.kernelVersion[2];
    info.platform = kPlatformLinux;
    unsigned a = 0, b = 0, c = 0, d = 0;
    if (__get_cpuid(0, &a, &b, &c, &d)) {
        info.vendor[0] = b;
        info.vendor[1] = d;
        info.vendor[2] = c;
    }
    if (__get_cpuid(1, &a, &b, &c, &d)) {
        info.versionInformation = a;
        info.featureInformation = d;
        const unsigned family = (a >> 8) & 0xF;
        info.level = static_cast<std::uint16_t>(family == 0xF ? family + ((a >> 20) & 0xFF) : family);
        info.revision = static_cast<std::uint16_t>(((a >> 4) & 0xF) << 8 | (a & 0xF));
    }
    if (__get_cpuid(0x80000001, &a, &b, &c, &d))
        info.amdExtendedFeatures = d;
    info.servicePackRva = file.appendString(facts.kernelText);
    const std::uint32_t at = file.append(&info, sizeof info);
    return {sizeof info, at};
}

Location writeException(DumpFile& file, const DumpFacts& facts, Location context)
{
    const CrashFacts& crash = *facts.crash;
    ExceptionInfo stream{};
    stream.threadId = facts.threads[0].id;
    // Linux crash tools read the signal as the code and si_code as the flags.
    stream.exception.code = static_cast<std::uint32_t>(crash.signal.signal);
    stream.exception.flags = static_cast<std::uint32_t>(crash.signal.code);
    stream.exception.address = crash.signal.address;
    stream.exception.parameterCount = 2;
    stream.exception.information[0] = crash.code;
    stream.exception.information[1] = crash.writeAccess ? 1 : 0;
    stream.context = context;
    const std::uint32_t at = file.append(&stream, sizeof stream);
    return {sizeof stream, at};
}

} // namespace

bool writeMinidump(int fd, const DumpFacts& facts)
{
    DumpFile file(fd);
    Directory directory[kStreamCount]{};
    std::uint32_t streams = 0;
    const auto add = [&](std::uint32_t type, Location where) { directory[streams++] = {type, where.size, where.rva}; };

    file.seek(sizeof(Header) + sizeof directory);
    static Thread threads[kDumpThreadsMax];
    static MemoryDescriptor ranges[kDumpThreadsMax + 1];
    const std::size_t threadCount = facts.threadCount < kDumpThreadsMax ? facts.threadCount : kDumpThreadsMax;
    std::uint32_t rangeCount = 0;
    const MemoryMap& map = *facts.memory;
    for (std::size_t i = 0; i < threadCount; ++i) {
        const DumpThread& t = facts.threads[i];
        ContextAmd64 registers = *t.context;
        blankPrivateRegisters(registers, map);
        const Location context{sizeof(ContextAmd64), file.append(&registers, sizeof(ContextAmd64))};
        std::uint64_t stackStart = 0;
        std::uint64_t stackEnd = 0;
        stackRange(map, t.context->rsp, i == 0 ? kDumpStackMax : kDumpOtherStackMax, stackStart, stackEnd);
        const MemoryDescriptor stack{stackStart, file.appendMemory(stackStart, stackEnd - stackStart, &map)};
        threads[i] = Thread{t.id, 0, 0, 0, 0, stack, context};
        if (stack.memory.size > 0)
            ranges[rangeCount++] = stack;
    }
    // The code around the fault; an instruction pointer gone astray into
    // data takes none of it.
    const ContextAmd64& crashed = *facts.threads[0].context;
    const MemoryRange* code = map.readableAround(crashed.rip);
    if (code && code->executable) {
        const std::uint64_t codeStart = crashed.rip - kCodeAround > code->start ? crashed.rip - kCodeAround : code->start;
        const std::uint64_t codeEnd = crashed.rip + kCodeAround < code->end ? crashed.rip + kCodeAround : code->end;
        ranges[rangeCount++] = {codeStart, file.appendMemory(codeStart, codeEnd - codeStart)};
    }

    const auto count = static_cast<std::uint32_t>(threadCount);
    const std::uint32_t threadsAt = file.append(&count, sizeof count);
    file.append(threads, threadCount * sizeof(Thread));
    add(ThreadListStream, {file.offset() - threadsAt, threadsAt});

    add(ModuleListStream, writeModuleList(file, facts));

    const std::uint32_t memoryAt = file.append(&rangeCount, sizeof rangeCount);
    file.append(ranges, rangeCount * sizeof(MemoryDescriptor));
    add(MemoryListStream, {file.offset() - memoryAt, memoryAt});

    add(ExceptionStream, writeException(file, facts, threads[0].context));
    add(SystemInfoStream, writeSystemInfo(file, facts));
    add(LinuxMapsStream, file.appendFile("/proc/self/maps"));
    add(LinuxProcStatusStream, file.appendFile("/proc/self/status"));
    add(LinuxCpuInfoStream, file.appendFile("/proc/cpuinfo"));

    const Header header{kSignature, kVersion, streams, sizeof(Header), 0,
                        static_cast<std::uint32_t>(facts.crash->unixTime), 0};
    file.seek(0);
    file.append(&header, sizeof header);
    file.append(directory, sizeof directory);
    return file.ok();
}

} // namespace tessaly
