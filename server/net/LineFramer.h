#pragma once
// Cuts a client's byte stream into messages at each NUL. A message longer
// than the limit is dropped whole, up to its NUL, so that no client can make
// the house hold unbounded input.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tessaly::house {

class LineFramer {
public:
    // The client's send buffer holds 5,024 bytes with the NUL.
    static constexpr std::size_t kMaxLine = 5023;

    explicit LineFramer(std::size_t maxLine = kMaxLine) : maxLine_(maxLine) {}

    // Appends bytes; complete messages (without their NUL) go to out.
    void feed(std::string_view bytes, std::vector<std::string>& out);
    // Messages dropped for their length so far.
    std::size_t dropped() const { return dropped_; }

private:
    std::size_t maxLine_;
    std::string partial_;
    bool skipping_ = false;
    std::size_t dropped_ = 0;
};

} // namespace tessaly::house
