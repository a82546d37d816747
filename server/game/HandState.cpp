#include "server/game/HandState.h"

namespace tessaly::house {

int Hand::liveCount() const
{
    int n = 0;
    for (const InHand& x : p)
        n += x.live() ? 1 : 0;
    return n;
}

int Hand::canActCount() const
{
    int n = 0;
    for (const InHand& x : p)
        n += (x.live() && !x.allIn) ? 1 : 0;
    return n;
}

SeatChips Hand::totals() const
{
    SeatChips out{};
    for (int s = 0; s < kMaxSeats; ++s)
        out[s] = p[s].total;
    return out;
}

SeatChips Hand::inFront() const
{
    SeatChips out{};
    for (int s = 0; s < kMaxSeats; ++s)
        out[s] = p[s].inFront;
    return out;
}

std::array<bool, kMaxSeats> Hand::live() const
{
    std::array<bool, kMaxSeats> out{};
    for (int s = 0; s < kMaxSeats; ++s)
        out[s] = p[s].live();
    return out;
}

std::string cardsText(const std::vector<int>& cards)
{
    std::string out;
    for (int c : cards) {
        if (!out.empty())
            out += ' ';
        out += cardChatText(c);
    }
    return out;
}

} // namespace tessaly::house
