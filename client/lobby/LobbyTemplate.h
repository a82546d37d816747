#pragma once
// The lobby window as data: dialog 102 with its controls, and menu 129.

#include "platform/gui/DialogTemplate.h"

namespace tessaly::lobby {

// Controls of dialog 102.
enum Control : int {
    kBanner = 1077,
    kTableList = 1000,
    kPlayerList = 1001,
    kEmptyBox = 1076,
    kLoginButton = 1006,
    kLogoutButton = 1011,
    kSignupButton = 1078,
    kMyAccountButton = 1035,
    kCashierButton = 1002,
    kRefreshButton = 1005,
    kHelpButton = 1003,
    kSecuritySpot = 1010,
    kAboutUsSpot = 1004,
};

// Commands of menu 129, and the window menu's About entry.
enum Command : int {
    kMyAccountSite = 139,
    kChangeEmail = 32810,
    kLoginCommand = 142,
    kHandHistories = 32811,   // the folder of the hand histories
    kLogoffAndExit = 144,
    kGoToCashier = 146,
    kMakeDeposit = 147,
    kCashOut = 148,
    kTransferFunds = 164,
    kPreviousTransactions = 32791,
    kDisableSounds = 151,
    kChangeCardImage = 32780,
    kDrawSmileys = 32799,
    kKeyboard = 32830,
    kSpeakTableEvents = 32831,
    kComingSoon = 32806,
    kPressReleases = 32807,
    kSoftwareNotes = 32808,
    kNetworkMonitor = 137,
    kHowToPlay = 32773,
    kFrequentlyAskedQuestions = 32784,
    kEmailUs = 32786,
    kTellAFriend = 32793,
    kCheckServerStatus = 32809,
    kSoftwareProvider = 131,
    kSecurity = 132,
    kAffiliatePrograms = 32777,
    kLegalInformation = 32783,
    kSystemInformation = 32785,
    kClientVersionCommand = 32788,
    kAboutTessaly = 32805,
    kWindowMenuAbout = 16,
};

// String resource 101: the window menu's About entry.
inline constexpr const char* kAboutMenuText = "&About Tessaly...";

const MenuTemplate& lobbyMenu();
const DialogTemplate& lobbyTemplate();

} // namespace tessaly::lobby
