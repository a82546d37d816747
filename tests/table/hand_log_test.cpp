#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QPlainTextEdit>
#include <QTextDocument>
#include <QRect>
#include <QWidget>

#include "client/dispatch/Dispatcher.h"
#include "client/dispatch/EffectRecorder.h"
#include "client/table/ClientState.h"
#include "client/table/HandLog.h"
#include "platform/sys/QtText.h"
#include "tests/support/RecordedHands.h"

namespace tessaly {
namespace {

QStringList lines(const HandLog& log) { return log.view()->toPlainText().split(QLatin1Char('\n')); }

// The table area of an 800 x 600 window at scale 1.
const QRect kTable(0, 0, 800, 600);

TEST(HandLog, ShowsEveryEventOfTheHandsAsTheyCome)
{
    QWidget window;
    window.resize(kTable.size());
    HandLog log(window, kTable, 1.0);
    window.show();
    EXPECT_EQ(window.width(), kTable.width() + HandLog::kPaneWidth);
    EXPECT_EQ(log.view()->accessibleName(), QStringLiteral("Hand log"));
    const int visible = log.view()->viewport()->height() / QFontMetrics(log.view()->font()).lineSpacing();
    EXPECT_GE(visible, 12);

    ClientState state;
    EffectRecorder recorder;
    Dispatcher dispatcher(state, {recorder, recorder, recorder, recorder});
    for (const std::string& line : recorded::join(recorded::seating(), recorded::foldToABet().lines))
        dispatcher.dispatchLine(line);
    log.frameStep(state.tables[3]);
    EXPECT_TRUE(state.tables[3].handEvents.waiting().empty());
    const QStringList shown = lines(log);
    ASSERT_EQ(shown.size(), 12) << toUtf8(shown.join('|'));
    EXPECT_EQ(shown.front(), QString::fromUtf8("\u2014 hand 41 \u2014"));
    EXPECT_EQ(shown[3], QStringLiteral("seat 1 (Ann) raises to 0.60"));
    EXPECT_EQ(shown.back(), QStringLiteral("Ann wins 1.40"));
}

TEST(HandLog, KeepsTheLastFiftyHands)
{
    QWidget window;
    HandLog log(window, kTable, 1.0);
    HandEvent start;
    HandEvent fold;
    fold.kind = HandEventKind::Fold;
    fold.seat = 2;
    for (int hand = 1; hand <= HandLog::kKeptHands + 3; ++hand) {
        start.hand = hand;
        log.append(start);
        log.append(fold);
    }
    const QStringList shown = lines(log);
    ASSERT_EQ(shown.size(), 2 * HandLog::kKeptHands);
    EXPECT_EQ(shown.front(), QString::fromUtf8("\u2014 hand 4 \u2014"));
    EXPECT_EQ(shown.back(), QStringLiteral("seat 3 folds"));
    // Dropped hands are gone, not kept for an undo the log never offers.
    EXPECT_EQ(log.view()->document()->availableUndoSteps(), 0);
}

} // namespace
} // namespace tessaly
