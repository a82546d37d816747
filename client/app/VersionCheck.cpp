#include "client/app/VersionCheck.h"

#include <cmath>

#include "platform/sys/CLocale.h"

namespace tessaly {
namespace {

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Length of the decimal number at the start of text: sign, digits, point,
// digits, exponent. 0 when there is none. Hexadecimal, "inf" and "nan" are
// no version numbers.
std::size_t decimalPrefix(std::string_view text)
{
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        ++i;
    std::size_t digits = 0;
    while (i < text.size() && isDigit(text[i]))
        ++i, ++digits;
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && isDigit(text[i]))
            ++i, ++digits;
    }
    if (digits == 0)
        return 0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-'))
            ++j;
        if (j < text.size() && isDigit(text[j])) {
            while (j < text.size() && isDigit(text[j]))
                ++j;
            i = j;
        }
    }
    return i;
}

} // namespace

std::optional<double> scanVersionText(std::string_view text)
{
    text = text.substr(0, text.find('\0'));
    std::size_t at = 0;
    while (at < text.size()) {
        while (at < text.size() && isSpace(text[at]))
            ++at;
        const std::size_t length = decimalPrefix(text.substr(at));
        if (length > 0) {
            const std::string number(text.substr(at, length));
            const double value = strtodC(number.c_str(), nullptr);
            if (value != 0.0)
                return value;
        }
        const std::size_t cr = text.find('\r', at);
        if (cr == std::string_view::npos)
            break;
        at = cr + 1;
    }
    return std::nullopt;
}

const char* upgradeWord(UpgradeKind kind)
{
    switch (kind) {
    case UpgradeKind::Full:
        return "FULL";
    case UpgradeKind::Incremental:
        return "INCREMENTAL";
    case UpgradeKind::Base:
        return "BASE";
    }
    return "";
}

std::optional<UpgradeKind> decideUpgrade(double clientVersion, double version, double upgrade)
{
    if (!(upgrade > clientVersion))
        return std::nullopt;
    // Whole parts compared as doubles: a huge number in a file must not
    // overflow an integer conversion.
    if (std::trunc(clientVersion) < std::trunc(version))
        return upgrade > version ? UpgradeKind::Full : UpgradeKind::Base;
    if (upgrade > version)
        return UpgradeKind::Incremental;
    return std::nullopt;
}

} // namespace tessaly
