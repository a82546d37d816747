#include "server/poker/Cards.h"

namespace tessaly::house {
namespace {

constexpr const char* kRankLetters = "23456789TJQKA";
constexpr const char* kSuitLetters = "dhcs";

int indexIn(const char* letters, char c)
{
    for (int i = 0; letters[i]; ++i) {
        if (letters[i] == c)
            return i;
    }
    return -1;
}

} // namespace

std::string cardChatText(int card)
{
    std::string out;
    out += kRankLetters[cardRank(card) - 2];
    out += ':';
    out += kSuitLetters[cardSuit(card)];
    return out;
}

int parseCard(const std::string& text)
{
    if (text.size() != 2)
        return -1;
    const int rank = indexIn(kRankLetters, text[0]);
    const int suit = indexIn(kSuitLetters, text[1]);
    if (rank < 0 || suit < 0)
        return -1;
    return makeCard(rank + 2, suit);
}

const char* rankName(int rank)
{
    static const char* const names[] = {"Two", "Three", "Four", "Five", "Six", "Seven", "Eight",
                                        "Nine", "Ten", "Jack", "Queen", "King", "Ace"};
    return names[rank - 2];
}

const char* rankPlural(int rank)
{
    static const char* const names[] = {"Twos", "Threes", "Fours", "Fives", "Sixes",
                                        "Sevens", "Eights", "Nines", "Tens", "Jacks",
                                        "Queens", "Kings", "Aces"};
    return names[rank - 2];
}

} // namespace tessaly::house
