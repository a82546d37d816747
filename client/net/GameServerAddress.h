#pragma once
// Where the game server is: the build's defaults, overridden by the
// environment (TESSALY_GAME_HOST, TESSALY_GAME_PORT).

#include <cstdint>
#include <string>

namespace tessaly {

struct GameServerAddress {
    std::string host;
    std::uint16_t port = 0;
};

// host: TESSALY_GAME_HOST when set and not empty; port: TESSALY_GAME_PORT
// when it is a whole number from 1 to 65535, else the default (with a trace).
GameServerAddress gameServerAddress();

// The same rule over given values, for tests: nullptr means unset.
GameServerAddress gameServerAddress(const char* hostVariable, const char* portVariable);

} // namespace tessaly
