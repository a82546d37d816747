// The cashier: one request per opening, "Loading..." until the reply, the
// figures on the tick after it, and the e-mail label's two lines.

#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include "client/lobby/CashierDialog.h"
#include "tests/lobby/AccountFixture.h"

namespace tessaly {
namespace {

class CashierDialogTest : public AccountFixture {
protected:
    // E-mail, available, in action, total.
    static std::vector<QString> figures(const dlgCashier& cashier)
    {
        std::vector<QString> out;
        for (int id : {1104, 1101, 1102, 1103})
            out.push_back(cashier.staticText(id)->text());
        return out;
    }
    static std::vector<QString> loading() { return std::vector<QString>(4, QStringLiteral("Loading...")); }

    void waitTicks(const dlgCashier& cashier, int count)
    {
        QSignalSpy ticks(pollTimer(cashier, "cashierPoll"), &QTimer::timeout);
        ASSERT_TRUE(waitUntil([&] { return ticks.count() >= count; }));
    }
};

TEST_F(CashierDialogTest, EachOpeningAsksAndShowsTheRepliedFiguresOnTheNextTick)
{
    state.session.screenName = "ann4";
    state.session.cashierTotal = 77.0f;
    dlgCashier cashier(state, sender);
    EXPECT_EQ(pollTimer(cashier, "cashierPoll")->interval(), 600);
    for (int opening = 1; opening <= 2; ++opening) {
        cashier.show();
        EXPECT_EQ(sender.lines.size(), static_cast<std::size_t>(opening));
        EXPECT_EQ(sender.lines.back(), "QUICK_CASHIER:\tann4\r");
        EXPECT_EQ(cashier.staticText(1100)->text(), QStringLiteral("ann4"));
        EXPECT_EQ(figures(cashier), loading());
        EXPECT_EQ(state.session.cashierReplyState[0], 1);
        EXPECT_EQ(state.session.cashierTotal, 0.0f);
        waitTicks(cashier, 2);
        EXPECT_EQ(figures(cashier), loading());   // no reply, no time-out

        serverSays("RQC:\tann@mail.example\t1000\t250.5\t10.004");
        EXPECT_EQ(figures(cashier), loading());   // the timer shows them, not the reply
        waitTicks(cashier, 1);
        EXPECT_EQ(figures(cashier), (std::vector<QString>{QStringLiteral("ann@mail.example"), QStringLiteral("1000"),
                                                           QStringLiteral("250.50"), QStringLiteral("10.004")}));
        EXPECT_EQ(state.session.cashierReplyState[0], 2);
        EXPECT_EQ(state.session.playMoneyBalance, 1000.0f);

        QTest::mouseClick(cashier.button(1005), Qt::LeftButton);
        EXPECT_FALSE(cashier.isVisible());
        EXPECT_EQ(cashier.result(), QDialog::Accepted);
        EXPECT_FALSE(pollTimer(cashier, "cashierPoll")->isActive());
        // A reply to nobody only updates the values; the next opening waits for its own.
        serverSays("RQC:\tlate@mail.example\t1\t2\t3");
    }
}

TEST(CashierAddress, FitsTwoLinesOfTheLabel)
{
    const QFont font(QStringLiteral("Liberation Sans"), 8);
    const QFontMetrics metrics(font);
    const int width = 140;
    const QString longLocal = QString(60, QLatin1Char('x')) + QStringLiteral("@mail.example");
    const struct {
        QString address;
        QString shown;   // empty: only the line widths are checked
    } cases[] = {
        {QStringLiteral("ann@mail.example"), QStringLiteral("ann@mail.example")},
        {QStringLiteral("ann.marie.longname@mail.university.example"),
         QStringLiteral("ann.marie.longname@\nmail.university.example")},
        {longLocal, {}},
        {QString(200, QLatin1Char('y')), {}},
    };
    for (const auto& c : cases) {
        const QString shown = twoLineAddress(c.address, metrics, width);
        if (!c.shown.isEmpty()) {
            EXPECT_EQ(shown, c.shown);
        }
        const QStringList lines = shown.split(QLatin1Char('\n'));
        EXPECT_LE(lines.size(), 2);
        for (const QString& line : lines)
            EXPECT_LE(metrics.horizontalAdvance(line), width) << line.toStdString();
        EXPECT_TRUE(c.address.startsWith(lines.front())) << c.address.toStdString();
    }
}

} // namespace
} // namespace tessaly
