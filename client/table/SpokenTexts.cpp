#include "client/table/SpokenTexts.h"

#include <algorithm>

#include "client/table/BetPresets.h"
#include "client/table/HandEvents.h"
#include "client/table/TableDescription.h"
#include "client/table/TableState.h"
#include "client/ui/AmountText.h"

namespace tessaly {
namespace {

std::size_t at(int seat) { return static_cast<std::size_t>(seat); }

bool inHand(const TableState& table, int seat)
{
    return std::find(table.playersInHand.begin(), table.playersInHand.end(), seat) != table.playersInHand.end();
}

} // namespace

std::string spokenCards(std::initializer_list<int> codes)
{
    std::string text;
    for (const int code : codes) {
        const std::string name = spokenCardName(code);
        if (!name.empty())
            text += (text.empty() ? "" : ", ") + name;
    }
    return text;
}

std::string myCardsText(const TableState& table)
{
    const std::string cards = table.userSeatedHere == 1 && isSeat(table.userSeat) &&
                                      table.ownCardsLive[at(table.userSeat)] != 0
                                  ? spokenCards({table.ownCards[0], table.ownCards[1]})
                                  : std::string();
    return cards.empty() ? "You hold no cards" : "Your cards: " + cards;
}

std::string boardText(const TableState& table)
{
    const auto& b = table.board;
    const std::string cards = spokenCards({b[0], b[1], b[2], b[3], b[4]});
    return cards.empty() ? "No board cards" : "Board: " + cards;
}

std::string potText(const TableState& table)
{
    std::string text = "Pot " + amountText(potTotal(table));
    if (table.userToAct == 1 && table.callAmount > 0.0f)
        return text + ", to call " + amountText(table.callAmount);
    return text + ", nothing to call";
}

std::string seatText(const TableState& table, int seat)
{
    std::string text = "Seat " + std::to_string(seat + 1) + ": ";
    if (!isSeat(seat) || table.seatOccupied[at(seat)] == 0)
        return text + "empty";
    text += table.playerName[at(seat)].str() + ", " + amountText(table.stack[at(seat)]);
    if (table.userSeatedHere == 1 && seat == table.userSeat)
        text += ", you";
    if (seat == table.dealerSeat)
        text += ", dealer";
    if (table.inFront[at(seat)] > 0.0f)
        text += ", bet " + amountText(table.inFront[at(seat)]);
    if (table.allIn[at(seat)] != 0)
        text += ", all in";
    if (table.seatState[at(seat)] == kSeatSittingOut)
        text += ", sitting out";
    else if (table.handInProgress == 1 && !table.playersInHand.empty() && !inHand(table, seat))
        text += ", folded";
    else if (seat == table.actingSeat)
        text += ", to act";
    return text;
}

std::optional<std::string> promptText(const TableState& table, std::optional<int> seconds)
{
    if (table.userSeatedHere == 1 && table.bragOffered == 1)
        return std::string("You won: show your cards?");
    if (table.userSeatedHere == 1 && table.showLostOffered == 1)
        return std::string("You lost: show or muck your cards?");
    if (table.userSeatedHere != 1 || table.userToAct != 1)
        return std::nullopt;
    const std::string pot = ", pot " + amountText(potTotal(table));
    std::string text;
    switch (table.promptKind) {
    case kPromptCheckOrBet:
        text = "Your turn: check, bet at least " + amountText(table.minRaiseTo) + pot;
        break;
    case kPromptCallOrRaise:
        text = "Your turn: call " + amountText(table.callAmount) + ", raise to at least " +
               amountText(table.minRaiseTo) + pot;
        break;
    case kPromptCallOnly:
        text = "Your turn: call " + amountText(table.callAmount) + " or go all in" + pot;
        break;
    case kPromptAllInOrFold:
        text = "Your turn: all in for " + amountText(table.stack[at(std::clamp(table.userSeat, 0, kSeatCount - 1))]) +
               " or fold" + pot;
        break;
    case kPromptBigBlind: text = "Post the big blind of " + amountText(table.blindAmount) + " or sit out?"; break;
    case kPromptSmallBlind: text = "Post the small blind of " + amountText(table.blindAmount) + " or sit out?"; break;
    default: return std::nullopt;
    }
    if (seconds)
        text += ", " + std::to_string(*seconds) + " seconds";
    return text;
}

std::optional<std::string> spokenEvent(const HandEvent& e, const TableState& table)
{
    const std::string who = e.name.empty() ? "Seat " + std::to_string(e.seat + 1) : e.name;
    const std::string cards = spokenCards({e.cards[0], e.cards[1], e.cards[2]});
    const bool mine = table.userSeatedHere == 1 && e.seat == table.userSeat;
    switch (e.kind) {
    case HandEventKind::Flop: return "Flop: " + cards;
    case HandEventKind::Turn: return "Turn: " + cards;
    case HandEventKind::River: return "River: " + cards;
    case HandEventKind::Shows: return (mine ? std::string("You show ") : who + " shows ") + cards;
    case HandEventKind::Wins: {
        // A single pot goes without its name: "main pot" says nothing then.
        std::string detail = e.detail;
        for (const std::string_view pot : {std::string_view(", main pot"), std::string_view("main pot")})
            if (detail.ends_with(pot))
                detail.erase(detail.size() - pot.size());
        return (mine ? std::string("You win ") : who + " wins ") + amountText(e.amount) +
               (detail.empty() ? "" : (detail.starts_with("with ") ? " " : ", ") + detail);
    }
    case HandEventKind::Returned: return amountText(e.amount) + " returned to " + (mine ? std::string("you") : who);
    case HandEventKind::Cancelled: return std::string("Hand cancelled");
    case HandEventKind::Start:
    case HandEventKind::Dropped: return std::nullopt;
    default: break;
    }
    if (mine)
        return std::nullopt;
    switch (e.kind) {
    case HandEventKind::Post:
        return who + " posts " + (e.detail.empty() ? "" : "the " + e.detail + " ") + amountText(e.amount);
    case HandEventKind::Check: return who + " checks";
    case HandEventKind::Call: return who + " calls " + amountText(e.amount);
    case HandEventKind::Bet: return who + " bets " + amountText(e.amount);
    case HandEventKind::Raise: return who + " raises to " + amountText(e.amount);
    case HandEventKind::AllIn: return who + " goes all in for " + amountText(e.amount);
    case HandEventKind::Fold: return who + " folds";
    default: return std::nullopt;
    }
}

} // namespace tessaly
