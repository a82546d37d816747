#include "client/lobby/LobbyTemplate.h"

#include "client/lobby/LobbyTexts.h"

namespace tessaly::lobby {
namespace {

const MenuItem kSeparator{.separator = true};

const MenuTemplate kMenu{
    .resource = 129,
    .items = {
        {.text = "&My Account",
         .items = {{.text = "My Account (Website)", .id = kMyAccountSite},
                   {.text = "Change E-Mail", .id = kChangeEmail, .grayed = true},
                   {.text = "Login", .id = kLoginCommand},
                   {.text = "Hand Histories...", .id = kHandHistories},
                   kSeparator,
                   {.text = "Logoff and Exit", .id = kLogoffAndExit}}},
        {.text = "&Banking",
         .items = {{.text = "Go to Cashier", .id = kGoToCashier},
                   kSeparator,
                   {.text = "Make A Deposit", .id = kMakeDeposit, .grayed = true},
                   {.text = "Cash Out", .id = kCashOut, .grayed = true},
                   {.text = "Transfer Funds", .id = kTransferFunds, .grayed = true},
                   {.text = "Previous Transactions", .id = kPreviousTransactions, .grayed = true}}},
        {.text = "&Options",
         .items = {{.text = "Disable Sounds", .id = kDisableSounds},
                   {.text = "Change Card Image", .id = kChangeCardImage, .grayed = true},
                   {.text = "Draw smiley's (chat box)", .id = kDrawSmileys, .checked = true},
                   kSeparator,
                   {.text = "Keyboard...", .id = kKeyboard},
                   {.text = "Speak table events", .id = kSpeakTableEvents}}},
        {.text = "&Game Rules", .items = {{.text = "Coming Soon!", .id = kComingSoon}}},
        {.text = "A&nnouncements",
         .items = {{.text = "Press Releases", .id = kPressReleases, .grayed = true},
                   {.text = "Software Notes", .id = kSoftwareNotes}}},
        {.text = "&Help",
         .items = {{.text = "Network Status Monitor...", .id = kNetworkMonitor},
                   kSeparator,
                   {.text = "How To Play", .id = kHowToPlay, .grayed = true},
                   {.text = "Frequently Asked Questions", .id = kFrequentlyAskedQuestions, .grayed = true},
                   kSeparator,
                   {.text = "E-Mail Us", .id = kEmailUs},
                   {.text = "Tell-A-Friend", .id = kTellAFriend}}},
        {.text = "&Server Status", .items = {{.text = "Check Server Status", .id = kCheckServerStatus}}},
        {.text = "&About Us",
         .items = {{.text = "Software Provider", .id = kSoftwareProvider},
                   {.text = "Security", .id = kSecurity},
                   {.text = "Affiliate Programs", .id = kAffiliatePrograms, .grayed = true},
                   {.text = "Legal Information", .id = kLegalInformation, .grayed = true},
                   kSeparator,
                   {.text = "Your System Information", .id = kSystemInformation},
                   {.text = "Client Version", .id = kClientVersionCommand},
                   {.text = "About Tessaly...", .id = kAboutTessaly}}},
    }};

// The list views take no header clicks: the table list has no sorting.
const DialogTemplate kLobby{
    .resource = 102,
    .caption = kLobbyCaption,
    .width = 531,
    .height = 301,
    .flags = dlg::SystemMenu | dlg::MinimizeBox | dlg::HandCursorOverButtons,
    .menu = &kMenu,
    .controls = {
        {.id = kBanner, .kind = ControlKind::LinkTicker, .rect = {0, 0, 531, 12}},
        {.id = kTableList, .kind = ControlKind::ListView, .rect = {10, 96, 374, 168},
         .flags = ctl::SingleSelection | ctl::NoHeaderClick},
        {.id = kPlayerList, .kind = ControlKind::ListView, .rect = {395, 98, 127, 100}, .flags = ctl::NoHeaderClick},
        {.id = kEmptyBox, .kind = ControlKind::ListView, .rect = {396, 221, 127, 47}, .flags = ctl::NoHeaderClick},
        {.id = kLoginButton, .kind = ControlKind::SkinButton, .rect = {7, 272, 48, 14}, .text = "Login"},
        {.id = kLogoutButton, .kind = ControlKind::SkinButton, .rect = {7, 272, 47, 14}, .text = "Logout ON TOP",
         .flags = ctl::Hidden},
        {.id = kSignupButton, .kind = ControlKind::SkinButton, .rect = {81, 272, 51, 14}, .text = "Signup"},
        {.id = kMyAccountButton, .kind = ControlKind::SkinButton, .rect = {81, 272, 51, 14}, .text = "MyACcount TOP",
         .flags = ctl::Hidden},
        {.id = kCashierButton, .kind = ControlKind::SkinButton, .rect = {150, 272, 50, 14}, .text = "Cashier"},
        {.id = kRefreshButton, .kind = ControlKind::SkinButton, .rect = {219, 272, 75, 14}, .text = "Refresh"},
        {.id = kHelpButton, .kind = ControlKind::SkinButton, .rect = {306, 272, 50, 14}, .text = "Help"},
        {.id = kSecuritySpot, .kind = ControlKind::HotSpotButton, .rect = {397, 281, 50, 14}},
        {.id = kAboutUsSpot, .kind = ControlKind::HotSpotButton, .rect = {455, 281, 69, 14}},
    }};

} // namespace

const MenuTemplate& lobbyMenu() { return kMenu; }
const DialogTemplate& lobbyTemplate() { return kLobby; }

} // namespace tessaly::lobby
