#pragma once
// The one send operation. Every window and the dispatcher send through it.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace tessaly {

class LineSender {
public:
    virtual ~LineSender() = default;
    // Sends the text (keyword, fields and, where the format has one, the
    // carriage return) followed by one NUL byte. Failures are not reported.
    virtual void sendLine(std::string_view text) = 0;
};

// The client's send buffer holds 5,024 bytes: a text and its NUL.
inline constexpr std::size_t kMaxClientText = 5023;

// The bytes that go on the wire for one text: the text up to its first NUL
// (the server ends a message there), then one NUL. Nothing for a text that
// does not fit the send buffer: cutting it would send a different message.
std::optional<std::string> wireBytes(std::string_view text);

} // namespace tessaly
