#include "server/protocol/ClientRequest.h"

#include <array>
#include <utility>

namespace tessaly::house {
namespace {

constexpr std::array<std::pair<std::string_view, Request>, 21> kKeywords{{
    {"LOGIN:", Request::Login},
    {"REGISTER_PLAYER:", Request::Register},
    {"LIST_TABLES", Request::ListTables},
    {"REQUEST_PLAYERS:", Request::RequestPlayers},
    {"WATCH_TABLE:", Request::WatchTable},
    {"JOIN_GAME:", Request::JoinGame},
    {"ACCOUNT_BALANCE_PM:", Request::AccountBalance},
    {"REPLY:", Request::Reply},
    {"xPBB:", Request::PostBigBlind},
    {"xPSB:", Request::PostSmallBlind},
    {"NO_POST:", Request::NoPost},
    {"BRAG_OKAY:", Request::BragOkay},
    {"SHOW_LOST:", Request::ShowLost},
    {"DEAL_ME_OUT:", Request::DealMeOut},
    {"IM_BACK:", Request::ImBack},
    {"CLOSE_WINDOW:", Request::CloseWindow},
    {"SEND_MESSAGE:", Request::SendMessage},
    {"ENTROPY:", Request::Entropy},
    {"QUICK_CASHIER:", Request::QuickCashier},
    {"QUICK_CHIPS:", Request::QuickChips},
    {"RELOAD_MONEY", Request::ReloadMoney},
}};

} // namespace

ClientLine parseClientLine(std::string_view line)
{
    ClientLine out;
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    out.text = line;
    const std::size_t tab = line.find('\t');
    const std::string_view keyword = line.substr(0, tab);
    for (const auto& [word, kind] : kKeywords) {
        if (word == keyword)
            out.kind = kind;
    }
    if (out.kind == Request::Unknown || tab == std::string_view::npos)
        return out;
    std::string_view rest = line.substr(tab + 1);
    for (;;) {
        const std::size_t next = rest.find('\t');
        out.fields.push_back(rest.substr(0, next));
        if (next == std::string_view::npos)
            break;
        rest.remove_prefix(next + 1);
    }
    return out;
}

std::string_view chatTextOf(const ClientLine& line)
{
    std::string_view rest = line.text;
    for (int i = 0; i < 3; ++i) {
        const std::size_t tab = rest.find('\t');
        if (tab == std::string_view::npos)
            return {};
        rest.remove_prefix(tab + 1);
    }
    if (!rest.empty() && rest.back() == '\t')
        rest.remove_suffix(1);
    return rest;
}

} // namespace tessaly::house
