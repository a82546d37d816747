#include "client/table/HandHistory.h"

#include <algorithm>
#include <map>

#include "client/table/TableState.h"
#include "client/ui/AmountText.h"
#include "platform/sys/CLocale.h"

namespace tessaly {
namespace {

std::size_t at(int seat) { return static_cast<std::size_t>(seat); }

// The seats in the order PHH numbers players: the first after the button
// first, the button last.
std::vector<std::int32_t> playerOrder(const HandRecord& hand)
{
    std::vector<std::int32_t> order = hand.seats;
    std::sort(order.begin(), order.end());
    const auto after = std::find_if(order.begin(), order.end(), [&](int s) { return s > hand.dealerSeat; });
    std::rotate(order.begin(), after, order.end());
    return order;
}

std::string tomlString(std::string_view text)
{
    std::string out = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\')
            out += '\\';
        if (static_cast<unsigned char>(c) < 0x20)
            out += formatC("\\u%04x", static_cast<unsigned>(c));
        else
            out += c;
    }
    return out + '"';
}

template <class T, class Show>
std::string tomlArray(const std::vector<T>& values, Show show)
{
    std::string out = "[";
    for (std::size_t i = 0; i < values.size(); ++i)
        out += (i == 0 ? "" : ", ") + show(values[i]);
    return out + "]";
}

std::string money(float amount) { return amountText(amount); }

std::string cardsOf(const HandEvent& e)
{
    std::string out;
    for (const std::int8_t card : e.cards) {
        if (card != kNoCard)
            out += phhCard(card);
    }
    return out;
}

std::string variantOf(int gameType)
{
    return gameType == kGameNoLimit ? "NT" : gameType == kGamePotLimit ? "PO" : "FT";
}

// The actions after the deal of the hole cards, street by street. An
// all-in is a raise when it tops every other bet of the street, else a call.
std::vector<std::string> playerActions(const HandRecord& hand, const std::map<int, std::string>& player)
{
    std::vector<std::string> actions;
    PerSeat<float> bets{};
    const auto highestOther = [&](int seat) {
        float highest = 0.0f;
        for (int s = 0; s < kSeatCount; ++s) {
            if (s != seat)
                highest = std::max(highest, bets[at(s)]);
        }
        return highest;
    };
    for (const HandEvent& e : hand.events) {
        const auto p = player.find(e.seat);
        const bool seated = p != player.end();
        switch (e.kind) {
        case HandEventKind::Post:
            if (seated)
                bets[at(e.seat)] = e.inFront;
            break;
        case HandEventKind::Check:
        case HandEventKind::Call:
            if (seated)
                actions.push_back(p->second + " cc");
            break;
        case HandEventKind::Bet:
        case HandEventKind::Raise:
        case HandEventKind::AllIn:
            if (!seated)
                break;
            actions.push_back(e.kind == HandEventKind::AllIn && e.inFront <= highestOther(e.seat)
                                  ? p->second + " cc"
                                  : p->second + " cbr " + money(e.inFront));
            bets[at(e.seat)] = e.inFront;
            break;
        case HandEventKind::Fold:
            if (seated)
                actions.push_back(p->second + " f");
            break;
        case HandEventKind::Flop:
        case HandEventKind::Turn:
        case HandEventKind::River:
            bets.fill(0.0f);
            actions.push_back("d db " + cardsOf(e));
            break;
        case HandEventKind::Shows:
            if (seated)
                actions.push_back(p->second + " sm " + cardsOf(e));
            break;
        default:
            break;
        }
    }
    return actions;
}

} // namespace

void HandHistoryRecorder::take(const TableState& table, const HandEvent& event)
{
    if (event.kind == HandEventKind::Start) {
        // A hand whose end never came is closed by the next one.
        if (recording_)
            finish(table);
        begin(table, event.hand);
        return;
    }
    if (!recording_)
        return;
    current_.events.push_back(event);
    if (event.kind == HandEventKind::Cancelled) {
        current_.cancelled = true;
        finish(table);
    } else if (event.kind == HandEventKind::Wins) {
        winnersKnown_ = true;
        potsChanged(table);
    }
}

void HandHistoryRecorder::potsChanged(const TableState& table)
{
    if (recording_ && winnersKnown_ &&
        std::all_of(table.pots.begin(), table.pots.end(), [](float pot) { return pot == 0.0f; }))
        finish(table);
}

void HandHistoryRecorder::begin(const TableState& table, std::int32_t hand)
{
    current_ = HandRecord{};
    current_.hand = hand;
    current_.tableName = table.tableName.str();
    current_.gameType = table.gameType;
    current_.seatCount = table.seatCount;
    current_.smallBlind = table.smallBlind;
    current_.bigBlind = table.bigBlind;
    current_.seats = table.playersInHand;
    std::sort(current_.seats.begin(), current_.seats.end());
    for (const int seat : current_.seats) {
        current_.names.push_back(table.playerName[at(seat)].str());
        current_.startingStacks.push_back(table.stack[at(seat)]);
    }
    recording_ = true;
    winnersKnown_ = false;
}

void HandHistoryRecorder::finish(const TableState& table)
{
    current_.dealerSeat = table.dealerSeat;
    for (const int seat : current_.seats) {
        current_.finishingStacks.push_back(table.stack[at(seat)]);
        std::array<std::int32_t, 2> cards{kNoCard, kNoCard};
        if (table.ownCardSeat[at(seat)] == 1) {
            current_.userSeat = seat;
            cards = {table.ownCards[0], table.ownCards[1]};
        }
        for (const HandEvent& e : current_.events) {
            if (e.kind == HandEventKind::Shows && e.seat == seat)
                cards = {e.cards[0], e.cards[1]};
        }
        current_.holeCards.push_back(cards);
    }
    if (finished.size() == kMaxWaitingHandRecords)
        finished.pop_front();
    finished.push_back(std::move(current_));
    current_ = HandRecord{};
    recording_ = false;
    winnersKnown_ = false;
}

std::string phhCard(int code)
{
    if (code < 0 || code >= kCardCount)
        return "??";
    static constexpr char kRanks[] = "23456789TJQKA";
    static constexpr char kSuits[] = "dhcs";
    return {kRanks[code / 4], kSuits[code % 4]};
}

std::string phhSection(const HandRecord& hand, const HandStamp& when)
{
    const std::vector<std::int32_t> order = playerOrder(hand);
    std::map<int, std::string> player;
    std::map<int, std::size_t> column;
    for (std::size_t i = 0; i < hand.seats.size(); ++i)
        column[hand.seats[i]] = i;
    for (std::size_t i = 0; i < order.size(); ++i)
        player[order[i]] = "p" + std::to_string(i + 1);

    std::vector<float> blinds(order.size(), 0.0f);
    std::vector<float> winnings(order.size(), 0.0f);
    for (const HandEvent& e : hand.events) {
        const auto found = std::find(order.begin(), order.end(), e.seat);
        if (found == order.end())
            continue;
        const auto i = static_cast<std::size_t>(found - order.begin());
        if (e.kind == HandEventKind::Post)
            blinds[i] = e.inFront;
        else if (e.kind == HandEventKind::Wins)
            winnings[i] += e.amount;
    }
    // Heads-up, the field lists the blinds the other way round.
    if (order.size() == 2)
        std::swap(blinds[0], blinds[1]);

    const auto byOrder = [&](const auto& values) {
        using Value = typename std::decay_t<decltype(values)>::value_type;
        std::vector<Value> out;
        for (const int seat : order)
            out.push_back(values[column[seat]]);
        return out;
    };
    std::vector<std::string> actions;
    for (const int seat : order) {
        const auto& cards = hand.holeCards[column[seat]];
        const bool known = cards[0] != kNoCard && cards[1] != kNoCard;
        actions.push_back("d dh " + player[seat] + " " + (known ? phhCard(cards[0]) + phhCard(cards[1]) : "????"));
    }
    for (std::string& action : playerActions(hand, player))
        actions.push_back(std::move(action));

    const std::string variant = variantOf(hand.gameType);
    std::string out = formatC("[hand_%d_%02d%02d%02d]\n", hand.hand, when.hour, when.minute, when.second);
    out += "variant = \"" + variant + "\"\n";
    out += "antes = " + tomlArray(std::vector<float>(order.size(), 0.0f), money) + "\n";
    out += "blinds_or_straddles = " + tomlArray(blinds, money) + "\n";
    if (variant == "FT")
        out += "small_bet = " + money(hand.bigBlind) + "\nbig_bet = " + money(2 * hand.bigBlind) + "\n";
    else
        out += "min_bet = " + money(hand.bigBlind) + "\n";
    out += "starting_stacks = " + tomlArray(byOrder(hand.startingStacks), money) + "\n";
    out += "actions = " + tomlArray(actions, [](const std::string& a) { return tomlString(a); }) + "\n";
    out += "players = " + tomlArray(byOrder(hand.names), [](const std::string& n) { return tomlString(n); }) + "\n";
    std::vector<std::int32_t> seatNumbers;
    for (const int seat : order)
        seatNumbers.push_back(seat + 1);
    out += "seats = " + tomlArray(seatNumbers, [](int s) { return std::to_string(s); }) + "\n";
    out += "seat_count = " + std::to_string(hand.seatCount) + "\n";
    out += "finishing_stacks = " + tomlArray(byOrder(hand.finishingStacks), money) + "\n";
    out += "winnings = " + tomlArray(winnings, money) + "\n";
    out += "table = " + tomlString(hand.tableName) + "\n";
    out += "hand = " + std::to_string(hand.hand) + "\n";
    out += formatC("year = %d\nmonth = %d\nday = %d\ntime = %02d:%02d:%02d\n\n", when.year, when.month, when.day,
                   when.hour, when.minute, when.second);
    return out;
}

} // namespace tessaly
