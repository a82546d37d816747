#include "client/table/HandEventRules.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "client/table/TableChatRules.h"
#include "client/table/TableState.h"
#include "platform/sys/CLocale.h"

namespace tessaly {
namespace {

HandEvent seatEvent(const TableState& table, HandEventKind kind, int seat)
{
    HandEvent e;
    e.kind = kind;
    e.seat = seat;
    e.name = table.playerName[static_cast<std::size_t>(seat)].str();
    return e;
}

// What an action added to the seat's bet, to the cent: 1.2 - 0.2 in floats
// is 0.99999994, which would show as "1.00" beside a plain "1".
float added(float after, float before) { return std::round((after - before) * 100.0f) / 100.0f; }

float highestBetOfOthers(const TableState& table, int seat)
{
    float highest = 0.0f;
    for (int s = 0; s < kSeatCount; ++s) {
        if (s != seat)
            highest = std::max(highest, table.inFront[static_cast<std::size_t>(s)]);
    }
    return highest;
}

// A bet placed before the deal: the small blind while nothing is in front
// (unless it is more than the table's small blind), the big blind when it
// tops what is in front.
std::string blindName(const TableState& table, int seat, float amount)
{
    const float before = highestBetOfOthers(table, seat);
    const bool bigger = table.smallBlind > 0.0f && amount > table.smallBlind;
    if (before == 0.0f && !bigger)
        return "small blind";
    if (amount > before)
        return "big blind";
    return {};
}

// The amount at the start of text, and where it ends; nullopt for none.
std::optional<float> leadingAmount(std::string_view text, std::size_t& length)
{
    length = decimalNumberLength(text);
    if (length == 0)
        return std::nullopt;
    const std::string number(text.substr(0, length));
    return static_cast<float>(strtodC(number.c_str(), nullptr));
}

// "with a straight (side pot 1)" -> "with a straight, side pot 1".
std::string winDetail(std::string_view rest)
{
    std::string detail;
    const std::size_t open = rest.find(" (");
    const std::string_view hand = rest.substr(0, open);
    const std::size_t with = hand.find("with ");
    if (with != std::string_view::npos)
        detail = hand.substr(with);
    if (open != std::string_view::npos) {
        std::string_view pot = rest.substr(open + 2);
        pot = pot.substr(0, pot.find(')'));
        detail += (detail.empty() ? "" : ", ") + std::string(pot);
    }
    return detail;
}

std::optional<HandEvent> winEvent(const TableState& table, std::string_view text)
{
    constexpr std::string_view kWins = " wins ";
    const std::size_t at = text.find(kWins);
    if (at == std::string_view::npos || at == 0)
        return std::nullopt;
    std::size_t length = 0;
    const std::string_view rest = text.substr(at + kWins.size());
    const std::optional<float> amount = leadingAmount(rest, length);
    if (!amount)
        return std::nullopt;
    HandEvent e;
    e.kind = HandEventKind::Wins;
    e.name = text.substr(0, at);
    e.seat = seatOfName(table, e.name);
    e.amount = *amount;
    e.detail = winDetail(rest.substr(length));
    return e;
}

std::optional<HandEvent> returnedEvent(const TableState& table, std::string_view text)
{
    constexpr std::string_view kReturned = " returned to ";
    const std::size_t at = text.find(kReturned);
    if (at == std::string_view::npos)
        return std::nullopt;
    // The amount is the last word before "returned".
    const std::size_t word = text.substr(0, at).rfind(' ');
    std::size_t length = 0;
    const std::optional<float> amount =
        leadingAmount(text.substr(word == std::string_view::npos ? 0 : word + 1), length);
    if (!amount)
        return std::nullopt;
    HandEvent e;
    e.kind = HandEventKind::Returned;
    e.name = text.substr(at + kReturned.size());
    e.seat = seatOfName(table, e.name);
    e.amount = *amount;
    return e;
}

} // namespace

std::optional<HandEvent> historyEvent(const TableState& table, int seat, int kind, float first, float second)
{
    if (!isSeat(seat))
        return std::nullopt;
    const float before = table.inFront[static_cast<std::size_t>(seat)];
    HandEvent e;
    switch (kind) {
    case kHistoryInFront:
        e = seatEvent(table, HandEventKind::Post, seat);
        e.amount = added(first, before);
        e.detail = blindName(table, seat, first);
        e.inFront = first;
        e.stack = table.stack[static_cast<std::size_t>(seat)] - e.amount;
        return e;
    case kHistoryCall:
        e = seatEvent(table, HandEventKind::Call, seat);
        e.amount = added(first, before);
        e.inFront = first;
        e.stack = second;
        return e;
    case kHistoryRaise:
        // The Bet/Raise word: a raise when any seat has a bet in front.
        e = seatEvent(table, highestBetOfOthers(table, seat) > 0.0f || before > 0.0f ? HandEventKind::Raise
                                                                                     : HandEventKind::Bet,
                      seat);
        e.amount = first;
        e.inFront = first;
        e.stack = second;
        return e;
    case kHistoryAllIn:
        e = seatEvent(table, HandEventKind::AllIn, seat);
        e.amount = first;
        e.inFront = first;
        return e;
    case kHistoryFold:
        e = seatEvent(table, HandEventKind::Fold, seat);
        e.inFront = before;
        e.stack = first;
        return e;
    case kHistoryCheck:
        e = seatEvent(table, HandEventKind::Check, seat);
        e.inFront = before;
        e.stack = first;
        return e;
    default:
        return std::nullopt;
    }
}

std::optional<HandEvent> boardEvent(int code, std::span<const int> cards)
{
    HandEvent e;
    e.kind = code == kBoardFlop ? HandEventKind::Flop : code == kBoardTurn ? HandEventKind::Turn : HandEventKind::River;
    const std::size_t count = code == kBoardFlop ? 3 : 1;
    if ((code != kBoardFlop && code != kBoardTurn && code != kBoardRiver) || cards.size() < count)
        return std::nullopt;
    for (std::size_t i = 0; i < count; ++i)
        e.cards[i] = static_cast<std::int8_t>(cards[i]);
    return e;
}

HandEvent showEvent(const TableState& table, int seat, int card1, int card2)
{
    HandEvent e = seatEvent(table, HandEventKind::Shows, seat);
    e.cards[0] = static_cast<std::int8_t>(card1);
    e.cards[1] = static_cast<std::int8_t>(card2);
    return e;
}

std::optional<HandEvent> dealerEvent(const TableState& table, std::string_view text)
{
    if (auto win = winEvent(table, text))
        return win;
    if (auto back = returnedEvent(table, text))
        return back;
    if (text.find("cancelled") != std::string_view::npos) {
        HandEvent e;
        e.kind = HandEventKind::Cancelled;
        return e;
    }
    return std::nullopt;
}

int announcedHandNumber(std::string_view text)
{
    if (text.find("hand starting") == std::string_view::npos)
        return 0;
    char* end = nullptr;
    const std::string first(text.substr(0, text.find(' ')));
    const long number = strtolC(first.c_str(), &end);
    return end != first.c_str() && number > 0 && number <= 2147483647L ? static_cast<int>(number) : 0;
}

bool isDealer(std::string_view sender) { return chatLineKind(sender, {}) != ChatLineKind::Player; }

int seatOfName(const TableState& table, std::string_view name)
{
    for (int s = 0; s < kSeatCount; ++s) {
        const auto at = static_cast<std::size_t>(s);
        if (table.seatOccupied[at] == 1 && table.playerName[at].str() == name)
            return s;
    }
    return kNoSeat;
}

} // namespace tessaly
