#include "client/lobby/LobbyTexts.h"

#include "client/table/TableTexts.h"
#include "platform/sys/CLocale.h"

namespace tessaly {

std::string serverStatusLine(const std::string& serverTime, int liveUsers, int liveTables)
{
    return formatC("Server time: %s CT %d live users on %d tables.", serverTime.c_str(), liveUsers, liveTables);
}

std::string loggedInCaption(const std::string& screenName)
{
    return formatC(" Welcome to Tessaly Lobby Good Luck %s !!!", screenName.c_str());
}

std::string tableWindowCaption(const std::string& tableName, const std::string& stakes, int gameType,
                               bool loggedIn, const std::string& screenName)
{
    if (loggedIn)
        return formatC("  Room: %s (%s) %s - Good Luck %s!", tableName.c_str(), stakes.c_str(),
                       gameTypeText(gameType), screenName.c_str());
    return formatC("  Room: %s - (%s) %s - Good Luck!", tableName.c_str(), stakes.c_str(), gameTypeText(gameType));
}

std::string clientVersionBoxText(double version)
{
    return formatC("Client Version: %g\r", version);
}

std::string aboutVersionText(double version)
{
    return formatC("%.2f", version);
}

} // namespace tessaly
