#include "client/net/LineAssembler.h"

#include "platform/sys/Trace.h"

namespace tessaly {

void LineAssembler::append(const char* data, std::size_t size)
{
    if (dropping_ || size == 0)
        return;
    if (size > kMaxLine - fill_) {
        trace("server line longer than %zu bytes dropped", kMaxLine);
        dropping_ = true;
        fill_ = 0;
        return;
    }
    std::memcpy(line_.data() + fill_, data, size);
    fill_ += size;
}

} // namespace tessaly
