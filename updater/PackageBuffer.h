#pragma once
// A growing block of bytes for a whole package held in memory, or for the
// unpacking buffer. It lives in its own mapping, asked for in huge pages
// where the system gives them: a package of tens of megabytes then costs a
// few dozen page faults instead of thousands.

#include <cstddef>
#include <string_view>

namespace tessaly::updater {

class PackageBuffer {
public:
    PackageBuffer() = default;
    ~PackageBuffer();
    PackageBuffer(const PackageBuffer&) = delete;
    PackageBuffer& operator=(const PackageBuffer&) = delete;

    // Room for `bytes` in all; false when the memory cannot be had.
    bool reserve(std::size_t bytes);
    // False (and nothing added) when the memory cannot be had.
    bool append(std::string_view bytes);
    // Makes the size `bytes`, the new bytes undefined; false as above.
    bool resize(std::size_t bytes);
    void clear() { size_ = 0; }
    // Gives the memory back.
    void release();

    char* data() { return data_; }
    const char* data() const { return data_; }
    std::size_t size() const { return size_; }
    std::string_view view() const { return {data_, size_}; }

private:
    char* data_ = nullptr;
    std::size_t size_ = 0;
    std::size_t capacity_ = 0;
};

} // namespace tessaly::updater
