#include "client/table/PlainNumber.h"

#include <string>

#include "platform/sys/CLocale.h"

namespace tessaly {
namespace {

constexpr bool isBlank(char c) { return c == ' ' || c == '\t'; }
constexpr bool isDigit(char c) { return c >= '0' && c <= '9'; }

} // namespace

std::optional<double> plainNumber(std::string_view text)
{
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && isBlank(text[begin]))
        ++begin;
    while (end > begin && isBlank(text[end - 1]))
        --end;
    const std::string number(text.substr(begin, end - begin));
    int digits = 0;
    int points = 0;
    for (const char c : number) {
        if (isDigit(c))
            ++digits;
        else if (c == '.')
            ++points;
        else
            return std::nullopt;
    }
    if (digits == 0 || points > 1)
        return std::nullopt;
    return strtodC(number.c_str(), nullptr);
}

bool isPlainNumber(std::string_view text)
{
    return plainNumber(text).has_value();
}

} // namespace tessaly
