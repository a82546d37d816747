// Buy-in and re-buy rules: the plain-number check, the proposed amounts,
// every refusal with its text, caption and style, and the "Get More Chips"
// checks.

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "client/table/BuyInRules.h"
#include "client/table/PlainNumber.h"
#include "client/table/TableState.h"

namespace tessaly {

// How a refusal reads; nothing for an accepted amount.
struct Box {
    std::string text;
    std::string caption;
    BoxIcon icon = BoxIcon::None;
    bool systemModal = false;

    bool operator==(const Box&) const = default;
};

void PrintTo(const Box& box, std::ostream* out)
{
    *out << '"' << box.text << "\" / \"" << box.caption << "\" icon " << static_cast<int>(box.icon)
         << (box.systemModal ? " system-modal" : "");
}

namespace {

std::optional<Box> read(const std::optional<BoxRequest>& request)
{
    if (!request)
        return std::nullopt;
    return Box{request->text, request->caption, request->icon, request->systemModal};
}

const BuyInLimits kTable{100.0f, 1000.0f};

TEST(PlainNumber, AcceptsBlanksDigitsAndOnePointOnly)
{
    const struct {
        const char* text;
        bool plain;
    } cases[] = {
        {"5", true},      {"5.", true},     {".5", true},     {" 5 ", true},   {"\t12.50\t", true},
        {"1000.00", true}, {"", false},     {" ", false},     {".", false},    {"5a", false},
        {"-5", false},    {"+5", false},    {"1e3", false},   {"5,50", false}, {"1.2.3", false},
        {"5 5", false},   {"0x10", false},  {"5\n", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(isPlainNumber(c.text), c.plain) << '"' << c.text << '"';
}

TEST(BuyInRules, DefaultFollowsTheBalanceWithinTheRange)
{
    const struct {
        float balance;
        float amount;
    } cases[] = {{50, 100}, {500, 500}, {5000, 1000}, {0, 100}, {100, 100}, {1000, 1000}, {999.99f, 999.99f}};
    for (const auto& c : cases)
        EXPECT_EQ(buyInDefault(c.balance, kTable), c.amount) << c.balance;
}

TEST(BuyInRules, RefusalsInTheirOrder)
{
    const Box notANumber{"Must be a valid number", "Tessaly Message", BoxIcon::Information};
    const Box noFunds{"Not enough funds in account", "Tessaly", BoxIcon::None, true};
    const Box belowMinimum{"Deposit needs to be more then 100", "Tessaly Message", BoxIcon::None, true};
    const Box aboveMaximum{"Deposit needs to be less then 1000", "Tessaly Message", BoxIcon::None, true};
    const struct {
        const char* amount;
        const char* balance;   // as the balance label shows it
        BuyInLimits limits;
        std::optional<Box> refusal;
    } cases[] = {
        {"100.00", "5000.00", kTable, std::nullopt},
        {"1000.00", "5000", kTable, std::nullopt},
        {"500.00", "500", kTable, std::nullopt},
        {" 250 ", "500.50", kTable, std::nullopt},
        {"99.99", "5000.00", kTable, belowMinimum},
        {"1000.01", "5000.00", kTable, aboveMaximum},
        {"500.01", "500.00", kTable, noFunds},
        {"100.00", "Loading...", kTable, noFunds},
        {"", "5000", kTable, notANumber},
        {"1e3", "5000", kTable, notANumber},
        {"-5", "5000", kTable, notANumber},
        // Funds come first, even for an amount beyond the maximum.
        {"2000", "1500", kTable, noFunds},
        // Cents at both ends of a small table's range.
        {"0.10", "10", {0.1f, 2.5f}, std::nullopt},
        {"2.50", "10", {0.1f, 2.5f}, std::nullopt},
        {"0.09", "10", {0.1f, 2.5f}, Box{"Deposit needs to be more then 0.1", "Tessaly Message", BoxIcon::None, true}},
        {"1000", "1e+06", kTable, std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(read(buyInRefusal(c.amount, c.balance, c.limits)), c.refusal) << c.amount << " of " << c.balance;
}

TEST(RebuyRules, DefaultIsTheRoomLeftOrTheBalance)
{
    const struct {
        float balance;
        float chips;
        float amount;
    } cases[] = {{5000, 250.5f, 749.5f}, {1000, 0, 1000}, {500, 0, 500}, {500, 800, 500}, {50, 20, 100}};
    for (const auto& c : cases)
        EXPECT_EQ(rebuyDefault(c.balance, c.chips, kTable), c.amount) << c.balance << " with " << c.chips;
}

TEST(RebuyRules, RefusalsInTheirOrder)
{
    const Box noFunds{"Insuffecient funds in account for that deposit amount", "Tessaly Message", BoxIcon::Information};
    const auto roomLeft = [](const char* room) {
        return Box{std::string("Buy-in must be less then or equal to ") + room, "Tessaly Message", BoxIcon::Information};
    };
    const Box belowMinimum{"Deposit needs to be more then or equal to [100.00]", "Tessaly Message", BoxIcon::None, true};
    const struct {
        float amount;
        float balance;
        float chips;
        BuyInLimits limits;
        std::optional<Box> refusal;
    } cases[] = {
        {749.5f, 5000, 250.5f, kTable, std::nullopt},   // exactly to the maximum
        {987.66f, 5000, 12.34f, kTable, std::nullopt},
        {999.9f, 5000, 0.1f, kTable, std::nullopt},      // the float sum lands just above 1000
        {100, 100, 0, kTable, std::nullopt},
        {749.51f, 5000, 250.5f, kTable, roomLeft("749.5")},   // the maximum's form: "%g"
        {800, 5000, 250, {100, 1000.5f}, roomLeft("750.50")},
        {600, 500, 0, kTable, noFunds},
        {2000, 1500, 0, kTable, noFunds},                // funds come first
        {99.99f, 5000, 0, kTable, belowMinimum},
        {50, 5000, 900, kTable, belowMinimum},
    };
    for (const auto& c : cases)
        EXPECT_EQ(read(rebuyAmountRefusal(c.amount, c.balance, c.chips, c.limits)), c.refusal)
            << c.amount << " with " << c.chips << " chips";
}

TEST(BuyInRules, RefillOfferedBelowTwoThousandInAll)
{
    const struct {
        float available;
        float inAction;
        bool offered;
    } cases[] = {{0, 0, true}, {1999.99f, 0, true}, {1500, 499.5f, true}, {2000, 0, false}, {1000, 1000, false},
                 {0, 5000, false}};
    for (const auto& c : cases)
        EXPECT_EQ(playMoneyRefillOffered(c.available, c.inAction), c.offered) << c.available << " + " << c.inAction;
}

TEST(RebuyRules, GetMoreChipsNeedsASeatAndRoomBelowTheMaximum)
{
    const Box notSeated{"Must be seated to get more chips", "Tessaly", BoxIcon::Information};
    const auto atMaximum = [](const char* maximum) {
        return Box{std::string("You can not re-buy. Already have the maximum chips available [") + maximum + "]",
                   "Tessaly Message", BoxIcon::Information};
    };
    const struct {
        int seated;
        int seat;
        float chips;
        float maximum;
        std::optional<Box> refusal;
    } cases[] = {
        {0, 3, 0, 1000, notSeated},
        {0, 3, 5000, 1000, notSeated},
        {1, 3, 999.99f, 1000, std::nullopt},
        {1, 3, 0, 1000, std::nullopt},
        {1, 3, 1000, 1000, atMaximum("1000")},
        {1, 3, 1200, 1000.5f, atMaximum("1000.50")},
        {1, 69, 0, 1000, std::nullopt},   // no seat in the record: no chips
    };
    for (const auto& c : cases) {
        TableState table;
        table.userSeatedHere = c.seated;
        table.userSeat = c.seat;
        table.maxBuyIn = c.maximum;
        if (c.seat == 3)
            table.stack[3] = c.chips;
        EXPECT_EQ(read(rebuyRefusal(table)), c.refusal) << c.chips << " of " << c.maximum;
    }
}

} // namespace
} // namespace tessaly
