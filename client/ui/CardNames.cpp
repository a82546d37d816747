#include "client/ui/CardNames.h"

namespace tessaly {

std::string cardFileName(int code)
{
    if (code == kCardBack)
        return "cards/b.bmp";
    if (code < 0 || code >= kCardFaces)
        return {};
    static constexpr char kRanks[] = "23456789tjqka";
    static constexpr char kSuits[] = "dhcs";
    std::string name = "cards/";
    name += kRanks[code / 4];
    name += kSuits[code % 4];
    name += ".bmp";
    return name;
}

} // namespace tessaly
