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
