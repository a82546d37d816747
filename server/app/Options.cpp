#include "server/app/Options.h"

#include "platform/sys/CLocale.h"

#include <cstdlib>
#include <functional>
#include <map>

namespace tessaly::house {
namespace {

std::optional<long long> number(const std::string& text, long long lo, long long hi)
{
    if (text.empty())
        return std::nullopt;
    char* end = nullptr;
    const long v = tessaly::strtolC(text.c_str(), &end);
    if (*end != '\0' || v < lo || v > hi)
        return std::nullopt;
    return v;
}

} // namespace

std::string usageText()
{
    return "Usage: tessaly-house [options]\n"
           "  --bind ADDR            address of both ports (default 127.0.0.1)\n"
           "  --game-port N          game server port (default 8501; 0 picks a free one)\n"
           "  --web-port N           web server port (default 8580; 0 picks a free one)\n"
           "  --data DIR             database and web root (default " + defaultDataDir() + ")\n"
           "  --tables FILE          the room's tables instead of the built-in eight\n"
           "  --bots N               bots per table (default 3)\n"
           "  --seed S               deterministic decks and bots\n"
           "  --turn-timeout SECONDS a person's time to act (default 20)\n"
           "  --fast                 bots act at once, the dealer does not pause\n"
           "  --pace PERCENT         dealer pauses and bots' thinking at PERCENT of their length (1-100)\n"
           "  --log DIR              per connection: transcript and raw bytes sent\n"
           "  --hands N              stop after N hands in all\n"
           "  --client-queue BYTES   drop a client that leaves more unsent (default 4194304)\n"
           "  --update-keys FILE     also write the public key of the packages' signatures there\n"
           "                         (the client's install: FOLDER/update-keys.pub)\n"
           "  --help                 this text\n"
           "Prints \"listening game ADDR:PORT web ADDR:PORT\" once both ports listen;\n"
           "SIGINT and SIGTERM return every chip to its account and stop.\n";
}

std::string defaultDataDir()
{
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg)
        return std::string(xdg) + "/tessaly-house";
    if (const char* home = std::getenv("HOME"); home && *home)
        return std::string(home) + "/.local/share/tessaly-house";
    return "tessaly-house-data";
}

std::optional<Options> parseOptions(const std::vector<std::string>& args, std::string* error)
{
    Options o;
    const auto fail = [&](const std::string& why) {
        if (error)
            *error = why;
        return std::nullopt;
    };
    using Setter = std::function<bool(const std::string&)>;
    const auto port = [](int& target) {
        return Setter([&target](const std::string& v) {
            const auto n = number(v, 0, 65535);
            return n ? (target = static_cast<int>(*n), true) : false;
        });
    };
    const auto text = [](std::string& target) {
        return Setter([&target](const std::string& v) { return !v.empty() && (target = v, true); });
    };
    const std::map<std::string, Setter> withValue{
        {"--bind", text(o.bind)},
        {"--game-port", port(o.gamePort)},
        {"--web-port", port(o.webPort)},
        {"--data", text(o.dataDir)},
        {"--tables", text(o.tablesFile)},
        {"--log", text(o.logDir)},
        {"--update-keys", text(o.updateKeysFile)},
        {"--bots", [&](const std::string& v) {
             const auto n = number(v, 0, 9);
             return n ? (o.bots = static_cast<int>(*n), true) : false;
         }},
        {"--seed", [&](const std::string& v) { return !v.empty() && (o.seed = v, true); }},
        {"--turn-timeout", [&](const std::string& v) {
             const auto n = number(v, 1, 3600);
             return n ? (o.turnTimeoutSeconds = static_cast<int>(*n), true) : false;
         }},
        {"--pace", [&](const std::string& v) {
             const auto n = number(v, 1, 100);
             return n ? (o.pacePercent = static_cast<int>(*n), true) : false;
         }},
        {"--hands", [&](const std::string& v) {
             const auto n = number(v, 1, 1000000000);
             return n ? (o.hands = *n, true) : false;
         }},
        {"--client-queue", [&](const std::string& v) {
             const auto n = number(v, 65536, 1LL << 30);
             return n ? (o.clientQueue = *n, true) : false;
         }},
    };
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string name = args[i];
        std::optional<std::string> value;
        if (const std::size_t eq = name.find('='); eq != std::string::npos && name.rfind("--", 0) == 0) {
            value = name.substr(eq + 1);
            name.erase(eq);
        }
        if (name == "--fast" || name == "--help" || name == "-h") {
            if (value)
                return fail(name + " takes no value");
            (name == "--fast" ? o.fast : o.help) = true;
            continue;
        }
        const auto it = withValue.find(name);
        if (it == withValue.end())
            return fail("unknown option " + name);
        if (!value) {
            if (i + 1 >= args.size())
                return fail(name + " needs a value");
            value = args[++i];
        }
        if (!it->second(*value))
            return fail("bad value for " + name + ": " + *value);
    }
    return o;
}

} // namespace tessaly::house
