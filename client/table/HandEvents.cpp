#include "client/table/HandEvents.h"

#include <algorithm>

#include "client/ui/AmountText.h"

namespace tessaly {
namespace {

std::string seatText(const HandEvent& e)
{
    std::string text = "seat " + std::to_string(e.seat + 1);
    if (!e.name.empty())
        text += " (" + e.name + ")";
    return text;
}

std::string cardsText(const HandEvent& e)
{
    std::string text;
    for (const std::int8_t card : e.cards) {
        const std::string one = cardText(card);
        if (!one.empty())
            text += (text.empty() ? "" : " ") + one;
    }
    return text;
}

std::string droppedText(const HandEvent& e)
{
    std::string text = e.count == 1 ? std::string(e.hand != 0 ? "hand" : "a hand")
                                    : std::to_string(e.count) + " hands";
    if (e.hand != 0)
        text += (e.count == 1 ? " " : " from hand ") + std::to_string(e.hand);
    return text + " dropped from the log: the table's lines came faster than they were shown";
}

} // namespace

std::string cardText(int code)
{
    if (code < 0 || code >= kCardCount)
        return {};
    static constexpr std::array<const char*, 13> kRanks{"2", "3", "4", "5", "6", "7", "8",
                                                        "9", "10", "J", "Q", "K", "A"};
    static constexpr std::array<const char*, 4> kSuits{"\u2666", "\u2665", "\u2663", "\u2660"};
    return std::string(kRanks[static_cast<std::size_t>(code / 4)]) + kSuits[static_cast<std::size_t>(code % 4)];
}

std::string handEventText(const HandEvent& e)
{
    switch (e.kind) {
    case HandEventKind::Start:
        return e.hand != 0 ? "hand " + std::to_string(e.hand) : "new hand";
    case HandEventKind::Post:
        return seatText(e) + " posts " + (e.detail.empty() ? "" : "the " + e.detail + " ") + amountText(e.amount);
    case HandEventKind::Check: return seatText(e) + " checks";
    case HandEventKind::Call: return seatText(e) + " calls " + amountText(e.amount);
    case HandEventKind::Bet: return seatText(e) + " bets " + amountText(e.amount);
    case HandEventKind::Raise: return seatText(e) + " raises to " + amountText(e.amount);
    case HandEventKind::AllIn: return seatText(e) + " goes all-in for " + amountText(e.amount);
    case HandEventKind::Fold: return seatText(e) + " folds";
    case HandEventKind::Flop: return "flop " + cardsText(e);
    case HandEventKind::Turn: return "turn " + cardsText(e);
    case HandEventKind::River: return "river " + cardsText(e);
    case HandEventKind::Shows: return seatText(e) + " shows " + cardsText(e);
    case HandEventKind::Returned: return "uncalled " + amountText(e.amount) + " returned to " + e.name;
    case HandEventKind::Wins:
        // "with a straight, main pot" follows with a blank, a lone "main pot" with a comma.
        return e.name + " wins " + amountText(e.amount) +
               (e.detail.empty() ? "" : (e.detail.starts_with("with ") ? " " : ", ") + e.detail);
    case HandEventKind::Cancelled: return "hand cancelled";
    case HandEventKind::Dropped: return droppedText(e);
    }
    return {};
}

void HandEventQueue::push(HandEvent event)
{
    while (events_.size() >= kMaxWaitingHandEvents)
        dropOldestHand();
    events_.push_back(std::move(event));
}

void HandEventQueue::dropOldestHand()
{
    HandEvent dropped;
    dropped.kind = HandEventKind::Dropped;
    if (events_.front().kind == HandEventKind::Dropped) {
        dropped = events_.front();
        events_.pop_front();
    }
    const bool atStart = events_.front().kind == HandEventKind::Start;
    if (dropped.count == 0 && atStart)
        dropped.hand = events_.front().hand;
    // The oldest hand ends where the next one starts; a hand that fills the
    // whole queue alone loses its oldest line, and counts once.
    const auto next = std::find_if(events_.begin() + 1, events_.end(),
                                   [](const HandEvent& e) { return e.kind == HandEventKind::Start; });
    const bool whole = next != events_.end();
    events_.erase(events_.begin(), whole ? next : events_.begin() + 1);
    if (whole || atStart || dropped.count == 0)
        ++dropped.count;
    events_.push_front(std::move(dropped));
}

} // namespace tessaly
