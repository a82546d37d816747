#include "server/protocol/Money.h"

#include "platform/sys/CLocale.h"

#include <cctype>
#include <cmath>
#include <cstdlib>

namespace tessaly::house {

std::string moneyText(Chips cents)
{
    const bool negative = cents < 0;
    const Chips v = negative ? -cents : cents;
    std::string out = negative ? "-" : "";
    out += std::to_string(v / kChipsPerUnit);
    if (const Chips frac = v % kChipsPerUnit) {
        out += '.';
        out += static_cast<char>('0' + frac / 10);
        out += static_cast<char>('0' + frac % 10);
    }
    return out;
}

std::optional<Chips> parseMoney(std::string_view text)
{
    if (text.empty() || text.size() > 40)
        return std::nullopt;
    // No sign, no blanks, no hexadecimal or "inf": only what "%g" and "%.2f" write.
    for (char c : text) {
        if (!std::isdigit(static_cast<unsigned char>(c)) && c != '.' && c != 'e' && c != 'E' && c != '+' && c != '-')
            return std::nullopt;
    }
    if (!std::isdigit(static_cast<unsigned char>(text[0])) && text[0] != '.')
        return std::nullopt;
    const std::string copy(text);
    char* end = nullptr;
    const double v = tessaly::strtodC(copy.c_str(), &end);
    if (end != copy.c_str() + copy.size() || !std::isfinite(v) || v < 0 || v > 1e9)
        return std::nullopt;
    return static_cast<Chips>(std::llround(v * kChipsPerUnit));
}

std::optional<long> parseInteger(std::string_view text)
{
    if (text.empty() || text.size() > 18)
        return std::nullopt;
    const std::string copy(text);
    if (!std::isdigit(static_cast<unsigned char>(copy[0])) && !(copy[0] == '-' && copy.size() > 1))
        return std::nullopt;
    char* end = nullptr;
    const long v = tessaly::strtolC(copy.c_str(), &end);
    if (end != copy.c_str() + copy.size())
        return std::nullopt;
    return v;
}

} // namespace tessaly::house
