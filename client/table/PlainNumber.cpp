#include "client/table/PlainNumber.h"

namespace tessaly {
namespace {

constexpr bool isBlank(char c) { return c == ' ' || c == '\t'; }

} // namespace

bool isPlainNumber(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && isBlank(text[i]))
        ++i;
    int digits = 0;
    int points = 0;
    for (; i < text.size() && !isBlank(text[i]); ++i) {
        const char c = text[i];
        if (c >= '0' && c <= '9')
            ++digits;
        else if (c == '.' && points == 0)
            ++points;
        else
            return false;
    }
    while (i < text.size() && isBlank(text[i]))
        ++i;
    return i == text.size() && digits > 0;
}

} // namespace tessaly
