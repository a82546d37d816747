#include "server/protocol/AccountRules.h"

#include <cctype>
#include <strings.h>

namespace tessaly::house {
namespace {

bool lettersAndDigits(std::string_view text, std::size_t maxLength)
{
    if (text.empty() || text.size() > maxLength)
        return false;
    for (char c : text) {
        if (!std::isalnum(static_cast<unsigned char>(c)) || static_cast<unsigned char>(c) > 127)
            return false;
    }
    return true;
}

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

bool isAddressChar(char c)
{
    return c != '\0' && c != '@' && c != '.' && !isSpace(c) && c != ']' && c != '\\';
}

} // namespace

bool validScreenName(std::string_view name) { return lettersAndDigits(name, 16); }
bool validPassword(std::string_view password) { return lettersAndDigits(password, 20); }

bool validEmail(std::string_view email)
{
    std::size_t p = 0;
    const auto at = [&](std::size_t i) { return i < email.size() ? email[i] : '\0'; };
    while (isSpace(at(p)))
        ++p;
    if (p >= email.size())
        return false;
    while (isAddressChar(at(p)) || at(p) == '.')
        ++p;
    if (at(p++) != '@')
        return false;
    if (!isAddressChar(at(p++)))
        return false;
    while (isAddressChar(at(p)))
        ++p;
    if (at(p++) != '.')
        return false;
    if (!isAddressChar(at(p++)))
        return false;
    for (;;) {
        while (isAddressChar(at(p)))
            ++p;
        if (at(p) != '.')
            break;
        ++p;
        if (!isAddressChar(at(p++)))
            return false;
    }
    while (isSpace(at(p)))
        ++p;
    return p >= email.size();
}

bool reservedScreenName(std::string_view name)
{
    return name.size() == 6 && strncasecmp(name.data(), "Dealer", 6) == 0;
}

} // namespace tessaly::house
