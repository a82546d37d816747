#pragma once
// The hand log beside the chat: every event of the table's hands, one line
// each, the last 50 hands kept. Each frame takes the events waiting in the
// table's record, as the chat takes its lines.

#include <QPlainTextEdit>
#include <QPointer>
#include <deque>

class QRect;
class QWidget;

namespace tessaly {

struct HandEvent;
struct TableState;

class HandLog {
public:
    static constexpr int kKeptHands = 50;

    // The log's pane stands to the right of the table, as high as it; the
    // window grows by its width.
    static constexpr int kPaneWidth = 240;

    explicit HandLog(QWidget& window, const QRect& table, double scale);
    HandLog(const HandLog&) = delete;
    HandLog& operator=(const HandLog&) = delete;

    // Moves every waiting event of the record into the log.
    void frameStep(TableState& table);
    // One event, one line; a hand's start begins a new hand and drops the
    // oldest once 50 are kept.
    void append(const HandEvent& event);

    QPlainTextEdit* view() const { return view_; }

private:
    void dropOldestHand();

    QPointer<QPlainTextEdit> view_;
    std::deque<int> handLines_;   // lines of each kept hand, oldest first
};

} // namespace tessaly
