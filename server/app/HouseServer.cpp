#include "server/app/HouseServer.h"

#include "server/db/AccountStore.h"
#include "server/db/PasswordHash.h"
#include "server/game/Room.h"
#include "server/net/EventLoop.h"
#include "server/net/GameServer.h"
#include "server/protocol/Money.h"
#include "server/web/PackageSigner.h"
#include "server/web/WebRoot.h"
#include "server/web/WebServer.h"

#include <csignal>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <mutex>
#include <sstream>

namespace tessaly::house {
namespace {

std::string hostPort(const std::string& address, int port)
{
    return (address.find(':') != std::string::npos ? "[" + address + "]" : address) + ":" + std::to_string(port);
}

std::string statusPage(const RoomStats& s)
{
    std::ostringstream out;
    out << "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>Server status - Tessaly</title></head>\n"
        << "<body style=\"font-family:Verdana,sans-serif\"><h1>Server status</h1>\n"
        << "<p>The game server is up.</p>\n<ul><li>Tables: " << s.tables << "</li><li>Live users: " << s.liveUsers
        << "</li><li>Players logged in: " << s.persons << "</li><li>Hands dealt since start: " << s.hands
        << "</li></ul>\n<p><a href=\"/\">Tessaly home</a></p></body></html>\n";
    return out.str();
}

std::vector<TableConfig> loadTables(const Options& o)
{
    if (o.tablesFile.empty())
        return defaultRoom();
    std::ifstream in(o.tablesFile);
    if (!in)
        throw std::runtime_error("cannot read " + o.tablesFile);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::string error;
    std::vector<TableConfig> tables = parseTables(text, &error);
    if (tables.empty())
        throw std::runtime_error(o.tablesFile + ": " + error);
    return tables;
}

} // namespace

int runHouse(const Options& o)
{
    namespace fs = std::filesystem;
    std::signal(SIGPIPE, SIG_IGN);
    const std::string data = o.dataDir.empty() ? defaultDataDir() : o.dataDir;
    std::error_code ec;
    fs::create_directories(data, ec);
    if (!o.logDir.empty())
        fs::create_directories(o.logDir, ec);
    std::string error;
    if (!prepareWebRoot(data + "/www", &error))
        throw std::runtime_error(error);
    std::vector<TableConfig> tables = loadTables(o);

    EventLoop loop;
    bool stopping = false;
    loop.catchStopSignals([&] {
        stopping = true;
        loop.stop();
    });

    AccountStore accounts(data + "/house.db");
    if (const int recovered = accounts.returnAllSeats())
        std::cerr << "tessaly-house: returned the chips of " << recovered << " seats left from the last run\n";

    ThreadPasswordWork passwords([&loop](std::function<void()> work) { loop.post(std::move(work)); });
    GameServerLimits limits;
    limits.maxQueuedBytes = static_cast<std::size_t>(o.clientQueue);
    GameServer game(loop, limits, o.logDir);

    RoomSettings settings;
    settings.table.fast = o.fast;
    settings.table.pacePercent = o.pacePercent;
    settings.table.turnTimeout = std::chrono::seconds(o.turnTimeoutSeconds);
    settings.table.mixEntropy = !o.seed;
    settings.botsPerTable = o.bots;
    settings.handLimit = o.hands;
    Room room(std::move(tables), settings, accounts, passwords, loop, game,
              o.seed ? RandomStream(*o.seed) : RandomStream());
    game.attach(room);
    room.onHandLimit([&] { loop.stop(); });

    std::mutex statusMutex;
    std::string status = statusPage(room.stats());
    std::function<void()> refreshStatus = [&] {
        {
            std::lock_guard lock(statusMutex);
            status = statusPage(room.stats());
        }
        loop.after(std::chrono::seconds(1), refreshStatus);
    };
    loop.after(std::chrono::seconds(1), refreshStatus);

    const int gamePort = game.listen(o.bind, o.gamePort);
    WebServer web(data + "/www", [&] {
        std::lock_guard lock(statusMutex);
        return status;
    });
    web.acceptCrashReports(data + "/crash-reports");
    const PackageSigner signer = PackageSigner::inDataFolder(data);
    for (const std::string& keys : {data + "/" + kPublicKeyFile, o.updateKeysFile}) {
        if (!keys.empty() && !signer.writePublicKey(keys))
            throw std::runtime_error("cannot write " + keys);
    }
    web.signFiles(signer);
    const int webPort = web.start(o.bind, o.webPort);
    room.startBots();

    std::cout << "listening game " << hostPort(o.bind, gamePort) << " web " << hostPort(o.bind, webPort) << std::endl;
    loop.run();

    room.shutdown();
    game.closeAll(std::chrono::milliseconds(1000));
    web.stop();

    const MoneyTotals t = accounts.totals();
    const RoomStats s = room.stats();
    std::cout << "stopped after " << s.hands << " hands" << (stopping ? " on a signal" : "") << "; "
              << (t.balances + t.seatStacks == t.grants ? "every chip is back in its account" : "CHIPS DO NOT ADD UP")
              << std::endl;
    return t.balances + t.seatStacks == t.grants ? 0 : 1;
}

} // namespace tessaly::house
