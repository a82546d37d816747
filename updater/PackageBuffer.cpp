#include "updater/PackageBuffer.h"

#include <sys/mman.h>

#include <algorithm>
#include <cstring>

namespace tessaly::updater {
namespace {

constexpr std::size_t kHugePage = 2u * 1024u * 1024u;

std::size_t roundUp(std::size_t bytes)
{
    return (bytes + kHugePage - 1) / kHugePage * kHugePage;
}

} // namespace

PackageBuffer::~PackageBuffer()
{
    release();
}

void PackageBuffer::release()
{
    if (data_ != nullptr)
        ::munmap(data_, capacity_);
    data_ = nullptr;
    size_ = 0;
    capacity_ = 0;
}

bool PackageBuffer::reserve(std::size_t bytes)
{
    if (bytes <= capacity_)
        return true;
    const std::size_t capacity = roundUp(bytes);
    void* block = data_ == nullptr
                      ? ::mmap(nullptr, capacity, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0)
                      : ::mremap(data_, capacity_, capacity, MREMAP_MAYMOVE);
    if (block == MAP_FAILED)
        return false;
    // Only advice: without huge pages the buffer works the same.
    ::madvise(block, capacity, MADV_HUGEPAGE);
    data_ = static_cast<char*>(block);
    capacity_ = capacity;
    return true;
}

bool PackageBuffer::resize(std::size_t bytes)
{
    if (bytes > capacity_ && !reserve(std::max(bytes, capacity_ * 2)))
        return false;
    size_ = bytes;
    return true;
}

bool PackageBuffer::append(std::string_view bytes)
{
    const std::size_t at = size_;
    if (!resize(size_ + bytes.size()))
        return false;
    if (!bytes.empty())
        std::memcpy(data_ + at, bytes.data(), bytes.size());
    return true;
}

} // namespace tessaly::updater
