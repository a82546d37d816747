#pragma once
// The lobby's fixed texts and the formats filled from session values.

#include <string>

namespace tessaly {

inline constexpr const char* kLobbyCaption = " Tessaly - Welcome to The World's Greatest Poker Room !!!";
inline constexpr const char* kLobbyWelcomeLine = "Welcome to the Tessaly Gaming Network, have fun and good luck.";

// "Server time: %s CT %d live users on %d tables."
std::string serverStatusLine(const std::string& serverTime, int liveUsers, int liveTables);

// " Welcome to Tessaly Lobby Good Luck %s !!!", once logged in.
std::string loggedInCaption(const std::string& screenName);

// A table window's caption: with the screen name when logged in
// ("  Room: %s (%s) %s - Good Luck %s!"), else "  Room: %s - (%s) %s - Good Luck!".
std::string tableWindowCaption(const std::string& tableName, const std::string& stakes, int gameType,
                               bool loggedIn, const std::string& screenName);

// The "Client Version" box: "Client Version: %g\r" (6.7 -> "Client Version: 6.7\r").
std::string clientVersionBoxText(double version);
// The about box's version field: "%.2f" (6.7 -> "6.70").
std::string aboutVersionText(double version);

} // namespace tessaly
