#pragma once
// A LineSender for tests: keeps every text it is asked to send, in order.

#include <string>
#include <string_view>
#include <vector>

#include "client/net/LineSender.h"

namespace tessaly {

class RecordingSender final : public LineSender {
public:
    void sendLine(std::string_view text) override { lines.emplace_back(text); }
    std::vector<std::string> lines;
};

} // namespace tessaly
