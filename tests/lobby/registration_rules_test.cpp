#include <gtest/gtest.h>

#include <string>

#include "client/lobby/RegistrationRules.h"
#include "client/lobby/TextLimits.h"

namespace tessaly {
namespace {

TEST(EmailRule, JudgesTheShapeOfTheText)
{
    struct Case {
        const char* email;
        bool valid;
    };
    const Case cases[] = {
        {"joe@example.com", true},
        {"  joe@example.com \t", true},
        {"@example.com", true},                 // nothing before the at sign
        {"j.o..e.@mail.example.org", true},     // any dots before the at sign
        {"joe@a.b", true},
        {"joe@mail.example.co.uk", true},
        {"joe@example", false},                 // no dot after the at sign
        {"joe@.example.com", false},            // dot directly after the at sign
        {"joe@example..com", false},            // two dots in a row
        {"joe@example.com.", false},            // dot at the end
        {"joe@example.com again", false},       // a second word
        {"jo e@example.com", false},            // space before the at sign
        {"joe@exa mple.com", false},
        {"", false},
        {"   ", false},
        {"joe", false},
        {"joe@@example.com", false},
        {"joe@example.com@x.y", false},
        {"joe@exam]ple.com", false},
        {"joe@example.c\\om", false},
        {"[joe]@example.com", false},           // "]" is no address character anywhere
        {"joe@ex\xc3\xa4mple.com", true},       // other bytes are address characters
        {"joe@example.com\r\n", true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(isValidEmail(c.email), c.valid) << '"' << c.email << '"';
}

TEST(RegistrationRules, ScreenNameAndPasswordAreShortLettersAndDigits)
{
    struct Case {
        std::string text;
        bool name, password;
    };
    const Case cases[] = {
        {"ab12", true, true},
        {"a", true, true},
        {"", false, false},
        {"joe_1", false, false},
        {"jo e", false, false},
        {"j\xc3\xb6rg", false, false},
        {std::string(16, 'a'), true, true},
        {std::string(17, 'a'), false, true},
        {std::string(20, '9'), false, true},
        {std::string(21, '9'), false, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(isValidScreenName(c.text), c.name) << c.text;
        EXPECT_EQ(isValidPassword(c.text), c.password) << c.text;
    }
}

TEST(RegistrationRules, RefusalsComeInTheFormsOrder)
{
    struct Case {
        const char *name, *password, *email;
        std::vector<std::string> texts;
    };
    const std::string longEmail = "a@" + std::string(70, 'b') + ".com";   // 76 characters
    const Case cases[] = {
        {"joe1", "pw1", "joe@example.com", {}},
        {"joe_1", "pw1", "joe@example.com", {kBadScreenNameMessage}},
        {"joe1", "", "joe@example.com", {kBadPasswordMessage}},
        {"joe1", "pw1", "joe@example", {kBadEmailMessage}},
        {"", "p w", "nope", {kBadScreenNameMessage, kBadPasswordMessage, kBadEmailMessage}},
        {"aaaaaaaaaaaaaaaa", "bbbbbbbbbbbbbbbbbbbb", longEmail.c_str(), {kRegistrationTooLongMessage}},
        {"aaaaaaaaaaaaaaa", "bbbbbbbbbbbbbbbbbbbb", longEmail.c_str(), {}},   // exactly 111
        {"joe_1", "pw1", longEmail.c_str(), {kBadScreenNameMessage}},
    };
    for (const Case& c : cases) {
        std::vector<std::string> texts;
        for (const BoxRequest& box : registrationRefusals(c.name, c.password, c.email)) {
            texts.push_back(box.text);
            EXPECT_EQ(box.caption, "Tessaly message");
            EXPECT_EQ(box.icon, BoxIcon::None);
            EXPECT_TRUE(box.systemModal);
        }
        EXPECT_EQ(texts, c.texts) << c.name << " / " << c.password << " / " << c.email;
    }
}

TEST(TextLimits, LoginLineMustFitInto255Bytes)
{
    struct Case {
        std::size_t name, password;
        bool fits;
    };
    const Case cases[] = {
        {4, 4, true}, {0, 0, true}, {246, 0, true}, {200, 46, true}, {200, 47, false}, {247, 0, false},
        {0, 247, false}, {256, 0, false},
    };
    for (const Case& c : cases) {
        const std::string name(c.name, 'n'), password(c.password, 'p');
        EXPECT_EQ(loginFits(name, password), c.fits) << c.name << "+" << c.password;
        // The line as the client sends it: it must fit whenever it is allowed.
        const std::string line = "LOGIN:\t" + name + "\t" + password + "\r";
        EXPECT_EQ(line.size() <= kLoginLineMaxBytes, c.fits);
        const std::optional<BoxRequest> refusal = loginRefusal(name, password);
        EXPECT_EQ(refusal.has_value(), !c.fits);
        if (refusal) {
            EXPECT_EQ(refusal->caption, "Tessaly");
            EXPECT_EQ(refusal->icon, BoxIcon::Stop);
        }
    }
    // Non-ASCII text counts by its bytes: 124 two-byte letters are 248 bytes.
    std::string wide;
    for (int i = 0; i < 124; ++i)
        wide += "\xc3\xa4";
    EXPECT_FALSE(loginFits(wide, ""));
}

TEST(TextLimits, RegistrationLineMustFitInto131Bytes)
{
    for (std::size_t email = 70; email <= 80; ++email) {
        const std::string name(16, 'n'), password(20, 'p'), address(email, 'e');
        const std::string line = "REGISTER_PLAYER:\t" + name + "\t" + password + "\t" + address + "\r";
        EXPECT_EQ(registrationFits(name, password, address), line.size() <= kRegistrationLineMaxBytes) << email;
    }
}

} // namespace
} // namespace tessaly
