#include "platform/sys/CLocale.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <locale.h>

namespace tessaly {
namespace {

locale_t cLocale()
{
    static const locale_t loc = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return loc;
}

// Switches the calling thread to the "C" locale for one scope.
class CLocaleScope {
public:
    CLocaleScope() : previous_(uselocale(cLocale())) {}
    ~CLocaleScope() { uselocale(previous_); }
    CLocaleScope(const CLocaleScope&) = delete;
    CLocaleScope& operator=(const CLocaleScope&) = delete;

private:
    locale_t previous_;
};

} // namespace

std::string vformatC(const char* format, va_list args)
{
    CLocaleScope scope;
    va_list again;
    va_copy(again, args);
    char small[256];
    const int n = std::vsnprintf(small, sizeof small, format, args);
    std::string out;
    if (n >= 0 && static_cast<size_t>(n) < sizeof small) {
        out.assign(small, static_cast<size_t>(n));
    } else if (n >= 0) {
        out.resize(static_cast<size_t>(n));
        std::vsnprintf(out.data(), out.size() + 1, format, again);
    }
    va_end(again);
    return out;
}

std::string formatC(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    std::string out = vformatC(format, args);
    va_end(args);
    return out;
}

double strtodC(const char* text, char** end)
{
    return strtod_l(text, end, cLocale());
}

long strtolC(const char* text, char** end)
{
    return strtol_l(text, end, 10, cLocale());
}

std::size_t decimalNumberLength(std::string_view text)
{
    const auto isDigit = [&](std::size_t i) { return i < text.size() && text[i] >= '0' && text[i] <= '9'; };
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        ++i;
    std::size_t digits = 0;
    for (; isDigit(i); ++i)
        ++digits;
    if (i < text.size() && text[i] == '.') {
        for (++i; isDigit(i); ++i)
            ++digits;
    }
    if (digits == 0)
        return 0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-'))
            ++j;
        if (isDigit(j)) {
            while (isDigit(j))
                ++j;
            i = j;
        }
    }
    return i;
}

} // namespace tessaly
