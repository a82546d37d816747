#include "client/net/GameServerAddress.h"

#include <cstdlib>

#include "platform/sys/CLocale.h"
#include "platform/sys/Trace.h"

#ifndef TESSALY_GAME_HOST_DEFAULT
#define TESSALY_GAME_HOST_DEFAULT "127.0.0.1"
#endif
#ifndef TESSALY_GAME_PORT_DEFAULT
#define TESSALY_GAME_PORT_DEFAULT 8501
#endif

namespace tessaly {

GameServerAddress gameServerAddress(const char* hostVariable, const char* portVariable)
{
    GameServerAddress address{TESSALY_GAME_HOST_DEFAULT, TESSALY_GAME_PORT_DEFAULT};
    if (hostVariable != nullptr && *hostVariable != '\0')
        address.host = hostVariable;
    if (portVariable != nullptr && *portVariable != '\0') {
        char* end = nullptr;
        const long port = strtolC(portVariable, &end);
        if (end != portVariable && *end == '\0' && port >= 1 && port <= 65535)
            address.port = static_cast<std::uint16_t>(port);
        else
            trace("TESSALY_GAME_PORT \"%s\" is not a port; using %u", portVariable, unsigned{address.port});
    }
    return address;
}

GameServerAddress gameServerAddress()
{
    return gameServerAddress(std::getenv("TESSALY_GAME_HOST"), std::getenv("TESSALY_GAME_PORT"));
}

} // namespace tessaly
