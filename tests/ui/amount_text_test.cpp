#include <gtest/gtest.h>

#include <clocale>

#include "client/ui/AmountText.h"

namespace {

struct Case {
    float amount;
    const char* text;
};

TEST(AmountText, FollowsTheFractionRule)
{
    const Case cases[] = {
        {1000.0f, "1000"}, {999.99f, "999.99"}, {10.004f, "10.004"}, {0.0f, "0"},
        {250.0f, "250"},   {12.5f, "12.50"},    {0.05f, "0.05"},     {-2.5f, "-2.50"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(tessaly::amountText(c.amount), c.text) << c.amount;
}

TEST(AmountText, IgnoresADecimalCommaLocale)
{
    // The test main is a Qt application, which took the locale from the
    // environment; force a comma locale where the machine has one.
    if (std::setlocale(LC_ALL, "de_DE.UTF-8") == nullptr && std::setlocale(LC_ALL, "fr_FR.UTF-8") == nullptr)
        GTEST_SKIP() << "no decimal-comma locale installed";
    EXPECT_EQ(tessaly::amountText(12.5f), "12.50");
    EXPECT_EQ(tessaly::amountText(7.77f), "7.77");
    std::setlocale(LC_ALL, "C");
}

} // namespace
