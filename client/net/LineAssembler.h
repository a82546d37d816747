#pragma once
// Cuts the received byte stream into lines at carriage returns.
//
// Bytes go in chunk by chunk as the socket delivers them; every complete
// line comes out, in order, without its carriage return. A line may span
// any number of chunks and a chunk may complete several lines.

#include <array>
#include <cstddef>
#include <cstring>

namespace tessaly {

// At most this much is taken from the socket at a time, so a chunk and its
// terminating NUL fit the connection's 5,096-byte receive buffer.
inline constexpr std::size_t kReceiveChunkSize = 5095;

class LineAssembler {
public:
    // The line buffer holds 50,000 bytes with the line's terminating NUL, so
    // a line is at most 49,999 characters.
    static constexpr std::size_t kBufferSize = 50000;
    static constexpr std::size_t kMaxLine = kBufferSize - 1;

    // Feeds one received chunk and calls onLine(char* line, std::size_t
    // length) for every line it completes; line is NUL-terminated and may be
    // modified until onLine returns.
    //
    // A NUL byte ends the chunk's text: the bytes after it are dropped, as
    // the server never sends one. A line that grows past kMaxLine is dropped
    // whole, up to and including its carriage return.
    template <class OnLine>
    void feed(const char* data, std::size_t size, OnLine&& onLine);

    std::size_t pending() const { return fill_; }
    // Bytes of the current line are being dropped because it grew too long.
    bool dropping() const { return dropping_; }

private:
    void append(const char* data, std::size_t size);

    std::array<char, kBufferSize> line_{};
    std::size_t fill_ = 0;
    bool dropping_ = false;
};

template <class OnLine>
void LineAssembler::feed(const char* data, std::size_t size, OnLine&& onLine)
{
    if (const void* nul = std::memchr(data, '\0', size))
        size = static_cast<std::size_t>(static_cast<const char*>(nul) - data);
    const char* end = data + size;
    while (data < end) {
        const char* cr = static_cast<const char*>(std::memchr(data, '\r', static_cast<std::size_t>(end - data)));
        if (cr == nullptr) {
            append(data, static_cast<std::size_t>(end - data));
            return;
        }
        append(data, static_cast<std::size_t>(cr - data));
        data = cr + 1;
        if (!dropping_) {
            line_[fill_] = '\0';
            onLine(line_.data(), fill_);
        }
        fill_ = 0;
        dropping_ = false;
    }
}

} // namespace tessaly
