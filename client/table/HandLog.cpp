#include "client/table/HandLog.h"

#include <QPlainTextEdit>
#include <QRect>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include "client/table/TableState.h"
#include "platform/gui/Desktop.h"
#include "platform/sys/QtText.h"

namespace tessaly {

HandLog::HandLog(QWidget& window, const QRect& table, double scale) : view_(new QPlainTextEdit(&window))
{
    paneWidth_ = static_cast<int>(kPaneWidth * scale);
    view_->setGeometry(table.right() + 1, table.top(), paneWidth_, table.height());
    window.resize(window.width() + paneWidth_, window.height());
    view_->setReadOnly(true);
    // A log the user cannot edit has nothing to undo; kept, every dropped
    // hand would also be kept there.
    view_->setUndoRedoEnabled(false);
    view_->setObjectName(QStringLiteral("handLog"));
    view_->setAccessibleName(QStringLiteral("Hand log"));
    view_->setLineWrapMode(QPlainTextEdit::NoWrap);
    view_->setFont(pointFont("Verdana", 8.25));
    view_->setFocusPolicy(Qt::StrongFocus);
}

void HandLog::frameStep(TableState& table)
{
    table.handEvents.drain([this](const HandEvent& event) { append(event); });
}

void HandLog::append(const HandEvent& event)
{
    if (!view_)
        return;
    const bool start = event.kind == HandEventKind::Start;
    if (start && static_cast<int>(handLines_.size()) == kKeptHands)
        dropOldestHand();
    if (start || handLines_.empty())
        handLines_.push_back(0);
    ++handLines_.back();
    // The view follows the newest line unless the user scrolled back.
    QScrollBar* bar = view_->verticalScrollBar();
    const bool atEnd = bar->value() == bar->maximum();
    const int from = bar->value();
    view_->appendPlainText(toQString(start ? "\u2014 " + handEventText(event) + " \u2014" : handEventText(event)));
    bar->setValue(atEnd ? bar->maximum() : from);
}

void HandLog::dropOldestHand()
{
    const int lines = handLines_.front();
    handLines_.pop_front();
    QTextDocument* document = view_->document();
    QTextCursor cursor(document);
    const QTextBlock next = document->findBlockByNumber(lines);
    cursor.setPosition(next.isValid() ? next.position() : document->characterCount() - 1, QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
}

} // namespace tessaly
