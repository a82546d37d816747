#include "client/diag/LoadedModules.h"

#include <cerrno>
#include <cstring>
#include <elf.h>
#include <fcntl.h>
#include <sys/syscall.h>
#include <sys/uio.h>
#include <unistd.h>

#include "client/diag/ProcFiles.h"

namespace tessaly {
namespace {

constexpr const char* kMaps = "/proc/self/maps";

void copyPath(char (&to)[LoadedModule::kPathMax], const MapsEntry& entry)
{
    const std::size_t n = entry.path.size() < LoadedModule::kPathMax - 1 ? entry.path.size()
                                                                        : LoadedModule::kPathMax - 1;
    std::memcpy(to, entry.path.data(), n);
    to[n] = '\0';
}

bool samePath(const char* path, const MapsEntry& entry)
{
    return entry.path.size() < LoadedModule::kPathMax && std::strlen(path) == entry.path.size()
        && std::memcmp(path, entry.path.data(), entry.path.size()) == 0;
}

// The build ID within one PT_NOTE segment's bytes.
std::size_t buildIdInNotes(const std::uint8_t* notes, std::size_t size, std::uint8_t* out, std::size_t capacity)
{
    std::size_t at = 0;
    while (at + sizeof(Elf64_Nhdr) <= size) {
        Elf64_Nhdr header;
        std::memcpy(&header, notes + at, sizeof header);
        const std::size_t nameSize = (header.n_namesz + 3u) & ~3u;
        const std::size_t descSize = (header.n_descsz + 3u) & ~3u;
        const std::size_t name = at + sizeof header;
        const std::size_t desc = name + nameSize;
        if (desc + descSize > size)
            return 0;
        if (header.n_type == NT_GNU_BUILD_ID && header.n_namesz == 4 && std::memcmp(notes + name, "GNU", 4) == 0) {
            const std::size_t n = header.n_descsz < capacity ? header.n_descsz : capacity;
            std::memcpy(out, notes + desc, n);
            return n;
        }
        at = desc + descSize;
    }
    return 0;
}

// Through a pipe: write() of an unreadable address fails with EFAULT.
bool readThroughPipe(void* out, std::uint64_t address, std::size_t size)
{
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0)
        return false;
    bool ok = true;
    for (std::size_t done = 0; ok && done < size;) {
        const std::size_t n = size - done < 4096 ? size - done : 4096;   // a pipe holds at least a page
        // The raw call: a sanitizer's write() would check the address itself.
        ok = ::syscall(SYS_write, ends[1], address + done, n) == static_cast<long>(n)
          && ::read(ends[0], static_cast<char*>(out) + done, n) == static_cast<ssize_t>(n);
        done += n;
    }
    ::close(ends[0]);
    ::close(ends[1]);
    return ok;
}

} // namespace

bool readMemory(void* out, std::uint64_t address, std::size_t size)
{
    if (size == 0)
        return true;
    // The kernel copies for us and answers EFAULT instead of raising a fault.
    iovec local{out, size};
    iovec remote{reinterpret_cast<void*>(address), size};
    if (::process_vm_readv(::getpid(), &local, 1, &remote, 1, 0) == static_cast<ssize_t>(size))
        return true;
    // A sandbox may forbid the call; a pipe does the same, more slowly.
    return (errno == EPERM || errno == ENOSYS) && readThroughPipe(out, address, size);
}

std::size_t readBuildId(std::uint64_t base, std::uint8_t* out, std::size_t capacity)
{
    Elf64_Ehdr elf;
    if (!readMemory(&elf, base, sizeof elf) || std::memcmp(elf.e_ident, ELFMAG, SELFMAG) != 0
        || elf.e_ident[EI_CLASS] != ELFCLASS64 || elf.e_phentsize != sizeof(Elf64_Phdr))
        return 0;
    // The load bias: where the lowest segment's address landed.
    std::uint64_t lowest = UINT64_MAX;
    for (unsigned i = 0; i < elf.e_phnum; ++i) {
        Elf64_Phdr ph;
        if (!readMemory(&ph, base + elf.e_phoff + i * sizeof ph, sizeof ph))
            return 0;
        if (ph.p_type == PT_LOAD && (ph.p_vaddr & ~(ph.p_align - 1)) < lowest)
            lowest = ph.p_vaddr & ~(ph.p_align - 1);
    }
    if (lowest == UINT64_MAX)
        return 0;
    const std::uint64_t bias = base - lowest;
    for (unsigned i = 0; i < elf.e_phnum; ++i) {
        Elf64_Phdr ph;
        if (!readMemory(&ph, base + elf.e_phoff + i * sizeof ph, sizeof ph) || ph.p_type != PT_NOTE)
            continue;
        std::uint8_t notes[1024];
        const std::size_t size = ph.p_memsz < sizeof notes ? ph.p_memsz : sizeof notes;
        if (!readMemory(notes, bias + ph.p_vaddr, size))
            continue;
        if (const std::size_t n = buildIdInNotes(notes, size, out, capacity))
            return n;
    }
    return 0;
}

void ModuleTable::load()
{
    count_ = 0;
    LineReader maps(kMaps);
    std::string_view line;
    LoadedModule* current = nullptr;
    while (maps.next(line)) {
        const auto entry = parseMapsLine(line);
        if (!entry || entry->path.empty() || entry->path.front() != '/')
            continue;
        if (current && samePath(current->path, *entry) && entry->offset != 0) {
            current->end = entry->end;
            continue;
        }
        char magic[SELFMAG];
        if (entry->offset != 0 || count_ == kMax || !entry->readable
            || !readMemory(magic, entry->start, SELFMAG) || std::memcmp(magic, ELFMAG, SELFMAG) != 0) {
            current = nullptr;
            continue;
        }
        current = &modules_[count_++];
        current->base = entry->start;
        current->end = entry->end;
        copyPath(current->path, *entry);
        current->buildIdSize = readBuildId(entry->start, current->buildId, LoadedModule::kBuildIdMax);
    }
}

const LoadedModule* ModuleTable::containing(std::uint64_t address) const
{
    for (std::size_t i = 0; i < count_; ++i)
        if (address >= modules_[i].base && address < modules_[i].end)
            return &modules_[i];
    return nullptr;
}

std::uint64_t mappedBytes()
{
    std::uint64_t total = 0;
    LineReader maps(kMaps);
    std::string_view line;
    while (maps.next(line))
        if (const auto entry = parseMapsLine(line))
            total += entry->end - entry->start;
    return total;
}

} // namespace tessaly
