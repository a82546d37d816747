// The amount field's formatting, reading back and key table, apart from the
// widget (the widget test drives the same through real key events).

#include <gtest/gtest.h>

#include "client/ui/AmountField.h"

namespace tessaly {
namespace {

const AmountFieldFormat kDot{};
const AmountFieldFormat kComma{QLatin1Char(','), QLatin1Char('.'), false};

TEST(AmountFieldText, SixSignificantDigitsCutToTwoFractionDigits)
{
    const struct {
        double value;
        const char* text;
    } cases[] = {
        {1234.5, "1234.50"}, {12.3456, "12.34"},  {0.5, ".50"},           {0, ".00"},
        {5, "5.00"},         {12.5, "12.50"},     {999.999, "999.99"},   {0.05, ".05"},
        {0.004, ".00"},      {2.675, "2.67"},     {12345.67, "12345.67"}, {250000, "250000.00"},
        {1234567.891, "1234567.89"},              {-2.5, "-2.50"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(amountFieldText(c.value, kDot).toStdString(), c.text) << c.value;
    EXPECT_EQ(amountFieldText(12.5, kComma), QStringLiteral("12,50"));
    AmountFieldFormat grouped = kDot;
    grouped.grouping = true;
    EXPECT_EQ(amountFieldText(1234567.5, grouped), QStringLiteral("1,234,567.50"));
    EXPECT_EQ(amountFieldText(123.5, grouped), QStringLiteral("123.50"));
}

TEST(AmountFieldValue, ReadsTheLocaleDecimalAndDropsGrouping)
{
    EXPECT_DOUBLE_EQ(amountFieldValue(QStringLiteral(".50"), kDot), 0.5);
    EXPECT_DOUBLE_EQ(amountFieldValue(QStringLiteral("12,50"), kComma), 12.5);
    EXPECT_DOUBLE_EQ(amountFieldValue(QStringLiteral("1.234,50"), kComma), 1234.5);
    EXPECT_DOUBLE_EQ(amountFieldValue(QStringLiteral("12."), kDot), 12);
    EXPECT_DOUBLE_EQ(amountFieldValue(QString(), kDot), 0);
    EXPECT_DOUBLE_EQ(amountFieldValue(QStringLiteral("All In"), kDot), 0);
}

struct KeyCase {
    const char* text;
    int start;
    int end;
    AmountKey key;
    char digit;
    const char* expected;   // nullptr: the key changes nothing
    int caret;
    double value;
};

TEST(AmountFieldKey, FollowsTheKeyTable)
{
    using K = AmountKey;
    const KeyCase cases[] = {
        // digits: inserted in the integer part, overwrite in the fraction
        {".00", 0, 0, K::Digit, '5', "5.00", 1, 5},
        {"12.50", 1, 1, K::Digit, '7', "172.50", 2, 172.5},
        {"2.00", 2, 2, K::Digit, '7', "2.70", 3, 2.7},
        {"2.70", 4, 4, K::Digit, '9', "2.70", 4, 2.7},
        // the decimal character
        {"250.00", 1, 1, K::Decimal, 0, "2.00", 2, 2},
        {"250.00", 3, 3, K::Decimal, 0, "250.00", 4, 250},
        {"2.75", 3, 3, K::Decimal, 0, "2.75", 2, 2.75},
        {"25", 1, 1, K::Decimal, 0, "2.", 2, 2},
        // Backspace
        {"12.00", 3, 3, K::Backspace, 0, "1.00", 1, 1},
        {"12.00", 2, 2, K::Backspace, 0, "1.00", 1, 1},
        {"3.45", 4, 4, K::Backspace, 0, "3.40", 3, 3.4},
        {".50", 1, 1, K::Backspace, 0, ".50", 0, 0.5},
        {"12.00", 0, 0, K::Backspace, 0, "12.00", 0, 12},
        // Delete
        {"3.45", 2, 2, K::Delete, 0, "3.05", 2, 3.05},
        {"3.45", 1, 1, K::Delete, 0, "3.05", 2, 3.05},
        {"12.50", 0, 0, K::Delete, 0, "2.50", 0, 2.5},
        {"3.45", 4, 4, K::Delete, 0, "3.45", 4, 3.45},
        // plus changes nothing, Insert is ignored altogether
        {"3.45", 1, 1, K::Plus, 0, "3.45", 1, 3.45},
        {"3.45", 0, 2, K::Insert, 0, nullptr, 0, 0},
        // a selection is deleted and the rest reformatted first
        {"12.50", 0, 2, K::Backspace, 0, ".50", 0, 0.5},
        {"12.50", 2, 0, K::Delete, 0, ".50", 0, 0.5},
        {"12.50", 0, 5, K::Digit, '8', "8.00", 1, 8},
        {"1234.56", 3, 6, K::Digit, '9', "12396.00", 4, 12396},
        {"12.50", 0, 2, K::Plus, 0, ".50", 0, 0.5},
    };
    for (const KeyCase& c : cases) {
        const AmountFieldEdit edit =
            amountFieldKey({QString::fromLatin1(c.text), c.start, c.end}, c.key, QLatin1Char(c.digit), kDot);
        SCOPED_TRACE(std::string(c.text) + " " + std::to_string(c.start) + "-" + std::to_string(c.end));
        if (c.expected == nullptr) {
            EXPECT_FALSE(edit.changed);
            continue;
        }
        EXPECT_EQ(edit.text.toStdString(), c.expected);
        EXPECT_EQ(edit.caret, c.caret);
        EXPECT_DOUBLE_EQ(edit.value, c.value);
    }
}

TEST(AmountFieldKey, UsesTheCommaOfACommaLocale)
{
    AmountFieldEdit edit = amountFieldKey({QStringLiteral("250,00"), 1, 1}, AmountKey::Decimal, {}, kComma);
    EXPECT_EQ(edit.text, QStringLiteral("2,00"));
    edit = amountFieldKey({edit.text, edit.caret, edit.caret}, AmountKey::Digit, QLatin1Char('7'), kComma);
    EXPECT_EQ(edit.text, QStringLiteral("2,70"));
    EXPECT_DOUBLE_EQ(edit.value, 2.7);
}

} // namespace
} // namespace tessaly
