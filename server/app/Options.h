#pragma once
// The command line of tessaly-house.

#include <optional>
#include <string>
#include <vector>

namespace tessaly::house {

struct Options {
    std::string bind = "127.0.0.1";
    int gamePort = 8501;
    int webPort = 8580;
    std::string dataDir;    // empty: the default under the user's data directory
    std::string tablesFile; // empty: the built-in room
    int bots = 3;
    std::optional<std::string> seed;
    int turnTimeoutSeconds = 20;
    bool fast = false;
    int pacePercent = 100; // dealer pauses and bots' thinking, in percent
    std::string logDir;
    std::string updateKeysFile; // empty: the public key goes only to DATA/update-keys.pub
    long long hands = 0; // stop after this many hands (0: run until a signal)
    long long clientQueue = 4 << 20; // unsent bytes a client may have before it is dropped
    bool help = false;
};

// nullopt with error filled in for a bad command line.
std::optional<Options> parseOptions(const std::vector<std::string>& args, std::string* error);

std::string usageText();

// $XDG_DATA_HOME/tessaly-house, else ~/.local/share/tessaly-house.
std::string defaultDataDir();

} // namespace tessaly::house
