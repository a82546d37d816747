// The buy-in and quick re-buy dialogs, offscreen: their texts after
// opening, the cashier request and "Loading..." until the figures arrive
// (through the real dispatcher; the tests call the timer's step), the keys
// and buttons that accept or close them with the exact bytes they send, and
// every refusal box.

#include <gtest/gtest.h>

#include <QAccessible>
#include <QGroupBox>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "client/dispatch/Dispatcher.h"
#include "client/dispatch/EffectRecorder.h"
#include "client/table/BuyInDialog.h"
#include "client/table/ClientState.h"
#include "client/table/RebuyDialog.h"
#include "client/ui/AmountEdit.h"
#include "tests/support/RecordingSender.h"
#include "tests/support/ScriptedMessageBoxes.h"
#include "tests/support/WaitUntil.h"

namespace tessaly {
namespace {

constexpr int kBuyInTable = 3;
constexpr int kRebuyTable = 5;
const char* const kQuickCashier = "QUICK_CASHIER:\tann4\r";

class BuyInDialogsTest : public ::testing::Test {
protected:
    BuyInDialogsTest()
    {
        state.session.screenName = "ann4";
        TableState& buyIn = state.tables[kBuyInTable];
        buyIn.minBuyIn = 100;
        buyIn.maxBuyIn = 1000;
        buyIn.smallBlind = 0.5f;
        buyIn.bigBlind = 1;
        buyIn.gameType = 1000;
        buyIn.stakesText = "0.50/1";
        buyIn.userSeat = 4;
        TableState& rebuy = state.tables[kRebuyTable];
        rebuy.minBuyIn = 100;
        rebuy.maxBuyIn = 1000;
        rebuy.smallBlind = 5;
        rebuy.bigBlind = 10;
        rebuy.gameType = 1001;
        rebuy.stakesText = "5/10";
        rebuy.userSeatedHere = 1;
        rebuy.userSeat = 2;
        rebuy.stack[2] = 250.5f;
    }

    ~BuyInDialogsTest() override
    {
        for (QPointer<QuickCashierDialog>& dialog : opened)
            delete dialog.data();
    }

    dlgPlayMoneyBuyIn& openBuyIn()
    {
        auto* dialog = new dlgPlayMoneyBuyIn(state, sender, boxes, kBuyInTable, "Aldergrove");
        dialog->setDefaultAmount();
        dialog->show();
        opened.emplace_back(dialog);
        return *dialog;
    }

    dlgGetMoreChips& openRebuy()
    {
        auto* dialog = new dlgGetMoreChips(state, sender, boxes, kRebuyTable, "Brackenridge");
        dialog->show();
        opened.emplace_back(dialog);
        return *dialog;
    }

    // The cashier figures reach the client: available, in action.
    void figuresArrive(const char* available, const char* inAction)
    {
        dispatcher.dispatchLine(std::string("RQC:\tann@mail.example\t") + available + "\t" + inAction + "\t0");
    }

    // Replaces the proposed amount by typing, as the user does.
    static void type(AmountEdit& box, const char* text)
    {
        box.selectAll();
        QTest::keyClicks(&box, QString::fromLatin1(text));
    }

    static QString text(const DialogWindow& dialog, int id) { return dialog.staticText(id)->text(); }

    // True once the dialog has destroyed itself.
    static bool destroyed(const QPointer<QuickCashierDialog>& dialog)
    {
        return waitUntil([&] { return dialog.isNull(); }, 2000);
    }

    ClientState state;
    RecordingSender sender;
    ScriptedMessageBoxes boxes;
    EffectRecorder server;
    Dispatcher dispatcher{state, {server, server, server, server}};
    std::vector<QPointer<QuickCashierDialog>> opened;
};

TEST_F(BuyInDialogsTest, BuyInShowsTheTableAndLoadsTheBalance)
{
    state.session.balanceArrived = 1;
    state.session.cashierAvailable = 2500;   // last known figures: no refill offered yet
    state.session.cashierReplyState = {0, 0, 0, 0};
    dlgPlayMoneyBuyIn& dialog = openBuyIn();
    auto* amount = dialog.control<AmountEdit>(1024);

    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("   Tessaly Buy-In Amount"));
    EXPECT_EQ(dialog.parentWidget(), nullptr);
    EXPECT_TRUE(dialog.testAttribute(Qt::WA_DeleteOnClose));
    EXPECT_FALSE(dialog.windowIcon().isNull());
    EXPECT_EQ(dialog.findChild<QTimer*>(QStringLiteral("quickCashierPoll"))->interval(), 600);
    EXPECT_EQ(sender.lines, std::vector<std::string>{kQuickCashier});
    EXPECT_EQ(state.session.balanceArrived, 0);
    EXPECT_EQ(state.session.cashierReplyState, (std::array<std::int32_t, 4>{0, 0, 1, 1}));
    const std::pair<int, const char*> statics[] = {{1081, "No Limit"}, {1082, "Aldergrove"}, {1086, "0.50"},
                                                   {1087, "1"},        {1083, "100"},        {1084, "1000"},
                                                   {1091, "0.50/1"},   {1045, "Loading..."}};
    for (const auto& [id, shown] : statics)
        EXPECT_EQ(text(dialog, id), QString::fromLatin1(shown)) << id;
    EXPECT_FALSE(dialog.staticText(1091)->isVisible());
    EXPECT_EQ(amount->text(), QStringLiteral("100.00"));
    EXPECT_FALSE(dialog.button(1004)->isEnabled());
    EXPECT_EQ(dialog.groupBox(1095)->title(), QStringLiteral("Table Information"));
    EXPECT_EQ(dialog.groupBox(1096)->font().pointSizeF(), 12.0);

    // No answer yet: the timer changes nothing.
    dialog.poll();
    EXPECT_EQ(text(dialog, 1045), QStringLiteral("Loading..."));

    figuresArrive("500", "250.5");
    EXPECT_EQ(text(dialog, 1045), QStringLiteral("Loading..."));   // the timer shows them, not the answer
    dialog.poll();
    EXPECT_EQ(text(dialog, 1045), QStringLiteral("500"));
    EXPECT_EQ(amount->text(), QStringLiteral("500.00"));
    EXPECT_TRUE(dialog.button(1004)->isEnabled());
    EXPECT_EQ(state.session.cashierReplyState, (std::array<std::int32_t, 4>{0, 0, 1, 2}));

    // A later answer updates the dialog again.
    figuresArrive("5000.5", "0");
    dialog.poll();
    EXPECT_EQ(text(dialog, 1045), QStringLiteral("5000.50"));
    EXPECT_EQ(amount->text(), QStringLiteral("1000.00"));
    EXPECT_FALSE(dialog.button(1004)->isEnabled());

    QTest::mouseClick(dialog.button(1004), Qt::LeftButton);   // disabled: nothing
    EXPECT_EQ(sender.lines.size(), 1u);
}

TEST_F(BuyInDialogsTest, EnterAndOkSendTheJoinWithTheTypedAmount)
{
    enum class Accept { EnterInAmount, EnterOnCancel, OkButton };
    for (Accept how : {Accept::EnterInAmount, Accept::EnterOnCancel, Accept::OkButton}) {
        sender.lines.clear();
        QPointer<QuickCashierDialog> dialog = &openBuyIn();
        figuresArrive("500", "0");
        dialog->poll();
        auto& amount = *dialog->control<AmountEdit>(1024);
        type(amount, "250.5");
        EXPECT_EQ(amount.text(), QStringLiteral("250.50"));
        switch (how) {
        case Accept::EnterInAmount: QTest::keyClick(&amount, Qt::Key_Return); break;
        case Accept::EnterOnCancel: QTest::keyClick(dialog->button(1003), Qt::Key_Enter); break;
        case Accept::OkButton: QTest::mouseClick(dialog->button(1002), Qt::LeftButton); break;
        }
        EXPECT_TRUE(boxes.shown.empty());
        EXPECT_EQ(sender.lines, (std::vector<std::string>{kQuickCashier, "JOIN_GAME:\tann4\t3\t4\t250.5"}));
        EXPECT_TRUE(destroyed(dialog)) << static_cast<int>(how);
    }
}

TEST_F(BuyInDialogsTest, EscapeCancelAndTheCloseBoxSendNothing)
{
    enum class Close { EscapeInAmount, CancelButton, CloseBox };
    for (Close how : {Close::EscapeInAmount, Close::CancelButton, Close::CloseBox}) {
        sender.lines.clear();
        QPointer<QuickCashierDialog> dialog = &openBuyIn();
        auto* timer = dialog->findChild<QTimer*>(QStringLiteral("quickCashierPoll"));
        EXPECT_TRUE(timer->isActive());
        switch (how) {
        case Close::EscapeInAmount: QTest::keyClick(dialog->control<AmountEdit>(1024), Qt::Key_Escape); break;
        case Close::CancelButton: QTest::mouseClick(dialog->button(1003), Qt::LeftButton); break;
        case Close::CloseBox: dialog->close(); break;
        }
        EXPECT_FALSE(dialog->isVisible());
        EXPECT_FALSE(timer->isActive());
        EXPECT_TRUE(destroyed(dialog)) << static_cast<int>(how);
        EXPECT_EQ(sender.lines, std::vector<std::string>{kQuickCashier});
    }
}

TEST_F(BuyInDialogsTest, BuyInRefusalsKeepTheDialogOpen)
{
    const struct {
        const char* available;   // nullptr: no answer yet
        const char* typed;
        const char* refusal;
    } cases[] = {
        {nullptr, "100", "Not enough funds in account"},
        {"300", "300.01", "Not enough funds in account"},
        {"5000", "99.99", "Deposit needs to be more then 100"},
        {"5000", "1000.01", "Deposit needs to be less then 1000"},
    };
    for (const auto& c : cases) {
        boxes.shown.clear();
        sender.lines.clear();
        dlgPlayMoneyBuyIn& dialog = openBuyIn();
        if (c.available != nullptr) {
            figuresArrive(c.available, "0");
            dialog.poll();
        }
        auto& amount = *dialog.control<AmountEdit>(1024);
        type(amount, c.typed);
        QTest::keyClick(&amount, Qt::Key_Return);
        ASSERT_EQ(boxes.texts(), std::vector<std::string>{c.refusal}) << c.typed;
        EXPECT_EQ(boxes.shown[0].owner, &dialog);
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(sender.lines, std::vector<std::string>{kQuickCashier});
        dialog.close();
    }

    // A text the box would never type itself.
    dlgPlayMoneyBuyIn& dialog = openBuyIn();
    dialog.control<AmountEdit>(1024)->setText(QStringLiteral("1e3"));
    boxes.shown.clear();
    QTest::mouseClick(dialog.button(1002), Qt::LeftButton);
    ASSERT_EQ(boxes.texts(), std::vector<std::string>{"Must be a valid number"});
    EXPECT_EQ(boxes.shown[0].icon, BoxIcon::Information);
}

TEST_F(BuyInDialogsTest, RebuyShowsTheTableThenProposesTheRoomLeft)
{
    state.session.cashierAvailable = 1500;
    dlgGetMoreChips& dialog = openRebuy();

    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("    Tessaly Quick Rebuy"));
    EXPECT_EQ(dialog.parentWidget(), nullptr);
    EXPECT_TRUE(dialog.testAttribute(Qt::WA_DeleteOnClose));
    EXPECT_EQ(dialog.findChild<QTimer*>(QStringLiteral("quickCashierPoll"))->interval(), 400);
    EXPECT_EQ(sender.lines, std::vector<std::string>{kQuickCashier});
    EXPECT_EQ(state.session.cashierAvailable, 0.0f);
    EXPECT_EQ(state.session.cashierReplyState[1], 1);
    const std::pair<int, const char*> statics[] = {{1093, "Pot Limit"}, {1090, "Brackenridge"}, {1091, "5/10"},
                                                   {1086, "5"},         {1087, "10"},           {1092, "100"},
                                                   {1094, "1000"},      {1088, "Loading..."}};
    for (const auto& [id, shown] : statics)
        EXPECT_EQ(text(dialog, id), QString::fromLatin1(shown)) << id;
    EXPECT_FALSE(dialog.button(1002)->isEnabled());

    dialog.poll();
    EXPECT_EQ(text(dialog, 1088), QStringLiteral("Loading..."));

    figuresArrive("5000", "250.5");
    dialog.poll();
    EXPECT_EQ(text(dialog, 1088), QStringLiteral("5000"));
    EXPECT_EQ(state.session.cashierReplyState[1], 2);
    EXPECT_EQ(dialog.control<AmountEdit>(1089)->text(), QStringLiteral("749.50"));
    EXPECT_FALSE(dialog.button(1002)->isEnabled());

    QPointer<QuickCashierDialog> alive = &dialog;
    QTest::mouseClick(dialog.button(1), Qt::LeftButton);
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_EQ(sender.lines, (std::vector<std::string>{kQuickCashier, "QUICK_CHIPS:\t5\t2\t749.5\r"}));
    EXPECT_TRUE(destroyed(alive));
}

TEST_F(BuyInDialogsTest, RebuyRefusalsAndTheCloseBox)
{
    const struct {
        const char* available;
        const char* typed;
        const char* refusal;
    } cases[] = {
        {"500", "600", "Insuffecient funds in account for that deposit amount"},
        {"5000", "749.51", "Buy-in must be less then or equal to 749.5"},
        {"5000", "99", "Deposit needs to be more then or equal to [100.00]"},
    };
    for (const auto& c : cases) {
        boxes.shown.clear();
        sender.lines.clear();
        dlgGetMoreChips& dialog = openRebuy();
        figuresArrive(c.available, "0");
        dialog.poll();
        type(*dialog.control<AmountEdit>(1089), c.typed);
        QTest::mouseClick(dialog.button(1), Qt::LeftButton);
        ASSERT_EQ(boxes.texts(), std::vector<std::string>{c.refusal}) << c.typed;
        EXPECT_EQ(boxes.shown[0].owner, &dialog);
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(sender.lines, std::vector<std::string>{kQuickCashier});

        QPointer<QuickCashierDialog> alive = &dialog;
        dialog.close();
        EXPECT_TRUE(destroyed(alive));
        EXPECT_EQ(sender.lines, std::vector<std::string>{kQuickCashier});
    }
}

TEST_F(BuyInDialogsTest, GetMorePlayMoneyAsksForARefillInBothDialogs)
{
    dlgPlayMoneyBuyIn& buyIn = openBuyIn();
    dlgGetMoreChips& rebuy = openRebuy();
    figuresArrive("150", "1849.99");
    buyIn.poll();
    rebuy.poll();
    sender.lines.clear();
    QTest::mouseClick(buyIn.button(1004), Qt::LeftButton);
    QTest::mouseClick(rebuy.button(1002), Qt::LeftButton);
    EXPECT_EQ(sender.lines, (std::vector<std::string>{"RELOAD_MONEY\tann4\r", "RELOAD_MONEY\tann4\r"}));
    EXPECT_TRUE(buyIn.isVisible());
    EXPECT_TRUE(rebuy.isVisible());
}

TEST_F(BuyInDialogsTest, EveryControlHasAnAccessibleName)
{
    dlgPlayMoneyBuyIn& buyIn = openBuyIn();
    dlgGetMoreChips& rebuy = openRebuy();
    EXPECT_EQ(buyIn.control(1024)->accessibleName(), QStringLiteral("Amount"));
    EXPECT_EQ(rebuy.control(1089)->accessibleName(), QStringLiteral("Amount"));
    // Figures are read with their captions, and follow what they show.
    const auto spoken = [](QWidget* control) { return QAccessible::queryAccessibleInterface(control)->text(QAccessible::Name); };
    auto* balance = qobject_cast<QLabel*>(buyIn.control(1045));
    EXPECT_EQ(spoken(balance), QStringLiteral("Account Balance: ") + balance->text());
    balance->setText(QStringLiteral("1,234.50"));
    EXPECT_EQ(spoken(balance), QStringLiteral("Account Balance: 1,234.50"));
    EXPECT_EQ(spoken(rebuy.control(1094)), QStringLiteral("Max Allowed: ") + qobject_cast<QLabel*>(rebuy.control(1094))->text());
    EXPECT_EQ(buyIn.control(1004)->accessibleName(), QStringLiteral("Get More Play Money"));
    for (QuickCashierDialog* dialog : {static_cast<QuickCashierDialog*>(&buyIn), static_cast<QuickCashierDialog*>(&rebuy)}) {
        for (QWidget* child : dialog->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            EXPECT_FALSE(spoken(child).isEmpty()) << child->objectName().toStdString();
    }
}

// Every text fits its control, with the figures at their widest; the
// pictures land in $TESSALY_SCREENSHOT_DIR when it is set.
TEST_F(BuyInDialogsTest, TextsFitTheirControls)
{
    state.tables[kBuyInTable].maxBuyIn = 100000;
    dlgPlayMoneyBuyIn& buyIn = openBuyIn();
    dlgGetMoreChips& rebuy = openRebuy();
    const QString directory = qEnvironmentVariable("TESSALY_SCREENSHOT_DIR");
    if (!directory.isEmpty()) {
        buyIn.grab().save(directory + QStringLiteral("/buyin-161-loading.png"));
        rebuy.grab().save(directory + QStringLiteral("/buyin-165-loading.png"));
    }
    figuresArrive("123456.78", "0");
    buyIn.poll();
    rebuy.poll();
    if (!directory.isEmpty()) {
        buyIn.grab().save(directory + QStringLiteral("/buyin-161-figures.png"));
        rebuy.grab().save(directory + QStringLiteral("/buyin-165-figures.png"));
    }
    for (QuickCashierDialog* dialog : {static_cast<QuickCashierDialog*>(&buyIn), static_cast<QuickCashierDialog*>(&rebuy)}) {
        for (QLabel* label : dialog->findChildren<QLabel*>(Qt::FindDirectChildrenOnly)) {
            EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()), label->contentsRect().width())
                << label->text().toStdString();
            EXPECT_LE(label->heightForWidth(label->width()), label->height()) << label->text().toStdString();
        }
        for (QPushButton* push : dialog->findChildren<QPushButton*>(Qt::FindDirectChildrenOnly))
            EXPECT_LE(push->fontMetrics().horizontalAdvance(push->text()) + 12, push->width())
                << push->text().toStdString();
        for (QGroupBox* group : dialog->findChildren<QGroupBox*>(Qt::FindDirectChildrenOnly))
            EXPECT_LE(group->fontMetrics().horizontalAdvance(group->title()) + 16, group->width());
    }
}

} // namespace
} // namespace tessaly
