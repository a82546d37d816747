#include "server/game/TableChannel.h"

#include "server/protocol/ServerLines.h"

namespace tessaly::house {

void TableChannel::broadcast(const std::string& line)
{
    for (ConnId c : watchers_)
        host_.send(c, line);
}

void TableChannel::sendTo(ConnId conn, const std::string& line)
{
    if (conn != 0)
        host_.send(conn, line);
}

void TableChannel::dealerSays(const std::string& text)
{
    broadcast(lines::chat("Dealer", table_, text));
}

void TableChannel::chat(std::string_view sender, std::string_view text)
{
    broadcast(lines::chat(sender, table_, text));
}

} // namespace tessaly::house
