#pragma once
// A stand-in for the table window's betting side: a widget of dialog 155's
// size with the betting controls and a chat input, built as the window
// builds them, the three parts on its ControlMap, and a frame step that runs
// them in the window's order. The host paints the table's picture and the
// option texts as the window does, so grabs look like the real thing.

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QPainter>
#include <QSlider>
#include <QTest>

#include "client/table/ActionBar.h"
#include "client/table/BetPresetButtons.h"
#include "client/table/BettingControls.h"
#include "client/table/OfferButtons.h"
#include "client/table/OptionPanel.h"
#include "client/table/TableState.h"
#include "client/ui/AmountEdit.h"
#include "client/ui/Picture.h"
#include "client/ui/SkinButton.h"
#include "client/ui/SkinControls.h"
#include "platform/gui/Desktop.h"
#include "tests/support/RecordingSender.h"
#include "tests/support/ScriptedMessageBoxes.h"

namespace tessaly {

inline constexpr int kChatInput = 1012;

class BettingHost : public QWidget, public ControlMap {
public:
    BettingHost()
    {
        DialogTemplate dialog{.resource = 155, .caption = "Betting", .width = 532, .height = 335,
                              .controls = bettingControls()};
        dialog.controls.push_back({.id = kChatInput, .kind = ControlKind::Edit, .rect = {127, 320, 134, 12}});
        skinDialogBuilder().build(dialog, *this, *this, ScreenScale{1.0, 1.0});
        background_.load("images/PokerCover.jpg");
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), Qt::black);
        background_.drawStretched(painter, rect());
        painter.setPen(Qt::white);
        painter.setFont(pixelFont("Arial", 12));
        const char* texts[] = {betting::kFoldCheckText, betting::kAutoPostText, betting::kMuckLosingText,
                               betting::kDealMeOutText};
        for (int i = 0; i < 4; ++i)
            painter.drawText(20, 474 + 17 * i + 10, QString::fromLatin1(texts[i]));
    }

private:
    Picture background_;
};

class BettingTest : public ::testing::Test {
protected:
    static constexpr int kTable = 4;
    static constexpr int kSeat = 3;

    BettingTest()
    {
        table.seatCount = 10;
        table.gameType = kGameNoLimit;
        table.userSeatedHere = 1;
        table.userSeat = kSeat;
        table.stack[kSeat] = 100.0f;
        table.promptSetUp = 0;
        host.show();
    }

    static bool inDistDir()
    {
        return QDir::setCurrent(QString::fromLocal8Bit(qgetenv("TESSALY_DIST_DIR")));
    }

    // What the dispatcher stores for "ACTION:" (kinds 0, 1, 2, 22) and for a
    // blind request (100, 101).
    void prompt(int kind, float first = 0.0f, float second = 0.0f)
    {
        if (kind == kPromptBigBlind || kind == kPromptSmallBlind) {
            table.promptKind = kind;
            table.showBlindPrompt(first, kind);
            return;
        }
        table.userToAct = 1;
        table.promptKind = kind;
        table.promptSetUp = 0;
        table.bringToFront = 1;
        table.callAmount = kind == kPromptCheckOrBet ? 0.0f : first;
        if (kind == kPromptCheckOrBet)
            table.minRaiseTo = first;
        if (kind == kPromptCallOrRaise)
            table.minRaiseTo = table.raiseToCopy = second;
        table.actionArrived = 1;
    }

    // Forgets what the last case of a table-driven test sent and showed.
    void nextCase(const std::deque<BoxAnswer>& answers = {})
    {
        sender.lines.clear();
        boxes.shown.clear();
        boxes.answers = answers;
        moreChipsCommands = 0;
        rebuyDialogs = 0;
    }

    // The betting steps of one frame, in the window's order.
    void frame()
    {
        options.showStep(table.userSeatedHere == 1);
        bar.promptStep();
        offers.frameStep();
        options.markStep();
    }

    void showActive()
    {
        host.show();
        QApplication::setActiveWindow(&host);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&host));
    }

    // A user aims for longer than the misclick guard holds a button.
    void click(int id)
    {
        now += MisclickGuard::kHoldMs;
        QWidget* control = host.control(id);
        ASSERT_NE(control, nullptr) << id;
        ASSERT_TRUE(control->isVisible()) << id;
        QTest::mouseClick(control, Qt::LeftButton, {}, control->rect().center());
    }

    bool visible(int id) const { return host.control(id) != nullptr && host.control(id)->isVisible(); }
    QString caption(int id) const { return host.control<QAbstractButton>(id)->text(); }
    QSlider* slider() const { return host.trackbar(betting::kRaiseSlider); }
    AmountEdit* box() const { return host.control<AmountEdit>(betting::kAmountBox); }
    QLineEdit* chat() const { return host.edit(kChatInput); }

    // The host's picture, saved when TESSALY_SCREENSHOT_DIR names a folder.
    void screenshot(const QString& name)
    {
        const QString folder = qEnvironmentVariable("TESSALY_SCREENSHOT_DIR");
        if (!folder.isEmpty())
            host.grab().save(QDir(folder).filePath(name));
    }

    bool distFound = inDistDir();
    TableState table;
    RecordingSender sender;
    ScriptedMessageBoxes boxes;
    BettingHost host;
    int moreChipsCommands = 0;
    int rebuyDialogs = 0;
    std::int64_t now = 0;
    BettingContext context{table,
                           kTable,
                           sender,
                           boxes,
                           &host,
                           [this] { return chat(); },
                           [this] { ++moreChipsCommands; },
                           [this] { ++rebuyDialogs; },
                           [this] { return now; }};
    ActionBar bar{host, context};
    BetPresetButtons presets{host, context, bar};
    OptionPanel options{host, context};
    OfferButtons offers{host, context};
};

} // namespace tessaly
