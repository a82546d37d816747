#pragma once
// "--log DIR": per connection, a readable transcript of every message in
// and out with its time, and the raw bytes sent to that client exactly as
// they went, for the client's replay tool.

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

namespace tessaly::house {

class ConnectionLog {
public:
    // Files DIR/conn-<id>.txt and DIR/conn-<id>.raw; a log that cannot be
    // opened stays silent.
    ConnectionLog(const std::string& dir, std::uint64_t id, const std::string& peer);
    ~ConnectionLog();
    ConnectionLog(const ConnectionLog&) = delete;
    ConnectionLog& operator=(const ConnectionLog&) = delete;

    void received(std::string_view message);
    void sent(std::string_view line);
    void note(std::string_view text);

    // Tabs, carriage returns and other control bytes as escapes; the
    // password fields of a login or a registration as stars.
    static std::string readable(std::string_view line, bool incoming);

private:
    void write(char direction, std::string_view text);

    std::FILE* text_ = nullptr;
    std::FILE* raw_ = nullptr;
};

} // namespace tessaly::house
