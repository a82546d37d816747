#include "client/net/LineSender.h"

namespace tessaly {

std::optional<std::string> wireBytes(std::string_view text)
{
    const std::size_t nul = text.find('\0');
    if (nul != std::string_view::npos)
        text = text.substr(0, nul);
    if (text.size() > kMaxClientText)
        return std::nullopt;
    std::string bytes(text);
    bytes += '\0';
    return bytes;
}

} // namespace tessaly
