#include "client/lobby/RegistrationRules.h"

#include <optional>

#include "client/lobby/TextLimits.h"
#include "platform/sys/CLocale.h"

namespace tessaly {
namespace {

bool isAsciiLetterOrDigit(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isLettersAndDigits(std::string_view text, std::size_t maxLength)
{
    if (text.empty() || text.size() > maxLength)
        return false;
    for (char c : text)
        if (!isAsciiLetterOrDigit(c))
            return false;
    return true;
}

// Walks the text; past its end it reads NUL, the end of text.
class Cursor {
public:
    explicit Cursor(std::string_view text) : text_(text) {}
    char peek(std::size_t ahead = 0) const { return at_ + ahead < text_.size() ? text_[at_ + ahead] : '\0'; }
    bool atEnd() const { return at_ >= text_.size(); }
    void next() { ++at_; }
    bool take(char expected)
    {
        if (peek() != expected || atEnd())
            return false;
        next();
        return true;
    }
    void skipSpace()
    {
        while (!atEnd() && isSpaceC(peek()))
            next();
    }

private:
    std::string_view text_;
    std::size_t at_ = 0;
};

bool isAddressChar(const Cursor& c, std::size_t ahead = 0)
{
    const char ch = c.peek(ahead);
    return ch != '\0' && ch != '@' && ch != '.' && !isSpaceC(ch) && ch != ']' && ch != '\\';
}

} // namespace

bool isValidScreenName(std::string_view name)
{
    return isLettersAndDigits(name, kScreenNameMaxLength);
}

bool isValidPassword(std::string_view password)
{
    return isLettersAndDigits(password, kPasswordMaxLength);
}

bool isValidEmail(std::string_view email)
{
    Cursor c(email);
    c.skipSpace();
    if (c.atEnd())
        return false;
    while (isAddressChar(c) || c.peek() == '.')
        c.next();
    if (!c.take('@') || !isAddressChar(c))
        return false;
    while (isAddressChar(c))
        c.next();
    if (!c.take('.') || !isAddressChar(c))
        return false;
    c.next();
    for (;;) {
        if (isAddressChar(c)) {
            c.next();
        } else if (c.peek() == '.' && isAddressChar(c, 1)) {
            c.next();
            c.next();
        } else {
            break;
        }
    }
    c.skipSpace();
    return c.atEnd();
}

BoxRequest registrationBox(const char* text)
{
    BoxRequest box{text, kRegistrationCaption};
    box.systemModal = true;
    return box;
}

std::vector<BoxRequest> registrationRefusals(std::string_view name, std::string_view password,
                                             std::string_view email)
{
    std::vector<BoxRequest> boxes;
    if (!isValidScreenName(name))
        boxes.push_back(registrationBox(kBadScreenNameMessage));
    if (!isValidPassword(password))
        boxes.push_back(registrationBox(kBadPasswordMessage));
    if (!isValidEmail(email))
        boxes.push_back(registrationBox(kBadEmailMessage));
    if (boxes.empty() && !registrationFits(name, password, email))
        boxes.push_back(registrationBox(kRegistrationTooLongMessage));
    return boxes;
}

} // namespace tessaly
